#include "world/vision.h"

#include "state/game.h"
#include "world/unit_kinds.h"

void build_sight_stencils(Game& g) {
  auto& masks = g.world.sight_stencils;
  for (auto& mask : masks) {
    for (auto& row : mask) {
      for (int32_t& cell : row) cell = 0;
    }
  }
  constexpr int kCentre = kStencilSize / 2;
  // Distances spread outwards from the centre, one step per sweep; the sweeps read the mask
  // while writing it, exactly as the stencils were first made.
  for (int r = 1; r < kStencils; ++r) {
    auto& mask = masks[r];
    for (int sweep = 0; sweep < r + 1; ++sweep) {
      mask[kCentre][kCentre] = r;
      for (int i = 0; i < kStencilSize; ++i) {
        for (int j = 0; j < kStencilSize; ++j) {
          if (mask[i][j] != 0) continue;
          const int above = i > 0 ? mask[i - 1][j] : 0;
          const int below = i + 1 < kStencilSize ? mask[i + 1][j] : 0;
          const int left = j > 0 ? mask[i][j - 1] : 0;
          const int right = j + 1 < kStencilSize ? mask[i][j + 1] : 0;
          for (int v : {above, below, left, right}) {
            if (v > mask[i][j]) mask[i][j] = v - 1;
          }
        }
      }
    }
  }
  for (auto& mask : masks) {
    for (auto& row : mask) {
      for (int32_t& cell : row) cell = cell != 0 ? 1 : 0;
    }
  }
}

void clear_vision(Game& g, int side) {
  if (side != kSidePlayer && side != kSideEnemy) return;
  for (auto& column : g.world.vision[side]) {
    for (int32_t& cell : column) cell = 0;
  }
}

void mark_sight(Game& g, int x, int y, int r, int side) {
  if (side != kSidePlayer && side != kSideEnemy) return;
  if (r < 0 || r >= kStencils) return;
  constexpr int kCentre = kStencilSize / 2;
  const auto& mask = g.world.sight_stencils[r];
  auto& grid = g.world.vision[side];
  // Mask r is zero beyond r - 1 steps from its centre, so only that square is visited.
  const int first = kCentre - r < 0 ? 0 : kCentre - r;
  const int last = kCentre + r >= kStencilSize ? kStencilSize - 1 : kCentre + r;
  for (int i = first; i <= last; ++i) {
    const int my = y + i - kCentre;
    if (my < 1 || my > kMapSize - 2) continue;
    for (int j = first; j <= last; ++j) {
      const int mx = x + j - kCentre;
      if (mx < 1 || mx > kMapSize - 2) continue;
      if (mask[i][j] == 1) grid[mx][my] = 1;
    }
  }
}

void update_vision(Game& g, int side) {
  if (side != kSidePlayer && side != kSideEnemy) return;
  clear_vision(g, side);
  const bool player = side == kSidePlayer;
  const TUnit* roster = player ? g.world.player_units : g.world.enemy_units;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& unit = roster[slot];
    if (!gives_sight(side, unit.type)) continue;
    mark_sight(g, unit.x, unit.y, g.world.unit_specs[unit.type].sight, side);
  }
}
