#include "rules/reach.h"

#include "rules/terrain_code.h"
#include "state/game.h"
#include "world/unit_kinds.h"

namespace {

bool hinders(const TUnitSpec& stats, int move_class) {
  if (move_class == kMoveClassAir) return stats.attack_air > 0;
  return stats.attack_soft + stats.attack_armor > 0;
}

// Marks (or, with `value` 65535, unmarks) the cells that hold a unit of either side: a walk never
// enters them.
void mark_occupied(const Game& g, CostGrid& reach, int32_t value) {
  for (const TUnit& u : g.world.player_units) {
    if (is_player_type(u.type) && on_grid(u.x, u.y)) reach[u.x][u.y] = value;
  }
  for (const TUnit& u : g.world.enemy_units) {
    if (is_enemy_type(u.type) && on_grid(u.x, u.y)) reach[u.x][u.y] = value;
  }
}

void mark_border(CostGrid& reach, int32_t value) {
  for (int i = 0; i < kMapSize; ++i) {
    reach[0][i] = value;
    reach[kMapSize - 1][i] = value;
  }
  for (int i = 0; i < kMapSize; ++i) {
    reach[i][0] = value;
    reach[i][kMapSize - 1] = value;
  }
}

// Cells are settled in rising order of reach from one bucket per value. Entering a cell costs
// the same from whichever side, so the first time a cell is reached, from the cheapest of its
// settled neighbours, is already its least cost: each cell is queued at most once, and each
// bucket is a plain stack linked through the cells.
void settle_reach(const CostGrid& cost, int sx, int sy, CostGrid& reach,
                  uint16_t (&bucket)[kReachBuckets], uint16_t (&next)[kMapCells], int32_t limit) {
  int queued = 0;
  const auto push = [&](int cell, int value) {
    next[cell] = bucket[value];
    bucket[value] = static_cast<uint16_t>(cell + 1);
    ++queued;
  };

  reach[sx][sy] = 0;
  push(sx * kMapSize + sy, 0);
  for (int now = 0; queued > 0; ++now) {
    if (now > limit) {
      // Past the limit nothing more is settled; the cells still waiting keep the cost they were
      // found at, which lies above it, and the stacks are emptied for the next search.
      for (int rest = now; queued > 0; ++rest) {
        while (bucket[rest] != 0) {
          bucket[rest] = next[bucket[rest] - 1];
          --queued;
        }
      }
      return;
    }
    // Cells of cost 0 join the bucket being emptied.
    while (bucket[now] != 0) {
      const int cell = bucket[now] - 1;
      bucket[now] = next[cell];
      --queued;
      const int x = cell / kMapSize;
      const int y = cell % kMapSize;
      static constexpr int kDx[4] = {0, 1, 0, -1};
      static constexpr int kDy[4] = {1, 0, -1, 0};
      for (int k = 0; k < 4; ++k) {
        const int nx = x + kDx[k];
        const int ny = y + kDy[k];
        if (!on_grid(nx, ny)) continue;
        const int64_t step = cost[nx][ny] > 0 ? cost[nx][ny] : 0;
        const int64_t total = step + now;
        // Reach never rises above 65535, so a total of 65535 or more is never taken and every
        // bucket index stays below kReachBuckets. Border and occupied cells hold 0 and are
        // never entered.
        if (reach[nx][ny] > total) {
          reach[nx][ny] = static_cast<int32_t>(total);
          push(nx * kMapSize + ny, static_cast<int>(total));
        }
      }
    }
  }
}

}  // namespace

void fill_move_cost(const Game& g, int move, int move_class, int ring_side, CostGrid& cost) {
  if (move_class != kMoveClassAir && move_class != kMoveClassGround) return;
  const auto& terrain = g.world.terrain_specs;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const TTerrainSpec& t = terrain[rules_terrain_code(g, x, y)];
      if (move_class == kMoveClassAir) {
        cost[x][y] = t.air_cost;
      } else {
        cost[x][y] = t.ground_cost == kWholeMove ? move : t.ground_cost;
      }
    }
  }

  const TUnit* roster = ring_side == kRingEnemyUnits ? g.world.enemy_units : g.world.player_units;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& u = roster[slot];
    // A type outside the table (a damaged roster) hinders nobody.
    if (u.type == 0 || !is_table_row(u.type)) continue;
    if (!hinders(g.world.unit_specs[u.type], move_class)) continue;
    const int ring[4][2] = {{u.x, u.y + 1}, {u.x + 1, u.y}, {u.x, u.y - 1}, {u.x - 1, u.y}};
    for (const auto& c : ring) {
      if (on_grid(c[0], c[1])) cost[c[0]][c[1]] = move;
    }
  }
}

void fill_reach(const Game& g, const CostGrid& cost, int x, int y, CostGrid& reach,
                uint16_t (&bucket)[kReachBuckets], uint16_t (&next)[kMapCells]) {
  fill_reach(g, cost, x, y, reach, bucket, next, kNone);
}

void fill_reach(const Game& g, const CostGrid& cost, int x, int y, CostGrid& reach,
                uint16_t (&bucket)[kReachBuckets], uint16_t (&next)[kMapCells], int32_t limit) {
  for (auto& column : reach) {
    for (int32_t& cell : column) cell = kNone;
  }
  // Border and occupied cells start at 0, the lowest value, so no walk ever enters them.
  mark_border(reach, 0);
  mark_occupied(g, reach, 0);
  if (on_grid(x, y)) settle_reach(cost, x, y, reach, bucket, next, limit);
  mark_occupied(g, reach, kNone);
  mark_border(reach, kNone);
}

void build_move_cost(Game& g, int move, int move_class, int ring_side) {
  fill_move_cost(g, move, move_class, ring_side, g.rules.move_cost);
}

void compute_reach(Game& g, int x, int y) {
  fill_reach(g, g.rules.move_cost, x, y, g.rules.reach, g.rules.reach_bucket, g.rules.reach_next);
}

bool within_move(const Game& g, int x, int y, int move) {
  return on_grid(x, y) && g.rules.reach[x][y] <= move;
}
