// Picking a destination and walking there, one cell per pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "command_fixture.h"
#include "game/debug_list.h"

namespace {

using command_test::CommandTest;
using command_test::Sounds;

constexpr int kHq = 1;
constexpr int kTank = 9;  // move 12, range 5, sight 6
constexpr int kEnemyTank = 20;
constexpr int kEnemyHqType = 12;
constexpr int kSea = 1;

class MoveScenes : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    place_player(0, kHq, 40, 40);
    place_player(1, kTank, 8, 10);
    place_enemy(0, kEnemyHqType, 50, 50);
  }
  // The menu's "移動" as the player chooses it, through the gate into the destination pick.
  void open_pick() {
    select(1);
    point(480 + 50, 110);
    buttons(true, false);
    pass_in(310);
    buttons(false, false);
    pass();
    ASSERT_EQ(g->flow.scene, 360);
    quiet();
  }
  void click_cell(int x, int y) {
    point_at_cell(x, y);
    buttons(true, false);
    pass();
  }
  std::string last_debug_line() const {
    const int n = debug_line_count(*g);
    return n == 0 ? std::string() : std::string(debug_line(*g, n - 1));
  }
};

struct WalkCase {
  const char* name;
  int x;
  int y;
  int cells;  // path cells, one per pass
};

TEST_F(MoveScenes, AWalkOfNCellsTakesNPassesAndArrivesInTheLastOne) {
  const WalkCase cases[] = {
      {"next to the start: a one-entry path", 9, 10, 1},
      {"three cells east", 11, 10, 3},
      {"three cells south", 8, 13, 3},
      {"round a corner", 10, 12, 4},
      {"the whole move", 18, 8, 12},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    open_pick();
    int px = player(1).x;
    int py = player(1).y;
    for (int k = 1; k <= c.cells; ++k) {
      SCOPED_TRACE(testing::Message() << "pass " << k);
      int32_t seen_before[kMapSize][kMapSize];
      std::memcpy(seen_before, g->world.vision[kSidePlayer], sizeof seen_before);
      if (k == 1) {
        click_cell(c.x, c.y);
        EXPECT_EQ(host.audio, Sounds{"sound 1"});
        buttons(false, false);
      } else {
        pass();
      }
      // One orthogonal step per pass, in the roster and in the copy alike.
      const TUnit& u = player(1);
      EXPECT_EQ(std::abs(u.x - px) + std::abs(u.y - py), 1);
      EXPECT_EQ(u.x, g->world.selected_unit.x);
      EXPECT_EQ(u.y, g->world.selected_unit.y);
      EXPECT_EQ(u.moved, 1);
      // The fog opens as each cell is entered: the tank sees five cells ahead, one more than it
      // saw from the cell before.
      const int ax = u.x + 5 * (u.x - px);
      const int ay = u.y + 5 * (u.y - py);
      EXPECT_EQ(seen_before[ax][ay], 0);
      EXPECT_EQ(g->world.vision[kSidePlayer][ax][ay], 1);
      px = u.x;
      py = u.y;
      if (k < c.cells) {
        EXPECT_EQ(g->flow.scene, 370);
        EXPECT_EQ(u.ready, 1);
      }
    }
    EXPECT_EQ(player(1).x, c.x);
    EXPECT_EQ(player(1).y, c.y);
    // No enemy in range: the action is used up; the HQ can still act, so the map follows.
    EXPECT_EQ(player(1).ready, 0);
    EXPECT_EQ(g->flow.scene, 100);
    EXPECT_EQ(last_debug_line(), "pX " + std::to_string(c.x) + " pY " + std::to_string(c.y));
    EXPECT_EQ(host.audio, Sounds{"sound 1"});
  }
}

TEST_F(MoveScenes, TheLastUnitsWalkEndsTheTurn) {
  player(0).ready = 0;
  open_pick();
  click_cell(9, 10);
  EXPECT_EQ(g->flow.scene, 5000);
  EXPECT_EQ(g->flow.wait_ticks, 30);
}

struct RefusedCase {
  const char* name;
  int x;
  int y;
};

