#include "world/roster_queries.h"

#include <gtest/gtest.h>

#include "world_fixture.h"

using world_test::make_game;

namespace {

TEST(FirstReady, LowestReadySlotOnTheMapOfTheKind) {
  auto g = make_game();
  WorldState& w = g->world;
  EXPECT_EQ(first_ready(*g, 0), kNone);
  EXPECT_EQ(first_ready(*g, 3), kNone);

  w.player_units[1] = TUnit{4, 0, 5, 20, 20, 8, 1, 1, 0};  // off the map: passed over
  w.player_units[2] = TUnit{4, 5, 0, 20, 20, 8, 1, 1, 0};
  w.player_units[3] = TUnit{4, 5, 5, 20, 20, 8, 1, 0, 0};   // acted
  w.player_units[4] = TUnit{1, 6, 5, 200, 20, 8, 1, 1, 0};  // a ready HQ counts for kind 0
  w.enemy_units[0] = TUnit{12, 9, 9, 200, 20, 8, 1, 1, 0};
  w.enemy_units[2] = TUnit{23, 9, 10, 100, 20, 8, 1, 1, 0};
  EXPECT_EQ(first_ready(*g, 0), 4);
  EXPECT_EQ(first_ready(*g, 3), 2);
  // Kinds without a meaning find nothing.
  EXPECT_EQ(first_ready(*g, 1), kNone);
  EXPECT_EQ(first_ready(*g, -1), kNone);
}

TEST(CountUnits, EachKindCountsItsOwnRange) {
  auto g = make_game();
  WorldState& w = g->world;
  const int player_types[] = {1, 1, 2, 11, 6, 0};
  const int enemy_types[] = {12, 13, 22, 23, 24, 25, 12, 12, 0};
  int slot = 0;
  for (int t : player_types) w.player_units[slot++] = TUnit{t, 5, 5, 1, 0, 0, 1, 1, 0};
  slot = 0;
  for (int t : enemy_types) w.enemy_units[slot++] = TUnit{t, 5, 5, 1, 0, 0, 1, 1, 0};
  const struct {
    int kind;
    int32_t want;
  } cases[] = {{0, 3}, {1, 2}, {2, 2}, {3, 3}, {4, 0}, {-1, 0}};
  for (const auto& c : cases) EXPECT_EQ(count_units(*g, c.kind), c.want) << "kind " << c.kind;
}

TEST(TurnChores, MarkAllActedAndRefreshSide) {
  auto g = make_game();
  WorldState& w = g->world;
  w.player_units[0] = TUnit{4, 5, 5, 20, 20, 8, 1, 1, 1};
  w.player_units[1] = TUnit{0, 0, 7, 0, 0, 0, 0, 0, 1};  // typeless, off the map by x only
  w.player_units[2] = TUnit{};
  w.enemy_units[0] = TUnit{15, 9, 9, 20, 20, 8, 1, 1, 1};

  mark_all_acted(*g, kSidePlayer);
  for (const TUnit& u : w.player_units) EXPECT_EQ(u.ready, 0);
  EXPECT_EQ(w.enemy_units[0].ready, 1);

  w.player_units[2].ready = 1;
  refresh_side(*g, kSidePlayer);
  EXPECT_EQ(w.player_units[0].ready, 1);
  EXPECT_EQ(w.player_units[0].moved, 0);
  EXPECT_EQ(w.player_units[1].ready, 1);  // only (0, 0) counts as no unit here
  EXPECT_EQ(w.player_units[1].moved, 0);
  EXPECT_EQ(w.player_units[2].ready, 0);
  EXPECT_EQ(w.enemy_units[0].moved, 1);  // the other side is untouched
}

TEST(FocusUnit, WalksOnFromTheLastFocusAndWrapsToTheFirst) {
  auto g = make_game();
  WorldState& w = g->world;
  w.player_units[2] = TUnit{4, 20, 30, 20, 20, 8, 1, 1, 0};
  w.player_units[5] = TUnit{4, 25, 35, 20, 20, 8, 1, 0, 0};  // readiness does not matter
  w.player_units[9] = TUnit{4, 30, 40, 20, 20, 8, 1, 1, 0};
  w.focus_slot = 5;

  const struct {
    int skip;
    int32_t slot, view_x, view_y;
  } steps[] = {{1, 9, 20, 32}, {1, 2, 10, 22}, {0, 2, 10, 22}, {1, 5, 15, 27}, {2, 2, 10, 22}};
  for (const auto& s : steps) {
    focus_unit(*g, kSidePlayer, s.skip);
    EXPECT_EQ(w.focus_slot, s.slot);
    EXPECT_EQ(g->view.view_x, s.view_x);
    EXPECT_EQ(g->view.view_y, s.view_y);
  }
}

TEST(FocusUnit, ClampsTheViewToTheMap) {
  const struct {
    int x, y;
    int32_t view_x, view_y;
  } cases[] = {{3, 4, 0, 0}, {62, 62, 44, 49}, {54, 57, 44, 49}, {11, 9, 1, 1}};
  for (const auto& c : cases) {
    auto g = make_game();
    g->world.enemy_units[7] = TUnit{13, c.x, c.y, 10, 10, 8, 1, 1, 0};
    focus_unit(*g, kSideEnemy, 0);
    EXPECT_EQ(g->world.focus_slot, 7);
    EXPECT_EQ(g->view.view_x, c.view_x) << c.x << "," << c.y;
    EXPECT_EQ(g->view.view_y, c.view_y) << c.x << "," << c.y;
  }
}

TEST(FocusUnit, AnEmptyRosterLeavesTheViewButClampsIt) {
  auto g = make_game();
  g->world.focus_slot = 12;
  g->view.view_x = 50;
  g->view.view_y = 7;
  focus_unit(*g, kSidePlayer, 1);
  EXPECT_EQ(g->world.focus_slot, 0);
  EXPECT_EQ(g->view.view_x, 44);
  EXPECT_EQ(g->view.view_y, 7);
}

}  // namespace
