#include "game/game_tick.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/game.h"
#include "game/scenes.h"

TEST(SceneIndex, CodesAreAscending) {
  for (int i = 1; i < kSceneBlockCount; ++i) {
    EXPECT_LT(kSceneBlocks[i - 1].code, kSceneBlocks[i].code);
  }
  EXPECT_EQ(kSceneBlockCount, 48);
}
