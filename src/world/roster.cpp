#include "world/roster.h"

#include "state/game.h"
#include "view/map_view.h"
#include "world/tables.h"
#include "world/unit_kinds.h"
#include "world/vision.h"

TUnit* roster_of(Game& g, int side) {
  return side == kSidePlayer ? g.world.player_units : g.world.enemy_units;
}

const TUnit* roster_of(const Game& g, int side) {
  return side == kSidePlayer ? g.world.player_units : g.world.enemy_units;
}

bool slot_is_free(const TUnit& unit) {
  return unit.x == 0 || unit.y == 0;
}

int32_t add_unit(Game& g, int x, int y, int type, int side, int hp) {
  WorldState& w = g.world;
  TUnit* roster = roster_of(g, side);
  int slot = 0;
  while (slot < kRosterSlots && !slot_is_free(roster[slot])) ++slot;
  // A full roster keeps every unit it holds; the caller places nothing.
  if (slot == kRosterSlots) return kNoSlot;

  const TUnitSpec& stats = w.unit_specs[type];
  TUnit& unit = roster[slot];
  unit.type = type;
  unit.x = x;
  unit.y = y;
  unit.hp = hp == default_hp ? stats.max_hp : hp;
  unit.sp = stats.max_sp;
  if (side == kSidePlayer && type == kPlayerHq)
    unit.sp = lowest_of(stats.max_sp, w.player_start_sp);
  if (side != kSidePlayer && type == kEnemyHq) unit.sp = lowest_of(stats.max_sp, w.enemy_start_sp);
  unit.status = 1;
  unit.ready = 1;
  w.unit_specs[type].count += 1;

  // The redraw also rebuilds occupancy and vision: later placements in the same pass see this unit.
  redraw(g);
  return slot;
}

// The highest SP among the HQs of one roster, 0 when it holds none.
static int32_t highest_hq_sp(const TUnit* roster, int hq_type) {
  int32_t best = 0;
  bool found = false;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    if (roster[slot].type != hq_type) continue;
    if (!found || roster[slot].sp > best) best = roster[slot].sp;
    found = true;
  }
  return best;
}

// One side's pass of remove_destroyed: the HQs it loses go to the other side.
static void remove_destroyed_of(Game& g, int side) {
  TUnit* roster = roster_of(g, side);
  const int own_hq = side == kSidePlayer ? kPlayerHq : kEnemyHq;
  const int other_side = side == kSidePlayer ? kSideEnemy : kSidePlayer;
  const int other_hq = side == kSidePlayer ? kEnemyHq : kPlayerHq;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    TUnit& unit = roster[slot];
    if (unit.hp > 0) continue;
    if (unit.type == own_hq) {
      // The captured HQ joins the shared purse of its new side, taken before it is placed.
      const int32_t sp = highest_hq_sp(roster_of(g, other_side), other_hq);
      const int32_t taken = add_unit(g, unit.x, unit.y, other_hq, other_side, 1);
      if (taken != kNoSlot) roster_of(g, other_side)[taken].sp = sp;
    }
    unit = TUnit{};
  }
}

void remove_destroyed(Game& g) {
  remove_destroyed_of(g, kSidePlayer);
  remove_destroyed_of(g, kSideEnemy);
  recount_types(g);
}

static bool on_inner_map(int x, int y) {
  return x >= 1 && x < kMapSize - 1 && y >= 1 && y < kMapSize - 1;
}

void rebuild_occupancy(Game& g) {
  WorldState& w = g.world;
  for (auto& column : w.occupancy) {
    for (uint8_t& cell : column) cell = kNoUnit;
  }
  // Enemy units are entered last, so on a shared cell they hide a player unit.
  for (int side : {kSidePlayer, kSideEnemy}) {
    TUnit* roster = roster_of(g, side);
    const int base = side == kSidePlayer ? 0 : kEnemyOccupancyBase;
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      TUnit& unit = roster[slot];
      // Units on the outer ring (or, in a damaged state, off the map) are never entered.
      if (!on_inner_map(unit.x, unit.y)) continue;
      w.occupancy[unit.x][unit.y] = static_cast<uint8_t>(base + slot);
      unit.terrain = terrain_at(g, unit.x, unit.y);
    }
  }
}

void deploy_reserves(Game& g) {
  for (const TUnit& unit : g.world.enemy_units) {
    if (is_enemy_produced(unit.type)) return;
  }
  const CellPoint* points = g.world.reserve_points;
  if (points[0].x != kNone)
    add_unit(g, points[0].x, points[0].y, kEnemyAce, kSideEnemy, default_hp);
  for (int entry = 1; entry < kReservePoints && points[entry].x != kNone; ++entry) {
    add_unit(g, points[entry].x, points[entry].y, kEnemySquad, kSideEnemy, default_hp);
  }
}

int32_t lowest_of(int32_t a, int32_t b) {
  return a < b ? a : b;
}

void clear_rosters(Game& g) {
  for (TUnit& unit : g.world.player_units) unit = TUnit{};
  for (TUnit& unit : g.world.enemy_units) unit = TUnit{};
}
