// The short monkey: a few thousand passes of random, biased input over the whole game, the
// invariants checked after every pass. `make monkey` runs the long one.
#include "support/monkey.h"

#include <gtest/gtest.h>

#include "ui/ui_fixtures.h"

namespace {

TEST(Monkey, RandomPlayKeepsTheGameWholeFromTheTitleToTheMap) {
  const struct {
    uint64_t seed;
    long passes;
    bool damage;
  } runs[] = {{1, 2500, false}, {2, 2500, true}, {3, 2500, true}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.seed);
    monkey::Options o;
    o.seed = run.seed;
    o.passes = run.passes;
    o.damage_files = run.damage;
    const monkey::Result r = monkey::run(o, ui_test::fonts());
    ASSERT_TRUE(r.ok) << r.failure;
    EXPECT_EQ(r.passes, run.passes);
    // The bias works: every run gets past the title into a battle and its map menu, and the
    // exact occupancy check had passes to look at.
    EXPECT_TRUE(r.scenes.count(100)) << "never reached the map";
    EXPECT_TRUE(r.scenes.count(390)) << "never opened the map menu";
    EXPECT_GT(r.strict_checks, 20);
  }
}

// The built-in player takes over for long stretches, so the monkey also meddles in battles the
// player has carried on: the computer's turns, attacks and later turns.
TEST(Monkey, RandomPlayAmongTheBuiltInPlayersKeepsTheGameWhole) {
  monkey::Options o;
  o.seed = 11;
  o.passes = 6000;
  o.mix_bot = true;
  const monkey::Result r = monkey::run(o, ui_test::fonts());
  ASSERT_TRUE(r.ok) << r.failure;
  EXPECT_GT(r.bot_passes, 1000);
  EXPECT_TRUE(r.scenes.count(5040)) << "no computer unit acted";
  EXPECT_TRUE(r.scenes.count(372)) << "no player attack";
}

}  // namespace
