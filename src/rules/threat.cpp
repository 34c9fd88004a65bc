#include "rules/threat.h"

#include <algorithm>
#include <cstring>

#include "rules/combat.h"
#include "rules/reach.h"
#include "state/game.h"
#include "world/unit_kinds.h"

namespace {

bool seen_by_player(const Game& g, const TUnit& u) {
  return on_grid(u.x, u.y) && g.world.vision[kSidePlayer][u.x][u.y] == 1;
}

// Manhattan distance from the nearest cell whose `distance` is 0 (the reachable cells), in two
// sweeps over the grid, held at `cap` + 1 beyond it.
void spread(int32_t (&d)[kMapSize][kMapSize], int32_t cap) {
  const int32_t far = cap + 1;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      int32_t v = d[x][y];
      if (x > 0) v = std::min(v, d[x - 1][y] + 1);
      if (y > 0) v = std::min(v, d[x][y - 1] + 1);
      d[x][y] = std::min(v, far);
    }
  }
  for (int x = kMapSize - 1; x >= 0; --x) {
    for (int y = kMapSize - 1; y >= 0; --y) {
      int32_t v = d[x][y];
      if (x < kMapSize - 1) v = std::min(v, d[x + 1][y] + 1);
      if (y < kMapSize - 1) v = std::min(v, d[x][y + 1] + 1);
      d[x][y] = v;
    }
  }
}

// Marks in `out.distance` (0 reachable, else more than the range) the cells `unit` can strike.
void mark_strikes(const Game& g, const TUnit& unit, ThreatMap& out) {
  const TUnitSpec& stats = g.world.unit_specs[unit.type];
  fill_move_cost(g, stats.move, move_class_of(stats), kRingPlayerUnits, out.cost);
  fill_reach(g, out.cost, unit.x, unit.y, out.reach, out.reach_bucket, out.reach_next);
  const int32_t range = std::max(stats.range, 0);
  const int32_t far = range + 1;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) out.distance[x][y] = out.reach[x][y] <= stats.move ? 0 : far;
  }
  // Its own cell holds a unit, so the search leaves it out; the unit may also stay and shoot.
  out.distance[unit.x][unit.y] = 0;
  spread(out.distance, range);
}

}  // namespace

void fill_threat_map(const Game& g, ThreatMap& out) {
  std::memset(out.cells, 0, sizeof out.cells);
  std::memset(out.hq_in_danger, 0, sizeof out.hq_in_danger);
  out.cell_count = 0;
  // The best hits the seen units could land on each player HQ.
  int64_t blows[kRosterSlots] = {};

  for (const TUnit& unit : g.world.enemy_units) {
    if (!is_enemy_troop(unit.type) || !seen_by_player(g, unit)) continue;
    mark_strikes(g, unit, out);
    const int32_t range = g.world.unit_specs[unit.type].range;
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        if (out.distance[x][y] > range || out.cells[x][y] != 0) continue;
        out.cells[x][y] = 1;
        out.cell_count += 1;
      }
    }
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& hq = g.world.player_units[slot];
      if (hq.type != kPlayerHq || !on_grid(hq.x, hq.y) || out.distance[hq.x][hq.y] > range) {
        continue;
      }
      blows[slot] += best_hit_damage(attack_basis(g, unit, hq));
    }
  }
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& hq = g.world.player_units[slot];
    out.hq_in_danger[slot] = hq.type == kPlayerHq && blows[slot] > 0 && blows[slot] >= hq.hp;
  }
}

uint64_t threat_board_key(const Game& g) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a over the figures
  const auto mix = [&h](int64_t v) {
    for (int i = 0; i < 8; ++i) {
      h ^= static_cast<uint64_t>(v >> (8 * i)) & 0xff;
      h *= 1099511628211ull;
    }
  };
  for (const TUnit* roster : {g.world.player_units, g.world.enemy_units}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster[slot];
      mix(u.type);
      mix(u.x);
      mix(u.y);
      mix(u.hp);
    }
  }
  for (const TUnit& u : g.world.enemy_units) mix(seen_by_player(g, u) ? 1 : 0);
  return h;
}
