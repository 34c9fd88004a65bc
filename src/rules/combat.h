// Attack ranges, target lists, the pair sort and the two attack routines.
#pragma once

#include <cstdint>

#include "state/rules_state.h"

struct Game;

// Which attack value of the attacker a target meets, by the target's unit type.
enum class TargetClass {
  kNone,   // not a unit type (0, the spare rows, anything outside the table)
  kSoft,   // player 1 to 6, enemy 12 to 17 and 23 to 25
  kArmor,  // player 7 to 9, enemy 18 to 20
  kAir,    // player 10 and 11, enemy 21 and 22
};

TargetClass target_class(int type);
// attack_soft, attack_armor or attack_air of `attacker` against a unit of `target_type`; 0 for
// a type that is no unit.
int32_t attack_value(const TUnitSpec& attacker, int target_type);
// Aircraft meet the target's air defence and ignore its terrain.
bool is_aircraft_attacker(int type);
// Infantry take HQs at double damage; every other attacker at half.
bool is_infantry_attacker(int type);
bool is_hq_type(int type);

// |ax - bx| + |ay - by|.
int32_t cell_distance(int ax, int ay, int bx, int by);

// Sets every pair_list record to the cleared record: slots and distance 65535, cells 0.
void clear_pair_list(Game& g);

// Fills attack_range around (x, y) (0 within `range`, 65535 elsewhere), lists the enemy units in
// range in enemy_candidates, puts (slot, x, y) in player_candidates entry 0 and pairs it with
// every enemy candidate in pair_list, nearest first.
void list_player_targets(Game& g, int x, int y, int slot, int range);
// The same for the enemy unit in `slot`: player units in range go to player_candidates, the
// attacker to enemy_candidates entry 0.
void list_enemy_targets(Game& g, int x, int y, int slot, int range);

// Sorts pair_list entries lo to hi by distance, a quicksort with the first entry as pivot whose
// order of equal distances is part of the game (the computer attacks the first pair). Leaves
// the last pivot in sort_pivot and the last exchanged entry in sort_swap. lo and hi are held
// to 0..99.
void sort_pairs(Game& g, int lo, int hi);

// Player unit in slot p attacks enemy unit in slot e: returns the damage dealt (0 or more) or
// MISS, lowers the target's hp and sets last_target. Draws five or six random numbers. A slot
// outside 0..59 or one that holds no unit (type 0 or outside 1..25) makes no attack: 65535, no
// draws, nothing changed.
int32_t player_attack(Game& g, int p, int e);

// Enemy unit in slot e attacks the nearest player unit within its range (the first pair after
// list_enemy_targets). Returns the damage, MISS, or 65535 with no draws when no player unit is
// in range. A slot outside 0..59 or one holding no unit returns 65535 and changes nothing.
int32_t enemy_attack(Game& g, int e);
