// The plain depth-first relaxation of the reach grid, kept as the yardstick the fast
// compute_reach is measured against (tests and benchmark only). It revisits cells many times and
// recurses once per cell on a walk, up to some 3844 levels deep.
#pragma once

#include <cstdint>

#include "rules/reach.h"
#include "state/game.h"

namespace reference {

// Enters (x, y) with the value of the cell it was entered from, then every neighbour that gets
// cheaper through it, at once, in the order (x, y+1), (x+1, y), (x, y-1), (x-1, y).
inline void relax_reach(Game& g, int x, int y, int64_t base) {
  auto& reach = g.rules.reach;
  const auto& cost = g.rules.move_cost;
  const auto step = [&](int cx, int cy) -> int64_t { return cost[cx][cy] > 0 ? cost[cx][cy] : 0; };
  const int64_t v = step(x, y) + base;
  reach[x][y] = static_cast<int32_t>(v);
  const int next[4][2] = {{x, y + 1}, {x + 1, y}, {x, y - 1}, {x - 1, y}};
  for (const auto& n : next) {
    if (!on_grid(n[0], n[1])) continue;
    if (reach[n[0]][n[1]] > step(n[0], n[1]) + v) relax_reach(g, n[0], n[1], v);
  }
}

inline void compute_reach(Game& g, int x, int y) {
  auto& reach = g.rules.reach;
  for (auto& column : reach) {
    for (int32_t& cell : column) cell = kNone;
  }
  const auto border = [&](int32_t value) {
    for (int i = 0; i < kMapSize; ++i) {
      reach[0][i] = value;
      reach[kMapSize - 1][i] = value;
    }
    for (int i = 0; i < kMapSize; ++i) {
      reach[i][0] = value;
      reach[i][kMapSize - 1] = value;
    }
  };
  const auto occupied = [&](int32_t value) {
    for (const TUnit& u : g.world.player_units) {
      if (u.type >= 1 && u.type <= 11 && on_grid(u.x, u.y)) reach[u.x][u.y] = value;
    }
    for (const TUnit& u : g.world.enemy_units) {
      if (u.type >= 12 && u.type <= 25 && on_grid(u.x, u.y)) reach[u.x][u.y] = value;
    }
  };
  border(0);
  occupied(0);
  if (on_grid(x, y)) {
    const int64_t own = g.rules.move_cost[x][y] > 0 ? g.rules.move_cost[x][y] : 0;
    relax_reach(g, x, y, -own);
  }
  occupied(kNone);
  border(kNone);
}

}  // namespace reference
