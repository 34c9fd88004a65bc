// The fair camera of assisted play: in the computer's turn the view goes only to the units the
// player can see.
#include <gtest/gtest.h>

#include "game/game_tick.h"
#include "opponent/opponent_fixture.h"
#include "state/scene.h"

namespace {

using opponent_test::make_game;
using opponent_test::place;

constexpr int kPlayerScout = 2;  // sight 7
constexpr int kEnemyScout = 13;  // move 6

struct CameraCase {
  const char* name;
  bool assist;
  int enemy_x, enemy_y;
  int view_x, view_y;  // after the strategy of the computer's scout
};

// The player's scout at (40, 40) sees the cells up to 6 away; the computer's scout walks 6 cells
// towards it. The view starts at (5, 5), far from both.
TEST(FairCamera, FollowsOnlyTheUnitsThePlayerSees) {
  const CameraCase cases[] = {
      {"plain game: on the unit, seen or not", false, 20, 40, 10, 32},
      {"assisted, in the fog from start to end: the view stays", true, 20, 40, 5, 5},
      {"assisted, seen where it stands: on the unit", true, 36, 40, 26, 32},
      {"assisted, in the fog, seen where its walk ends: on the end", true, 28, 40, 24, 32},
  };
  for (const CameraCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    g->flow.assist = c.assist;
    place(*g, kSidePlayer, 0, kPlayerHq, 60, 60);
    place(*g, kSidePlayer, 1, kPlayerScout, 40, 40);
    place(*g, kSideEnemy, 0, kEnemyScout, c.enemy_x, c.enemy_y);
    update_vision(*g, kSidePlayer);  // as the last redraw left it
    g->view.view_x = 5;
    g->view.view_y = 5;
    g->flow.scene = kSceneEnemyUnitPause;
    game_tick(*g);  // the pause ends, production, the strategy and the first step
    ASSERT_EQ(g->flow.scene, kSceneEnemyWalk);
    EXPECT_EQ(g->view.view_x, c.view_x);
    EXPECT_EQ(g->view.view_y, c.view_y);
  }
}

}  // namespace
