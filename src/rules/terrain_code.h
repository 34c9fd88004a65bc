// The terrain code the rules look up for a cell.
#pragma once

#include "state/game.h"

// A damaged map may hold bytes outside the terrain table, and a cell off the grid has no
// terrain at all; both read as code 0 (no terrain: impassable, no defence), so no lookup ever
// leaves terrain_specs.
inline int rules_terrain_code(const Game& g, int x, int y) {
  if (x < 0 || x >= kMapSize || y < 0 || y >= kMapSize) return 0;
  const int code = g.world.terrain_layer[x][y];
  return code >= 0 && code < kTerrainRows ? code : 0;
}
