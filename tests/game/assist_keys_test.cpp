// The keys of assisted play and what they set going, pass by pass on a small battle.
#include "game/assist_keys.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

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

  // Not in the computer's turn, whose every step would change the board: there the map lapses
  // and is worked out again once the player's turn is back.
  g->flow.scene = kSceneEnemyTurnPause;
  g->flow.wait_ticks = 10;
  g->assist.threat.cell_count = -7;
  g->world.enemy_units[1].x = 24;
  pass();
  EXPECT_FALSE(g->assist.threat_valid);
  EXPECT_EQ(g->assist.threat.cell_count, -7);
  g->flow.scene = kSceneMap;
  pass();
  EXPECT_TRUE(g->assist.threat_valid);
  EXPECT_GT(g->assist.threat.cell_count, 0);
}

TEST_F(AssistKeys, MAndF11ToggleWhatTheHostDoesSpaceHurriesWhileHeld) {
  press(kKeyM | kKeyF11);
  EXPECT_TRUE(g->assist.muted);
  EXPECT_TRUE(g->assist.fullscreen);
  press(kKeyM);
  EXPECT_FALSE(g->assist.muted);
  EXPECT_TRUE(g->assist.fullscreen);

  EXPECT_EQ(enemy_speed_now(*g, 3), 3);
  g->input.keys_held = kKeySpace;
  pass();
  EXPECT_EQ(enemy_speed_now(*g, 3), kHurriedEnemySpeed);
  g->input.keys_held = 0;
  pass();
  EXPECT_EQ(enemy_speed_now(*g, 3), 3);
  g->flow.assist = false;
  g->assist.hurry = true;
  EXPECT_EQ(enemy_speed_now(*g, 2), 2) << "--enemy-speed alone without --assist";
}

// An arrow press moves the view one cell at once; held, one cell every third pass. Only the map
// and the two choices made on it scroll, and never off the map.
TEST_F(AssistKeys, ArrowsScrollTheViewOnTheMap) {
  g->view.view_x = 10;
  g->view.view_y = 10;
  press(kKeyRight | kKeyDown);
  EXPECT_EQ(g->view.view_x, 11);
  EXPECT_EQ(g->view.view_y, 11);
  g->input.keys_held = kKeyLeft;
  for (int k = 0; k < 6; ++k) pass();
  EXPECT_EQ(g->view.view_x, 9) << "two steps in six passes";
  g->input.keys_held = 0;

  g->view.view_x = 0;
  press(kKeyLeft);
  EXPECT_EQ(g->view.view_x, 0);
  g->view.view_y = 49;
  press(kKeyDown);
  EXPECT_EQ(g->view.view_y, 49);

  g->flow.scene = kSceneMapMenu;
  g->view.view_x = 10;
  press(kKeyRight);
  EXPECT_EQ(g->view.view_x, 10) << "not under a menu";
}

class TabKey : public AssistKeys {
 protected:
  void SetUp() override {
    AssistKeys::SetUp();
    fixture::place(*g, kSidePlayer, 2, kTank, 30, 40);
    fixture::place(*g, kSidePlayer, 3, kTank, 50, 10).ready = 0;  // has acted
    fixture::place(*g, kSidePlayer, 4, 4, 12, 50);
    host.audio.clear();
  }
  // Tab on the map, then back to the map as the right button would leave the menu.
  int tab_from_map() {
    g->flow.scene = kSceneMap;
    press(kKeyTab);
    return g->world.selected_slot;
  }
};

TEST_F(TabKey, TakesUpTheUnitsThatCanActOneAfterAnother) {
  EXPECT_EQ(tab_from_map(), 0);
  EXPECT_EQ(g->flow.scene, kSceneHqMenu) << "the HQ's commands, as a click on it";
  EXPECT_EQ(tab_from_map(), 1);
  EXPECT_EQ(g->flow.scene, kSceneUnitMenu) << "past the gate, the button being up";
  EXPECT_EQ(tab_from_map(), 2);
  EXPECT_EQ(g->view.view_x, 20);
  EXPECT_EQ(g->view.view_y, 32);
  EXPECT_EQ(tab_from_map(), 4) << "the unit that has acted is passed over";
  EXPECT_EQ(g->view.view_x, 2);
  EXPECT_EQ(g->view.view_y, 42);
  EXPECT_EQ(tab_from_map(), 0) << "round to the first again";
  EXPECT_EQ(host.sounds(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(TabKey, FromACommandMenuGoesOnFromItsUnit) {
  tab_from_map();
  tab_from_map();
  ASSERT_EQ(g->flow.scene, kSceneUnitMenu);
  ASSERT_EQ(g->world.selected_slot, 1);
  press(kKeyTab);
  EXPECT_EQ(g->world.selected_slot, 2);
  EXPECT_EQ(g->world.selected_unit.x, 30);
  EXPECT_EQ(g->world.selected_spec.move, 12);
  EXPECT_EQ(g->flow.scene, kSceneUnitMenu);
}

TEST_F(TabKey, DoesNothingElsewhereOrWhenNobodyCanAct) {
  g->flow.scene = kSceneMoveTarget;
  g->world.selected_slot = 2;
  press(kKeyTab);
  EXPECT_EQ(g->flow.scene, kSceneMoveTarget);
  EXPECT_EQ(g->world.selected_slot, 2);
  for (TUnit& u : g->world.player_units) u.ready = 0;
  g->flow.scene = kSceneMap;
  press(kKeyTab);
  EXPECT_EQ(g->flow.scene, kSceneMap);
  EXPECT_TRUE(host.sounds().empty());
}

}  // namespace
