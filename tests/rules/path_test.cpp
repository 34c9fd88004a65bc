#include "rules/path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "rules/reach.h"
#include "rules/rules_fixture.h"
#include "state/assist_state.h"

namespace {

using fixture::make_game;
using fixture::place;

std::vector<std::pair<int, int>> stored(const Game& g) {
  std::vector<std::pair<int, int>> cells;
  for (int i = 0; i < g.rules.path_fill; ++i) {
    cells.emplace_back(g.rules.path_list[i].x, g.rules.path_list[i].y);
  }
  return cells;
}

void fill_reach(Game& g, int32_t value) {
  for (auto& column : g.rules.reach) {
    for (int32_t& cell : column) cell = value;
  }
}

using Cells = std::vector<std::pair<int, int>>;

TEST(TracePath, WorkedExampleTakesTheFirstLowerNeighbourNotTheCheapest) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  fixture::paint(*g, 11, 10, 5);  // forest
  build_move_cost(*g, 12, kMoveClassGround, kRingEnemyUnits);
  compute_reach(*g, 10, 10);
  clear_path_list(*g);
  trace_path(*g, 13, 10);
  // West first: through the forest, then round the mover's cell, though (13,10) costs only 5.
  EXPECT_EQ(stored(*g), (Cells{{13, 10}, {12, 10}, {11, 10}, {11, 9}, {10, 9}}));
  EXPECT_EQ(last_path_entry(*g), 4);
  EXPECT_EQ(g->rules.walk_index, 4);
}

TEST(TracePath, NextToTheStartIsAOneEntryPath) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  build_move_cost(*g, 12, kMoveClassGround, kRingEnemyUnits);
  compute_reach(*g, 10, 10);
  clear_path_list(*g);
  trace_path(*g, 10, 11);
  EXPECT_EQ(stored(*g), (Cells{{10, 11}}));
  EXPECT_EQ(last_path_entry(*g), 0);
}

struct OrderCase {
  const char* name;
  std::vector<std::pair<int, int>> lower;  // neighbours of (20,20) given a lower reach
  std::pair<int, int> trace_step;
  std::pair<int, int> descent_step;
};

// (20,20) holds 10, the listed neighbours 5 and every other cell 20, so each path takes exactly
// one step.
TEST(PathBuilders, NeighbourOrders) {
  const OrderCase cases[] = {
      {"all four lower", {{19, 20}, {20, 19}, {21, 20}, {20, 21}}, {19, 20}, {20, 21}},
      {"east and south", {{21, 20}, {20, 21}}, {21, 20}, {20, 21}},
      {"north and east", {{20, 19}, {21, 20}}, {20, 19}, {21, 20}},
      {"west and north", {{19, 20}, {20, 19}}, {19, 20}, {20, 19}},
      {"west and east", {{19, 20}, {21, 20}}, {19, 20}, {21, 20}},
      {"north and south", {{20, 19}, {20, 21}}, {20, 19}, {20, 21}},
      {"only west", {{19, 20}}, {19, 20}, {19, 20}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    fill_reach(*g, 20);
    g->rules.reach[20][20] = 10;
    for (const auto& [x, y] : c.lower) g->rules.reach[x][y] = 5;
    trace_path(*g, 20, 20);
    EXPECT_EQ(stored(*g), (Cells{{20, 20}, c.trace_step}));
    descend_path(*g, 20, 20, 1);
    EXPECT_EQ(stored(*g), (Cells{{20, 20}, c.descent_step}));
    descend_path(*g, 20, 20, 0);
    EXPECT_EQ(stored(*g), (Cells{c.descent_step}));
  }
}

TEST(DescendPath, FromAnOccupiedGoalStepsOntoAnyReachableNeighbour) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, 20, 10, 10);  // the mover
  place(*g, kSidePlayer, 0, 9, 14, 10);  // the goal, a player tank
  place(*g, kSidePlayer, 1, 2, 14, 11);  // blocks the goal's first neighbour
  build_move_cost(*g, 12, kMoveClassGround, kRingPlayerUnits);
  compute_reach(*g, 10, 10);
  ASSERT_EQ(g->rules.reach[14][10], kNone);
  clear_path_list(*g);
  descend_path(*g, 14, 10, 0);
  // (14,11) holds a unit, so (15,10) comes next, a ring cell costing 12; from there the walk
  // goes down towards the mover.
  ASSERT_GE(g->rules.path_fill, 1);
  EXPECT_EQ(g->rules.path_list[0].x, 15);
  EXPECT_EQ(g->rules.path_list[0].y, 10);
  const int last = last_path_entry(*g);
  EXPECT_EQ(last, g->rules.path_fill - 1);
  const CellPoint first_step = path_entry(*g, last);
  EXPECT_EQ(std::abs(first_step.x - 10) + std::abs(first_step.y - 10), 1);
  for (int i = 1; i <= last; ++i) {
    EXPECT_LT(g->rules.reach[g->rules.path_list[i].x][g->rules.path_list[i].y],
              g->rules.reach[g->rules.path_list[i - 1].x][g->rules.path_list[i - 1].y]);
  }
}

// A serpentine corridor of 1,952 cells from (1,1), walled by 65535, whose reach falls by one per
// cell: both builders would follow it far past the end of the list.
void carve_serpentine(Game& g) {
  fill_reach(g, kNone);
  int32_t value = 60000;
  for (int row = 1; row <= 61; row += 2) {
    const bool east = (row / 2) % 2 == 0;
    int x = 0;
    for (int i = 0; i < 62; ++i) {
      x = east ? 1 + i : 62 - i;
      g.rules.reach[x][row] = value--;
    }
    if (row < 61) g.rules.reach[x][row + 1] = value--;
  }
}