TEST_F(MoveScenes, AClickOnACellOutOfReachOnlySounds) {
  fixture::paint(*g, 9, 11, kSea);
  place_enemy(1, kEnemyTank, 8, 12);
  place_player(2, kTank, 10, 10);
  place_player(3, kHq, 11, 11);
  const RefusedCase cases[] = {
      {"the mover's own cell", 8, 10},
      {"a cell with one of the player's units", 10, 10},
      {"a cell with an enemy unit", 8, 12},
      {"a cell held by the player's HQ", 11, 11},
      {"sea", 9, 11},
      {"one cell beyond the move", 18, 7},
      {"next to an enemy, two steps away", 7, 12},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    g->flow.scene = 310;
    open_pick();
    ASSERT_GT(g->rules.reach[c.x][c.y], g->world.selected_spec.move);
    click_cell(c.x, c.y);
    EXPECT_EQ(g->flow.scene, 360);
    EXPECT_EQ(host.audio, Sounds{"sound 1"});
    EXPECT_EQ(player(1).moved, 0);
    EXPECT_EQ(g->world.selected_unit.moved, 0);
    EXPECT_EQ(player(1).x, 8);
    EXPECT_EQ(player(1).y, 10);
    buttons(false, false);
    pass();
  }
}

TEST_F(MoveScenes, AClickInTheScrollFrameIsNoPick) {
  open_pick();
  for (const auto& p : {std::pair{20, 200}, {300, 460}, {32, 200}, {608, 200}, {300, 32}}) {
    SCOPED_TRACE(testing::Message() << p.first << "," << p.second);
    point(p.first, p.second);
    buttons(true, false);
    pass();
    EXPECT_EQ(g->flow.scene, 360);
    EXPECT_TRUE(host.audio.empty());
  }
}

TEST_F(MoveScenes, TheRightButtonLeavesThePickWithTheUnitUnmovedAndReady) {
  open_pick();
  point_at_cell(9, 10);  // a reachable cell, but only the right button
  buttons(false, true);
  pass();
  EXPECT_EQ(g->flow.scene, 400);
  EXPECT_EQ(host.audio, Sounds{"sound 2"});
  EXPECT_EQ(player(1).x, 8);
  EXPECT_EQ(player(1).y, 10);
  EXPECT_EQ(player(1).ready, 1);
  EXPECT_EQ(player(1).moved, 0);
}

TEST_F(MoveScenes, ArrivingInRangeOfAnEnemyOpensTheTargetChoiceWhichCancelsToTheMenu) {
  place_enemy(1, kEnemyTank, 20, 10);
  open_pick();
  click_cell(15, 10);  // seven cells, ending five from the enemy
  buttons(false, false);
  for (int k = 2; k <= 7; ++k) pass();
  EXPECT_EQ(g->flow.scene, 371);
  EXPECT_EQ(player(1).ready, 1);
  EXPECT_EQ(g->rules.pair_list[0].e_slot, 1);
  EXPECT_EQ(g->rules.attack_range[20][10], 0);
  EXPECT_EQ(g->rules.attack_range[21][10], kNone);

  quiet();
  buttons(false, true);
  pass();
  EXPECT_EQ(g->flow.scene, 401);
  pass();  // still held
  EXPECT_EQ(g->flow.scene, 401);
  buttons(false, false);
  pass();
  EXPECT_EQ(g->flow.scene, 310);
  EXPECT_TRUE(host.audio.empty());  // leaving the target choice is silent

  // "移動" cannot be chosen again: the unit stands in view column 15, so the menu is on the left.
  point(50, 110);
  buttons(true, false);
  pass();
  EXPECT_EQ(g->ui.hover_item, 0);
  EXPECT_EQ(g->flow.scene, 310);
  EXPECT_TRUE(host.audio.empty());
  // It can still attack.
  point(50, 142);
  pass();
  EXPECT_EQ(g->flow.scene, 371);
}

TEST_F(MoveScenes, AnEmptyPathLeavesTheUnitOnItsCell) {
  select(1);
  g->rules.walk_index = -1;
  pass_in(370);
  EXPECT_EQ(player(1).x, 8);
  EXPECT_EQ(player(1).y, 10);
  EXPECT_EQ(g->world.selected_unit.x, 8);
  EXPECT_EQ(g->flow.scene, 100);
}

}  // namespace
