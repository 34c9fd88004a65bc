#include "world/production.h"

#include "state/game.h"
#include "world/roster.h"
#include "world/tables.h"

int32_t unit_price(const Game& g, int type) {
  const TUnitSpec& stats = g.world.unit_specs[type];
  return stats.cost * (stats.count + 1);
}

bool deploy_neighbour(int x, int y, int dir, int* nx, int* ny) {
  switch (dir) {
    case kDeployUp:
      *nx = x, *ny = y - 1;
      return true;
    case kDeployRight:
      *nx = x + 1, *ny = y;
      return true;
    case kDeployDown:
      *nx = x, *ny = y + 1;
      return true;
    case kDeployLeft:
      *nx = x - 1, *ny = y;
      return true;
    default:
      return false;
  }
}

bool is_free_deploy_cell(const Game& g, int x, int y) {
  if (x < 1 || x > kMapSize - 2 || y < 1 || y > kMapSize - 2) return false;
  const int terrain = terrain_at(g, x, y);
  return terrain >= 4 && terrain <= 11 && g.world.occupancy[x][y] == kNoUnit;
}

void free_neighbours(const Game& g, int x, int y, bool available[4]) {
  for (int dir = kDeployUp; dir <= kDeployLeft; ++dir) {
    int nx = 0;
    int ny = 0;
    deploy_neighbour(x, y, dir, &nx, &ny);
    available[dir - 1] = is_free_deploy_cell(g, nx, ny);
  }
}

int deploy_dir_at(const Game& g, int x, int y) {
  bool available[4];
  free_neighbours(g, x, y, available);
  const int px = g.input.cursor_x;
  const int py = g.input.cursor_y;
  int dir_found = kDeployNone;
  bool any = false;
  for (int dir = kDeployUp; dir <= kDeployLeft; ++dir) {
    if (!available[dir - 1]) continue;
    any = true;
    int nx = 0;
    int ny = 0;
    deploy_neighbour(x, y, dir, &nx, &ny);
    const int left = 32 * (nx - g.view.view_x);
    const int top = 32 * (ny - g.view.view_y);
    // Strict: the outline's own first row and column do not count as inside.
    if (left < px && px < left + 32 && top < py && py < top + 32) dir_found = dir;
  }
  return any ? dir_found : kDeployWalledIn;
}

void charge_hq(Game& g, int side, int32_t amount) {
  WorldState& w = g.world;
  TUnit* roster = roster_of(g, side);
  w.selected_unit.sp -= amount;
  w.selected_unit.ready = 0;
  if (w.selected_slot >= 0 && w.selected_slot < kRosterSlots)
    roster[w.selected_slot] = w.selected_unit;
  const int hq_type = side == kSidePlayer ? kPlayerHq : kEnemyHq;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    if (roster[slot].type == hq_type) roster[slot].sp = w.selected_unit.sp;
  }
}

int32_t produce_unit(Game& g, int type, int dir) {
  int nx = 0;
  int ny = 0;
  if (!deploy_neighbour(g.world.selected_unit.x, g.world.selected_unit.y, dir, &nx, &ny)) {
    return kNoSlot;
  }
  const int32_t slot = add_unit(g, nx, ny, type, kSidePlayer, default_hp);
  if (slot == kNoSlot) return kNoSlot;
  // The count now includes the new unit: this is the price the list showed.
  const TUnitSpec& stats = g.world.unit_specs[type];
  charge_hq(g, kSidePlayer, stats.cost * stats.count);
  return slot;
}

int32_t repair_unit(Game& g, int side, int slot) {
  TUnit& unit = roster_of(g, side)[slot];
  const int32_t full = g.world.unit_specs[unit.type].max_hp;
  const int32_t step = full / 5;
  if (unit.hp + step > full) {
    const int32_t amount = full - unit.hp;
    unit.hp = full;
    return amount;
  }
  unit.hp += step;
  return step;
}

void repair_at_hqs(Game& g, int side) {
  WorldState& w = g.world;
  for (HealEntry& entry : w.heal_list) entry = HealEntry{kNone, kNone, kNone};
  // The last entry always stays the end marker.
  int n = 0;
  const auto note = [&](int x, int y, int32_t amount) {
    if (n < kHealEntries - 1) w.heal_list[n++] = HealEntry{x, y, amount};
  };

  const TUnit* roster = roster_of(g, side);
  const int hq_type = side == kSidePlayer ? kPlayerHq : kEnemyHq;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    if (roster[slot].type != hq_type) continue;
    const int x = roster[slot].x;
    const int y = roster[slot].y;
    note(x, y, repair_unit(g, side, slot));
    const int around[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
    for (const auto& cell : around) {
      const int cx = cell[0];
      const int cy = cell[1];
      if (cx < 0 || cx >= kMapSize || cy < 0 || cy >= kMapSize) continue;
      const int o = w.occupancy[cx][cy];
      if (o == kNoUnit) continue;
      const bool player_unit = o < kEnemyOccupancyBase;
      if (player_unit != (side == kSidePlayer)) continue;
      const int own_slot = player_unit ? o : o - kEnemyOccupancyBase;
      if (own_slot >= kRosterSlots) continue;
      const TUnit& unit = roster[own_slot];
      const int32_t amount = repair_unit(g, side, own_slot);
      note(unit.x, unit.y, amount);
    }
  }
}
