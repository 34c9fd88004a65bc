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

// A rectangle of cells, both corners included.
struct Box {
  int x0, y0, x1, y1;
  bool holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// Manhattan distance inside `box` from the nearest cell whose `d` is 0, in two sweeps, held at
// `cap` + 1 beyond it. A shortest way between two cells of a rectangle stays inside it, so the
// distances up to `cap` are exact when the box reaches `cap` beyond every cell of distance 0.
void spread(int32_t (&d)[kMapSize][kMapSize], const Box& box, int32_t cap) {
  const int32_t far = cap + 1;
  for (int x = box.x0; x <= box.x1; ++x) {
    for (int y = box.y0; y <= box.y1; ++y) {
      int32_t v = d[x][y];
      if (x > box.x0) v = std::min(v, d[x - 1][y] + 1);
      if (y > box.y0) v = std::min(v, d[x][y - 1] + 1);
      d[x][y] = std::min(v, far);
    }
  }
  for (int x = box.x1; x >= box.x0; --x) {
    for (int y = box.y1; y >= box.y0; --y) {
      int32_t v = d[x][y];
      if (x < box.x1) v = std::min(v, d[x + 1][y] + 1);
      if (y < box.y1) v = std::min(v, d[x][y + 1] + 1);
      d[x][y] = v;
    }
  }
}

// The cells `unit` can strike: in `out.distance`, within the returned box, the distance from the
// nearest cell it can reach, at most its range for a cell it can strike. Outside the box it
// strikes nothing.
Box mark_strikes(const Game& g, const TUnit& unit, ThreatMap& out) {
  const TUnitSpec& stats = g.world.unit_specs[unit.type];
  fill_move_cost(g, stats.move, move_class_of(stats), kRingPlayerUnits, out.cost);
  fill_reach(g, out.cost, unit.x, unit.y, out.reach, out.reach_bucket, out.reach_next, stats.move);
  // Its own cell holds a unit, so the search leaves it out; the unit may also stay and shoot.
  Box reached{unit.x, unit.y, unit.x, unit.y};
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (out.reach[x][y] > stats.move) continue;
      reached.x0 = std::min(reached.x0, x);
      reached.x1 = std::max(reached.x1, x);
      reached.y0 = std::min(reached.y0, y);
      reached.y1 = std::max(reached.y1, y);
    }
  }
  const int32_t range = std::max(stats.range, 0);
  const int wide = std::min(range, kMapSize);
  const Box box{std::max(reached.x0 - wide, 0), std::max(reached.y0 - wide, 0),
                std::min(reached.x1 + wide, kMapSize - 1),
                std::min(reached.y1 + wide, kMapSize - 1)};
  for (int x = box.x0; x <= box.x1; ++x) {
    for (int y = box.y0; y <= box.y1; ++y) {
      out.distance[x][y] = out.reach[x][y] <= stats.move ? 0 : range + 1;
    }
  }
  out.distance[unit.x][unit.y] = 0;
  spread(out.distance, box, range);
  return box;
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
    const Box box = mark_strikes(g, unit, out);
    const int32_t range = g.world.unit_specs[unit.type].range;
    for (int x = box.x0; x <= box.x1; ++x) {
      for (int y = box.y0; y <= box.y1; ++y) {
        if (out.distance[x][y] > range || out.cells[x][y] != 0) continue;
        out.cells[x][y] = 1;
        out.cell_count += 1;
      }
    }
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& hq = g.world.player_units[slot];
      if (hq.type != kPlayerHq || !box.holds(hq.x, hq.y) || out.distance[hq.x][hq.y] > range) {
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
