// The unit and HQ command menus as scenes: choosing rows, the release gates and cancelling.
#include <gtest/gtest.h>

#include "command_fixture.h"

namespace {

using command_test::CommandTest;
using command_test::Sounds;

constexpr int kHq = 1;
constexpr int kTank = 9;
constexpr int kEnemyTank = 20;
constexpr int kEnemyHqType = 12;

// A pointer inside the band of menu row k of a command menu whose window starts at x0.
struct RowPoint {
  int x;
  int y;
};
RowPoint menu_row(int x0, int k) {
  return RowPoint{x0 + 50, 110 + 32 * (k - 1)};
}

class CommandScenes : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    place_player(0, kHq, 5, 5);
    place_player(1, kTank, 8, 10);
    place_enemy(0, kEnemyHqType, 50, 50);
  }
  void choose_row(int k) {
    const RowPoint p = menu_row(480, k);  // the selected units stand in the left half
    point(p.x, p.y);
    buttons(true, false);
  }
};

struct StandByCase {
  const char* name;
  int menu_scene;
  int slot;
  int row;
  bool other_unit_ready;
  int scene_after;
  int wait_after;
};

TEST_F(CommandScenes, StandByUsesUpTheActionAndEndsTheTurnWithTheLastReadyUnit) {
  const StandByCase cases[] = {
      {"unit, another unit ready: the map", 310, 1, 4, true, 100, 0},
      {"unit, the last ready one: the computer's turn", 310, 1, 4, false, 5000, 30},
      {"HQ, another unit ready: the map", 110, 0, 3, true, 100, 0},
      {"HQ, the last ready one: the computer's turn", 110, 0, 3, false, 5000, 30},
  };
  for (const StandByCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const int other = c.slot == 0 ? 1 : 0;
    player(other).ready = c.other_unit_ready ? 1 : 0;
    select(c.slot);
    choose_row(c.row);
    pass_in(c.menu_scene);
    EXPECT_EQ(player(c.slot).ready, 0);
    EXPECT_EQ(player(other).ready, c.other_unit_ready ? 1 : 0);
    EXPECT_EQ(g->flow.scene, c.scene_after);
    EXPECT_EQ(g->flow.wait_ticks, c.wait_after);
    EXPECT_EQ(host.audio, Sounds{"sound 1"});
  }
}

TEST_F(CommandScenes, AttackWithNobodyInRangeReturnsToTheMapAndTheUnitStaysReady) {
  place_enemy(1, kEnemyTank, 30, 30);  // far beyond the tank's range of 5
  select(1);
  choose_row(2);
  pass_in(310);
  EXPECT_EQ(g->flow.scene, 100);
  EXPECT_EQ(player(1).ready, 1);
  EXPECT_EQ(host.audio, Sounds{"sound 1"});
}

TEST_F(CommandScenes, AttackWithAnEnemyInRangeOpensTheTargetChoiceInTheSamePass) {
  place_enemy(1, kEnemyTank, 12, 11);  // distance 5
  select(1);
  choose_row(2);
  pass_in(310);
  EXPECT_EQ(g->flow.scene, 371);
  EXPECT_EQ(g->rules.pair_list[0].e_slot, 1);
  EXPECT_EQ(g->rules.pair_list[0].p_slot, 1);
  EXPECT_EQ(player(1).ready, 1);
}

TEST_F(CommandScenes, HqAttackAndProductionWaitForTheButtonToBeReleased) {
  place_enemy(1, kEnemyTank, 7, 7);  // within the HQ's range of 4
  select(0);
  choose_row(1);
  pass_in(110);
  EXPECT_EQ(g->flow.scene, 160);
  pass();  // still held
  EXPECT_EQ(g->flow.scene, 160);
  buttons(false, false);
  pass();  // the gate opens and the attack targeting runs in the same pass
  EXPECT_EQ(g->flow.scene, 371);
  EXPECT_EQ(g->rules.pair_list[0].e_slot, 1);

  select(0);
  choose_row(2);
  pass_in(110);
  EXPECT_EQ(g->flow.scene, 120);
}

TEST_F(CommandScenes, MoveComputesTheReachAndWaitsForTheReleaseBeforeThePick) {
  select(1);
  choose_row(1);
  pass_in(310);
  EXPECT_EQ(g->flow.scene, 320);
  EXPECT_EQ(g->rules.reach[9][10], 1);
  EXPECT_EQ(g->rules.reach[8][22], 12);  // the tank's whole move
  EXPECT_EQ(g->rules.reach[8][10], kNone);
  EXPECT_EQ(host.audio, Sounds{"sound 1"});
  pass();
  EXPECT_EQ(g->flow.scene, 320);
  buttons(false, false);
  pass();
  EXPECT_EQ(g->flow.scene, 360);
}

