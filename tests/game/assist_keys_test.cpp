// The keys of assisted play and what they set going, pass by pass on a small battle.
#include <gtest/gtest.h>

#include <memory>

#include "game/game_tick.h"
#include "rules/rules_fixture.h"
#include "state/game.h"
#include "state/scene.h"
#include "support/fake_host.h"
#include "world/vision.h"

namespace {

constexpr int kTank = 9;
constexpr int kEnemyTank = 20;

class AssistKeys : public testing::Test {
 protected:
  void SetUp() override {
    g = fixture::make_game();
    build_sight_stencils(*g);
    g->form.host = &host;
    g->flow.assist = true;
    g->flow.scene = kSceneMap;
    fixture::place(*g, kSidePlayer, 0, kPlayerHq, 5, 5);
    fixture::place(*g, kSidePlayer, 1, kTank, 20, 20);
    fixture::place(*g, kSideEnemy, 0, kEnemyHq, 60, 60);
    fixture::place(*g, kSideEnemy, 1, kEnemyTank, 24, 20);  // in the tank's sight
    pass();
  }
  // One pass with these keys pressed just before it.
  void press(uint16_t keys) {
    g->input.keys_pressed = keys;
    pass();
  }
  void pass() { game_tick(*g); }

  FakeHost host;
  std::unique_ptr<Game> g;
};

TEST_F(AssistKeys, TTogglesTheThreatOverlay) {
  EXPECT_FALSE(g->assist.threat_shown);
  press(kKeyT);
  EXPECT_TRUE(g->assist.threat_shown);
  EXPECT_TRUE(g->assist.threat_valid);
  EXPECT_GT(g->assist.threat.cell_count, 0);
  pass();
  EXPECT_TRUE(g->assist.threat_shown) << "a press acts once";
  press(kKeyT);
  EXPECT_FALSE(g->assist.threat_shown);
}

TEST_F(AssistKeys, NoKeyActsWithoutAssist) {
  g->flow.assist = false;
  press(kKeyT);
  EXPECT_FALSE(g->assist.threat_shown);
}

// Worked out when the board changes, not on every pass: a mark left in the map survives the
// passes in which nothing moved.
TEST_F(AssistKeys, TheThreatIsWorkedOutAgainOnlyWhenTheBoardChanges) {
  press(kKeyT);
  g->assist.threat.cell_count = -7;
  pass();
  pass();
  EXPECT_EQ(g->assist.threat.cell_count, -7);
  g->world.enemy_units[1].x = 25;
  pass();
  EXPECT_GT(g->assist.threat.cell_count, 0);
  g->assist.threat.cell_count = -7;
  g->world.enemy_units[1].hp = 40;
  pass();
  EXPECT_GT(g->assist.threat.cell_count, 0) << "a hurt unit strikes weaker at an HQ";
}

}  // namespace
