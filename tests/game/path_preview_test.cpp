// The path preview of assisted play in the destination choice.
#include <gtest/gtest.h>

#include "command_fixture.h"
#include "rules/reach.h"

namespace {

using command_test::CommandTest;

constexpr int kTank = 9;  // move 12

class PathPreviewInMoveTarget : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    g->flow.assist = true;
    place_player(0, kTank, 10, 10);
    place_enemy(0, kEnemyHq, 50, 50);
    select(0);
    build_move_cost(*g, 12, kMoveClassGround, kRingEnemyUnits);
    compute_reach(*g, 10, 10);
    g->flow.scene = 360;
  }
  void rest_on(int x, int y) {
    point_at_cell(x, y);
    buttons(false, false);
    pass();
  }
};

TEST_F(PathPreviewInMoveTarget, TheWayToAReachableCellAsTheMoveWouldTraceIt) {
  rest_on(13, 10);
  const PathPreview& p = g->assist.path;
  ASSERT_TRUE(p.shown);
  ASSERT_EQ(p.cells, 3);
  EXPECT_EQ(p.path[0].x, 13);
  EXPECT_EQ(p.path[2].x, 11);
  EXPECT_EQ(g->flow.scene, 360) << "resting chooses nothing";

  rest_on(10, 30);  // 20 cells away, beyond the move
  EXPECT_FALSE(g->assist.path.shown);
  rest_on(10, 10);  // the unit's own cell is no destination
  EXPECT_FALSE(g->assist.path.shown);
}

TEST_F(PathPreviewInMoveTarget, NoneWithoutAssistAndTheClickStillMoves) {
  g->flow.assist = false;
  rest_on(13, 10);
  EXPECT_FALSE(g->assist.path.shown);
  g->flow.assist = true;
  rest_on(12, 11);
  point_at_cell(12, 11);
  buttons(true, false);
  pass();
  EXPECT_EQ(g->flow.scene, 370);
  EXPECT_EQ(g->rules.path_list[0].x, 12);
  EXPECT_EQ(g->rules.path_list[0].y, 11);
}

}  // namespace
