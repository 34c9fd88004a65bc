// The forecast card of assisted play in the target choice: when it is up and what it holds.
#include <gtest/gtest.h>

#include "command_fixture.h"

namespace {

using command_test::CommandTest;

constexpr int kHq = 1;
constexpr int kTank = 9;        // range 5, sight 6
constexpr int kArtillery = 6;   // range 10, sight 4: it shoots into the fog
constexpr int kEnemyTank = 20;  // evasion 20

class ForecastInTargetChoice : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    g->flow.assist = true;
    place_player(0, kHq, 40, 40);
    place_enemy(0, 12, 50, 50);
  }
  // The attack command of player slot `slot`: the choice opens on the enemies in range.
  void open_choice(int slot) {
    select(slot);
    point(0, 0);
    buttons(false, false);
    pass_in(330);
    ASSERT_EQ(g->flow.scene, 371);
  }
  void rest_on(int x, int y) {
    point_at_cell(x, y);
    pass();
  }
};

TEST_F(ForecastInTargetChoice, UpOnlyWhileThePointerRestsOnASeenEnemyInRange) {
  place_player(1, kTank, 8, 10);
  place_enemy(1, kEnemyTank, 12, 10);  // in range
  place_enemy(2, kEnemyTank, 14, 10);  // seen, out of range
  open_choice(1);

  rest_on(12, 10);
  const AttackForecast& f = g->assist.forecast;
  EXPECT_TRUE(f.shown);
  EXPECT_EQ(f.target_slot, 1);
  EXPECT_EQ(f.x, 12);
  // A tank that has not moved aims at its full 80: 81 numbers in 100, of which 80 in 100 are
  // not dodged.
  EXPECT_EQ(f.hit_percent, 65);

  rest_on(14, 10);
  EXPECT_FALSE(g->assist.forecast.shown) << "out of range";
  rest_on(10, 10);
  EXPECT_FALSE(g->assist.forecast.shown) << "an empty cell";
  rest_on(12, 10);
  EXPECT_TRUE(g->assist.forecast.shown);
  buttons(false, true);  // leaves for the command menu
  pass();
  pass();
  EXPECT_FALSE(g->assist.forecast.shown);
}

TEST_F(ForecastInTargetChoice, NoCardOverAnEnemyHiddenInTheFog) {
  place_player(1, kArtillery, 8, 10);
  place_enemy(1, kEnemyTank, 16, 10);  // in range, beyond sight
  open_choice(1);
  rest_on(16, 10);
  EXPECT_EQ(g->world.vision[kSidePlayer][16][10], 0);
  EXPECT_FALSE(g->assist.forecast.shown);
}

TEST_F(ForecastInTargetChoice, NoCardWithoutAssistAndTheAttackDrawsTheSame) {
  for (const bool assist : {false, true}) {
    SCOPED_TRACE(assist ? "assisted" : "plain");
    SetUp();
    g->flow.assist = assist;
    place_player(1, kTank, 8, 10);
    place_enemy(1, kEnemyTank, 12, 10);
    g->rng.seed(3);
    open_choice(1);
    rest_on(12, 10);
    EXPECT_EQ(g->assist.forecast.shown, assist);
    EXPECT_EQ(g->rng.state, 3u) << "resting on a target draws nothing";
    buttons(true, false);
    pass();
    EXPECT_EQ(g->flow.scene, 372);
    EXPECT_FALSE(g->assist.forecast.shown) << "the card is not drawn over the attack";
  }
}

}  // namespace
