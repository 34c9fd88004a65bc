#include "world/vision.h"

#include "game/game.h"

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
