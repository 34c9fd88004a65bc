// The world's tests play on the builder's battlefield; what they add is a count of what a side
// sees.
#pragma once

#include "state/game.h"
#include "support/game_builder.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/vision.h"

namespace world_test {

using test_game::make_game;

inline int count_seen(const Game& g, int side) {
  int n = 0;
  for (const auto& column : g.world.vision[side]) {
    for (int32_t cell : column) n += cell;
  }
  return n;
}

}  // namespace world_test