TEST(PathBuilders, NeverWritePastTheLastEntry) {
  auto g = make_game();
  carve_serpentine(*g);
  const int sx = 1;
  const int sy = 1;
  for (int builder = 0; builder < 3; ++builder) {
    SCOPED_TRACE(builder);
    clear_path_list(*g);
    g->rules.walk_index = 4242;  // lies right behind the list and path_fill
    if (builder == 0) trace_path(*g, sx, sy);
    if (builder == 1) descend_path(*g, sx, sy, 1);
    if (builder == 2) descend_path(*g, sx, sy, 0);
    EXPECT_EQ(g->rules.path_fill, kPathEntries);
    EXPECT_EQ(g->rules.walk_index, 4242);
    // Entry 999 is the 1000th cell of the corridor counted from the stored start.
    const int skipped = builder == 2 ? 1 : 0;
    const CellPoint e = g->rules.path_list[kPathEntries - 1];
    EXPECT_EQ(g->rules.reach[e.x][e.y], 60000 - (kPathEntries - 1) - skipped);
    EXPECT_EQ(last_path_entry(*g), kPathEntries - 1);
  }
}

TEST(PathBuilders, CellOffTheGridStoresNothing) {
  auto g = make_game();
  fill_reach(*g, 5);
  clear_path_list(*g);
  trace_path(*g, -1, 5);
  EXPECT_EQ(g->rules.path_fill, 0);
  descend_path(*g, 64, 5, 1);
  EXPECT_EQ(g->rules.path_fill, 0);
  EXPECT_EQ(last_path_entry(*g), -1);
}

TEST(PathBuilders, DescentFromTheBorderStaysOnTheGrid) {
  auto g = make_game();
  fill_reach(*g, 50);
  g->rules.reach[0][0] = 60;
  g->rules.reach[1][0] = 40;
  g->rules.reach[1][1] = 30;
  clear_path_list(*g);
  descend_path(*g, 0, 0, 1);
  EXPECT_EQ(stored(*g), (Cells{{0, 0}, {0, 1}, {1, 1}}));
  trace_path(*g, 0, 0);
  EXPECT_EQ(stored(*g), (Cells{{0, 0}, {1, 0}, {1, 1}}));
}

struct ScanCase {
  const char* name;
  std::vector<int> filled;  // entries given a cell
  int expected;
};

TEST(LastPathEntry, FindsTheHighestFilledEntry) {
  const ScanCase cases[] = {
      {"empty", {}, -1},
      {"one", {0}, 0},
      {"five", {0, 1, 2, 3, 4}, 4},
      {"gap below", {0, 2}, 2},
      {"only the last", {999}, 999},
      {"full", {0, 500, 998, 999}, 999},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    g->rules.walk_index = 77;
    for (CellPoint& e : g->rules.path_list) e = CellPoint{7, 7};
    clear_path_list(*g);
    // Only x marks an entry empty: a y of 0 still counts.
    for (int i : c.filled) g->rules.path_list[i] = CellPoint{3, 0};
    EXPECT_EQ(last_path_entry(*g), c.expected);
    EXPECT_EQ(g->rules.walk_index, c.expected);
  }
}

TEST(PathEntry, OutsideTheListReadsAsEmpty) {
  auto g = make_game();
  for (CellPoint& e : g->rules.path_list) e = CellPoint{9, 9};
  for (int index : {-1, kPathEntries, -100000}) {
    const CellPoint e = path_entry(*g, index);
    EXPECT_EQ(e.x, 0);
    EXPECT_EQ(e.y, 0);
  }
  EXPECT_EQ(path_entry(*g, 999).x, 9);
}

}  // namespace

namespace {

// The core writes what trace_path writes, into the caller's list, and leaves the game alone:
// over mixed terrain, to every cell, the long descents bounded by the list included.
TEST(FillTracePath, IsTracePathIntoACallersList) {
  auto g = make_game();
  for (int x = 1; x < 63; ++x) {
    for (int y = 1; y < 63; ++y) fixture::paint(*g, x, y, 4 + (x * 7 + y * 3) % 8);
  }
  place(*g, kSidePlayer, 0, 9, 30, 30);
  build_move_cost(*g, 12, kMoveClassGround, kRingEnemyUnits);
  compute_reach(*g, 30, 30);
  auto mine = std::make_unique<PathPreview>();  // a list of the path's size, not the game's
  for (int x = -1; x <= 64; x += 3) {
    for (int y = -1; y <= 64; y += 5) {
      const auto before = std::make_unique<RulesState>(g->rules);
      const CellPoint(&list)[kPathEntries] = mine->path;
      const int n = fill_trace_path(*g, x, y, mine->path);
      ASSERT_EQ(std::memcmp(&g->rules, before.get(), sizeof g->rules), 0) << x << ", " << y;
      clear_path_list(*g);
      trace_path(*g, x, y);
      ASSERT_EQ(n, g->rules.path_fill) << x << ", " << y;
      for (int i = 0; i < n; ++i) {
        ASSERT_EQ(list[i].x, g->rules.path_list[i].x);
        ASSERT_EQ(list[i].y, g->rules.path_list[i].y);
      }
    }
  }
}

}  // namespace
