// The kinds of unit, by row of the unit-type table. A unit record keeps only its row, and every
// rule that depends on what a unit is tests the row against these groups, so the groups are
// written here once and every layer asks them by name.
//
// Rows 1 to 11 are the player's side, 12 to 22 the enemy's mirror of them (the same figures,
// eleven rows on), 23 to 25 the enemy's extras placed by the map and the reserve rule; row 0 is
// the empty slot and rows 26 to 33 are spare rows that no unit ever has.
#pragma once

#include "state/world_state.h"

// The rows that code names one by one. kPlayerHq (1) and kEnemyHq (12) live with the state,
// which the stage set-up and the rosters share. An enemy row is the player's row of the same
// kind plus kEnemyRowOffset.
enum UnitTypeRow : int32_t {
  kPlayerScout = 2,
  kPlayerAssault,
  kPlayerRiflemen,
  kPlayerAntiTank,
  kPlayerArtillery,
  kPlayerSelfPropelledGun,
  kPlayerAntiAir,
  kPlayerTank,
  kPlayerBomber,
  kPlayerFighter,
  kEnemyRowOffset = kEnemyHq - kPlayerHq,
  kEnemyScout = kPlayerScout + kEnemyRowOffset,
  kEnemyFighter = kPlayerFighter + kEnemyRowOffset,
  kEnemyPosition,  // dug in, placed only from the map
  kEnemySquad,     // the reserves the reserve rule places...
  kEnemyAce,       // ...and the one heavy tank at their head
  kLastUnitRow = kEnemyAce,
};

// Any row of the table, the spare rows and row 0 included: safe to look up, not always a unit.
constexpr bool is_table_row(int type) {
  return type >= 0 && type < kUnitSpecRows;
}
// Rows 1 to 25: a unit of either side. Row 0 is an empty slot, rows 26 to 33 are spare.
constexpr bool is_unit_type(int type) {
  return type >= kPlayerHq && type <= kLastUnitRow;
}
constexpr bool is_hq_type(int type) {
  return type == kPlayerHq || type == kEnemyHq;
}

// Rows 1 to 11: the player's side, its HQ included (what blocks a walk, what gives the player
// sight, what the enemy can shoot at).
constexpr bool is_player_type(int type) {
  return type >= kPlayerHq && type <= kPlayerFighter;
}
// Rows 2 to 11: the player's units other than its HQ. They are also exactly what the player's
// HQs produce, in the order of the production list.
constexpr bool is_player_troop(int type) {
  return type >= kPlayerScout && type <= kPlayerFighter;
}
// Rows 12 to 25: the enemy's side, its HQ, position and reserves included.
constexpr bool is_enemy_type(int type) {
  return type >= kEnemyHq && type <= kLastUnitRow;
}
// Rows 13 to 25: the enemy's units other than its HQ, the ones that act in its turn.
constexpr bool is_enemy_troop(int type) {
  return type >= kEnemyScout && type <= kLastUnitRow;
}
// Rows 13 to 22: the enemy's mirror of the player's troops, the only types its HQs produce.
// The position and the reserves are not among them.
constexpr bool is_enemy_produced(int type) {
  return type >= kEnemyScout && type <= kEnemyFighter;
}
// Whose units open the fog for `side`: the player's whole side; the enemy's HQs and produced
// types, never its position or reserves.
constexpr bool gives_sight(int side, int type) {
  return side == kSidePlayer ? is_player_type(type) : type == kEnemyHq || is_enemy_produced(type);
}

// The kind of a unit on either side: its row folded onto the player's rows 1 to 11. The
// enemy's extras and every other row have none (0).
constexpr int mirror_kind(int type) {
  if (is_player_type(type)) return type;
  if (type >= kEnemyHq && type <= kEnemyFighter) return type - kEnemyRowOffset;
  return 0;
}
// Scouts, assault infantry and riflemen: the attackers that take HQs at double damage.
constexpr bool is_infantry(int type) {
  const int kind = mirror_kind(type);
  return kind >= kPlayerScout && kind <= kPlayerRiflemen;
}
// Bombers and fighters: they fly, meet the air defence of a target and ignore its terrain.
constexpr bool is_aircraft(int type) {
  const int kind = mirror_kind(type);
  return kind == kPlayerBomber || kind == kPlayerFighter;
}

// Which attack value of an attacker a target meets, by the target's row.
enum class TargetClass {
  kNone,   // not a unit (0, the spare rows, anything outside the table)
  kSoft,   // HQs, infantry and guns: player 1 to 6, enemy 12 to 17 and 23 to 25
  kArmor,  // self-propelled guns, AA guns and tanks: player 7 to 9, enemy 18 to 20
  kAir,    // aircraft: player 10 and 11, enemy 21 and 22
};
constexpr TargetClass target_class(int type) {
  if (type >= kEnemyPosition && type <= kLastUnitRow) return TargetClass::kSoft;
  const int kind = mirror_kind(type);
  if (kind >= kPlayerHq && kind <= kPlayerArtillery) return TargetClass::kSoft;
  if (kind >= kPlayerSelfPropelledGun && kind <= kPlayerTank) return TargetClass::kArmor;
  if (kind == kPlayerBomber || kind == kPlayerFighter) return TargetClass::kAir;
  return TargetClass::kNone;
}