TEST_F(CommandScenes, AnAircraftMovesByAirCostsAndOnlyAntiAircraftRingsIt) {
  constexpr int kBomber = 10;
  constexpr int kEnemyAaGun = 19;
  fixture::paint(*g, 9, 10, 1);  // sea: no ground unit enters it
  place_player(2, kBomber, 8, 10);
  player(1) = TUnit{};
  place_enemy(1, kEnemyTank, 8, 14);   // cannot shoot at aircraft: no ring
  place_enemy(2, kEnemyAaGun, 12, 9);  // rings (12, 10) and its other neighbours
  select(2);
  choose_row(1);
  pass_in(310);
  EXPECT_EQ(g->rules.reach[9][10], 1);
  EXPECT_EQ(g->rules.reach[8][13], 3);
  EXPECT_EQ(g->rules.reach[11][10], 3);
  EXPECT_EQ(g->rules.reach[12][10], 3 + 14);
}

TEST_F(CommandScenes, GatesWaitForTheirButton) {
  struct Gate {
    int scene;
    bool left;
    bool right;
    int scene_after;
  };
  const Gate cases[] = {
      {300, true, false, 300}, {300, false, false, 310}, {300, false, true, 310},
      {320, true, false, 320}, {320, false, false, 360}, {160, true, false, 160},
      {401, false, true, 401}, {401, true, false, 310},  {401, false, false, 310},
  };
  for (const Gate& c : cases) {
    SCOPED_TRACE(testing::Message() << "scene " << c.scene << " L" << c.left << " R" << c.right);
    select(1);
    point(0, 0);  // outside every menu row and the map's inner area
    buttons(c.left, c.right);
    quiet();
    g->flow.scene = c.scene;
    // Only the gate itself: what follows it in the pass is another scene's business.
    for (const SceneBlock& b : command_test::command_blocks()) {
      if (b.code == c.scene) b.run(*g);
    }
    EXPECT_EQ(g->flow.scene, c.scene_after);
    EXPECT_TRUE(host.audio.empty());
  }
}

TEST_F(CommandScenes, TheRightButtonLeavesTheMenusAndTheSkillPanelForTheMap) {
  for (int scene : {110, 310, 340}) {
    SCOPED_TRACE(scene);
    select(scene == 110 ? 0 : 1);
    point(0, 0);
    buttons(false, true);
    quiet();
    pass_in(scene);
    EXPECT_EQ(g->flow.scene, 400);
    EXPECT_EQ(host.audio, Sounds{"sound 2"});
  }
}

TEST_F(CommandScenes, BothButtonsOnARowDoTheRowThenCancel) {
  select(1);
  player(0).ready = 1;
  const RowPoint p = menu_row(480, 4);
  point(p.x, p.y);
  buttons(true, true);
  pass_in(310);
  EXPECT_EQ(player(1).ready, 0);
  EXPECT_EQ(g->flow.scene, 400);
  EXPECT_EQ(host.audio, (Sounds{"sound 1", "sound 2"}));
}

TEST_F(CommandScenes, SkillOffersNothingToChoose) {
  select(1);
  choose_row(3);
  pass_in(310);
  EXPECT_EQ(g->flow.scene, 340);
  quiet();
  for (int row = 1; row <= 4; ++row) {
    choose_row(row);
    pass();
    EXPECT_EQ(g->flow.scene, 340);
  }
  EXPECT_TRUE(host.audio.empty());
  EXPECT_EQ(player(1).ready, 1);
}

TEST_F(CommandScenes, ASelectionWithoutASlotNeverTouchesARoster) {
  for (int slot : {-1, 60, 65535}) {
    SCOPED_TRACE(slot);
    SetUp();
    select(1);
    g->world.selected_slot = slot;
    const TUnit before[2] = {player(0), player(1)};
    choose_row(4);  // "待機"
    pass_in(310);
    EXPECT_EQ(player(0).ready, before[0].ready);
    EXPECT_EQ(player(1).ready, before[1].ready);
    EXPECT_EQ(g->flow.scene, 100);

    // The attack command writes the selection back only into a real slot.
    choose_row(2);
    pass_in(310);
    EXPECT_EQ(player(1).x, before[1].x);
    EXPECT_EQ(g->world.player_units[59].type, 0);
  }
}

}  // namespace
