// Small cell helpers that the built-in player's searches, odds and plans share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "state/game.h"
#include "world/tables.h"

namespace bot_cells {

constexpr int kDx[4] = {0, 1, 0, -1};
constexpr int kDy[4] = {1, 0, -1, 0};

constexpr int32_t kImpassable = 65535;
constexpr int32_t kFullMoveCost = 255;  // a ground cost that stands for the mover's whole move

// Inside the map's outer ring, where units stand.
inline bool inside_map(int x, int y) {
  return x >= 1 && x <= kMapSize - 2 && y >= 1 && y <= kMapSize - 2;
}

inline int32_t distance(int ax, int ay, int bx, int by) {
  return std::abs(ax - bx) + std::abs(ay - by);
}

// The terrain cost of a cell for a ground unit (air false) or an aircraft with `move` points.
inline int32_t terrain_cost(const Game& g, int x, int y, bool air, int32_t move) {
  const TTerrainSpec& t = g.world.terrain_specs[terrain_at(g, x, y)];
  if (air) return t.air_cost;
  if (t.ground_cost == kFullMoveCost) return move;
  return t.ground_cost;
}

// The cover a cell gives; the filler without terrain gives none.
inline int32_t terrain_defense(const Game& g, int x, int y) {
  const int32_t d = g.world.terrain_specs[terrain_at(g, x, y)].defense;
  return d >= kImpassable ? 0 : d;
}

// Every cell inside the map's ring within `move` steps of (ux, uy), column by column.
template <typename Visit>
void for_each_cell_within(int ux, int uy, int move, Visit visit) {
  for (int x = std::max(1, ux - move); x <= std::min(kMapSize - 2, ux + move); ++x) {
    const int span = move - std::abs(x - ux);
    for (int y = std::max(1, uy - span); y <= std::min(kMapSize - 2, uy + span); ++y) visit(x, y);
  }
}

}  // namespace bot_cells
