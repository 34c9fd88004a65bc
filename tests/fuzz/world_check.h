// What the fuzz targets that build a world from a file check of it: every index the rules take
// from it stays within its table, the occupancy layer names the units where they stand, the outer
// ring stays unseen and the reserve list keeps its end marker. A broken one aborts with `target`
// and what broke.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "state/game.h"
#include "world/roster.h"

namespace fuzz_world {

[[noreturn]] inline void fault(const char* target, const char* what, int a = 0, int b = 0) {
  std::fprintf(stderr, "%s fuzz: %s (%d, %d)\n", target, what, a, b);
  std::abort();
}

inline void check_world(const char* target, const Game& g) {
  const WorldState& w = g.world;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (w.terrain_layer[x][y] < 0 || w.terrain_layer[x][y] >= kTerrainRows) {
        fault(target, "terrain code without a table row", x, y);
      }
      const int o = w.occupancy[x][y];
      if (o == kNoUnit) continue;
      const bool player = o < kEnemyOccupancyBase;
      const int slot = player ? o : o - kEnemyOccupancyBase;
      if (slot >= kRosterSlots) fault(target, "occupancy names no slot", x, y);
      const TUnit& u = roster_of(g, player ? kSidePlayer : kSideEnemy)[slot];
      if (u.x != x || u.y != y) fault(target, "occupancy names a unit standing elsewhere", x, y);
    }
  }
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster_of(g, side)[slot];
      if (u.type == 0) continue;
      if (u.type < 0 || u.type > 25) fault(target, "unit of no type", side, slot);
      if (u.x < 1 || u.x > 62 || u.y < 1 || u.y > 62) {
        fault(target, "unit off the inner map", side, slot);
      }
      if (u.terrain < 0 || u.terrain >= kTerrainRows)
        fault(target, "unit on no terrain", side, slot);
      if (u.hp < 0 || u.hp > w.unit_specs[u.type].max_hp) fault(target, "hit points", side, slot);
    }
  }
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int x = 0; x < kMapSize; ++x) {
      for (int ring : {0, kMapSize - 1}) {
        if (w.vision[side][x][ring] != 0 || w.vision[side][ring][x] != 0) {
          fault(target, "ring seen", x);
        }
      }
    }
  }
  if (w.reserve_points[kReservePoints - 1].x != kNone) {
    fault(target, "reserve list lost its end marker");
  }
  if (g.view.view_x < 0 || g.view.view_x > 44 || g.view.view_y < 0 || g.view.view_y > 49) {
    fault(target, "view off the map", g.view.view_x, g.view.view_y);
  }
}

}  // namespace fuzz_world
