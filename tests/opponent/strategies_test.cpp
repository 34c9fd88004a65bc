#include "opponent/strategies.h"

#include <gtest/gtest.h>

#include <vector>

#include "opponent_fixture.h"
#include "rules/combat.h"
#include "rules/path.h"

using opponent_test::make_game;
using opponent_test::place;

namespace {

constexpr int kScout = 13;
constexpr int kAntiTank = 16;
constexpr int kAntiAir = 19;
constexpr int kTank = 20;
constexpr int kPlayerScout = 2;
constexpr int kPlayerTank = 9;
constexpr int kPlayerFighter = 11;

struct CutCase {
  const char* name;
  std::vector<int32_t> reach;  // of entries 0 (goal end) onwards
  int32_t move;
  int walk_index;
  int first_kept;  // the original entry that becomes entry 0
};

void PrintTo(const CutCase& c, std::ostream* os) {
  *os << c.name;
}

class CutToMove : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutToMove, KeepsTheCellsWithinTheMove) {
  const CutCase& c = GetParam();
  auto g = make_game();
  g->world.selected_spec.move = c.move;
  for (int i = 0; i < static_cast<int>(c.reach.size()); ++i) {
    g->rules.path_list[i] = CellPoint{10 + i, 20};
    g->rules.reach[10 + i][20] = c.reach[i];
  }
  cut_to_move(*g);
  EXPECT_EQ(g->rules.walk_index, c.walk_index);
  for (int i = 0; i <= c.walk_index; ++i) {
    EXPECT_EQ(g->rules.path_list[i].x, 10 + c.first_kept + i) << "entry " << i;
  }
  // Everything after the walk is empty: nothing stale can be walked later.
  for (int i = c.walk_index + 1; i < kPathEntries; ++i) {
    ASSERT_EQ(g->rules.path_list[i].x, 0) << "entry " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, CutToMove,
                         ::testing::Values(CutCase{"worked_example", {14, 11, 8, 4, 2}, 8, 2, 2},
                                           CutCase{"all_within", {3, 2, 1}, 8, 2, 0},
                                           CutCase{"equal_to_move_counts", {8}, 8, 0, 0},
                                           CutCase{"nothing_within", {20, 15}, 8, -1, 0},
                                           CutCase{"empty_path", {}, 8, -1, 0},
                                           CutCase{
                                               "unreachable_goal_cell", {65535, 5, 3}, 8, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BesideOwnHq, FindsTheFirstHqOnAnOrthogonalNeighbour) {
  auto g = make_game();
  place(*g, kSideEnemy, 5, kEnemyHq, 20, 20);
  place(*g, kSideEnemy, 2, kEnemyHq, 22, 21);
  const struct {
    int x, y, type;
    int32_t expected;
  } cases[] = {
      {20, 19, kScout, 5}, {21, 20, kScout, 5},       {20, 21, kTank, 5},
      {19, 20, kTank, 5},  {21, 21, kScout, 2},       {22, 20, kScout, 2},
      {22, 22, kScout, 2}, {18, 18, kScout, kNone},   {21, 19, kScout, kNone},
      {19, 20, 23, 5},     {19, 20, kEnemyHq, kNone},
  };
  for (const auto& c : cases) {
    place(*g, kSideEnemy, 9, c.type, c.x, c.y);
    EXPECT_EQ(beside_own_hq(*g, 9), c.expected) << c.x << "," << c.y << " type " << c.type;
  }
  // (21, 20) touches both HQs: slot order decides.
  place(*g, kSideEnemy, 9, kScout, 21, 20);
  place(*g, kSideEnemy, 2, kEnemyHq, 21, 21);
  EXPECT_EQ(beside_own_hq(*g, 9), 2);
  EXPECT_EQ(beside_own_hq(*g, -1), kNone);
  EXPECT_EQ(beside_own_hq(*g, 60), kNone);
  EXPECT_EQ(beside_own_hq(*g, 0), kNone);  // an empty slot
}

TEST(ChooseActor, IsTheLowestReadyComputerUnitAndDoneWithoutOne) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kEnemyHq, 20, 20);
  place(*g, kSideEnemy, 1, kTank, 30, 30).ready = 0;
  place(*g, kSideEnemy, 4, kScout, 31, 30);
  place(*g, kSideEnemy, 7, 25, 32, 30);
  place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
  EXPECT_EQ(choose_actor(*g), 4);
  EXPECT_EQ(g->rules.enemy_candidates[1].slot, 7);
  EXPECT_EQ(g->rules.enemy_candidates[2].slot, kNone);

  g->world.enemy_units[4].ready = 0;
  g->world.enemy_units[7].ready = 0;
  EXPECT_EQ(enemy_advance(*g), AI_DONE);
  EXPECT_EQ(enemy_retreat(*g), AI_DONE);
  EXPECT_EQ(choose_strategy(*g), AI_DONE);
}

TEST(Strategies, PlayerWithoutHqIsLost) {
  const struct {
    const char* name;
    bool player_hq;
    bool player_tank;
    int32_t tank_hp;  // of the computer's tank: 100 advances, 10 retreats
    bool lost;
  } cases[] = {
      {"advance_no_hq_visible_tank", false, true, 100, true},
      {"advance_nothing_at_all", false, false, 100, true},
      {"retreat_no_hq", false, true, 10, true},
      {"advance_with_hq", true, true, 100, false},
      {"retreat_with_hq", true, false, 10, false},
  };
  for (const auto& c : cases) {
    auto g = make_game();
    place(*g, kSideEnemy, 0, kEnemyHq, 10, 10);
    place(*g, kSideEnemy, 1, kTank, 30, 30).hp = c.tank_hp;
    if (c.player_hq) place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
    if (c.player_tank) place(*g, kSidePlayer, 1, kPlayerTank, 32, 32);  // seen and in range
    const int32_t result = choose_strategy(*g);
    EXPECT_EQ(result == AI_PLAYER_LOST, c.lost) << c.name << " result " << result;
  }
}

TEST(EnemyAdvance, AUnitAlreadyInRangeStaysAtFullAimEvenWhenTheTargetIsHidden) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
  // The anti-tank gun sees three cells but shoots six: the scout five cells away is unseen.
  place(*g, kSideEnemy, 0, kAntiTank, 20, 20);
  place(*g, kSidePlayer, 1, kPlayerScout, 25, 20);
  EXPECT_EQ(enemy_advance(*g), 0);
  EXPECT_EQ(g->world.vision[kSideEnemy][25][20], 0);
  EXPECT_EQ(g->rules.walk_index, 0);
  EXPECT_EQ(g->rules.path_list[0].x, 20);
  EXPECT_EQ(g->rules.path_list[0].y, 20);
  EXPECT_EQ(g->opponent.enemy_moved, 0);
  // The hidden scout is no goal: the walk would have led to the HQ.
  EXPECT_EQ(g->rules.pair_list[0].p_slot, 0);
  EXPECT_EQ(g->world.selected_slot, 0);
  EXPECT_EQ(g->world.selected_unit.type, kAntiTank);
}

TEST(EnemyAdvance, WalksItsFullMoveTowardsTheNearestKnownUnitItCanHurt) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kTank, 10, 10);
  place(*g, kSideEnemy, 1, kScout, 18, 14);           // its eyes
  place(*g, kSidePlayer, 0, kPlayerFighter, 16, 14);  // seen, but a tank cannot hurt aircraft
  place(*g, kSidePlayer, 1, kPlayerScout, 10, 17);    // nearer than the HQ, but unseen
  place(*g, kSidePlayer, 2, kPlayerHq, 40, 10);
  EXPECT_EQ(enemy_advance(*g), 0);
  EXPECT_EQ(g->rules.pair_list[0].p_slot, 2);
  EXPECT_EQ(g->opponent.enemy_moved, 1);
  const int w = g->rules.walk_index;
  ASSERT_EQ(w, 11);  // twelve cells of plain, one movement point each
  const CellPoint end = g->rules.path_list[0];
  EXPECT_EQ(g->rules.reach[end.x][end.y], 12);
  EXPECT_EQ(end.x, 22);
  EXPECT_EQ(end.y, 10);
  // Each entry is one step from the next, and the last one steps off the tank's own cell.
  for (int i = 0; i < w; ++i) {
    const CellPoint a = g->rules.path_list[i];
    const CellPoint b = g->rules.path_list[i + 1];
    EXPECT_EQ(cell_distance(a.x, a.y, b.x, b.y), 1) << i;
  }
  const CellPoint first = g->rules.path_list[w];
  EXPECT_EQ(cell_distance(first.x, first.y, 10, 10), 1);
}

TEST(EnemyAdvance, AGunThatCanHurtNothingStillHeadsForTheNearestKnownUnit) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kAntiAir, 10, 10);
  place(*g, kSideEnemy, 1, kScout, 22, 10);  // its eyes
  place(*g, kSidePlayer, 3, kPlayerScout, 20, 10);
  place(*g, kSidePlayer, 0, kPlayerHq, 10, 40);
  EXPECT_EQ(enemy_advance(*g), 0);
  EXPECT_EQ(g->rules.pair_list[0].p_slot, 3);
  EXPECT_GE(g->rules.walk_index, 0);
  EXPECT_GT(g->rules.path_list[0].x, 10);
}

// Hit points and position against the hold rule, with the computer's HQ at (20, 20) and the
// player far off to the east.
TEST(HoldRule, ADamagedUnitBesideItsHqKeepsItsCell) {
  const struct {
    const char* name;
    int x;
    int32_t hp;
    int32_t result;  // AI_HOLD or the slot
    bool walks_east;
  } cases[] = {
      {"damaged_beside_advancing", 21, 50, AI_HOLD, false},
      {"damaged_beside_retreating", 21, 10, AI_HOLD, false},
      {"full_beside_advances", 21, 100, 1, true},
      {"damaged_away_advances", 25, 50, 1, true},
  };
  for (const auto& c : cases) {
    auto g = make_game();
    place(*g, kSideEnemy, 0, kEnemyHq, 20, 20);
    place(*g, kSideEnemy, 1, kTank, c.x, 20).hp = c.hp;
    place(*g, kSidePlayer, 0, kPlayerHq, 55, 20);
    EXPECT_EQ(choose_strategy(*g), c.result) << c.name;
    if (c.walks_east) {
      EXPECT_GT(g->rules.path_list[0].x, c.x) << c.name;
      EXPECT_EQ(g->opponent.enemy_moved, 1) << c.name;
    } else {
      EXPECT_EQ(g->rules.walk_index, 0) << c.name;
      EXPECT_EQ(g->rules.path_list[0].x, c.x) << c.name;
      EXPECT_EQ(g->rules.path_list[0].y, 20) << c.name;
      EXPECT_EQ(g->opponent.enemy_moved, 0) << c.name;
    }
  }
}

TEST(ChooseStrategy, AFifthOfFullStrengthOrLessRetreats) {
  const struct {
    int32_t hp;
    bool retreats;
  } cases[] = {{21, false}, {20, true}, {1, true}, {100, false}};
  for (const auto& c : cases) {
    auto g = make_game();
    place(*g, kSideEnemy, 0, kEnemyHq, 20, 20);
    place(*g, kSideEnemy, 1, kTank, 30, 20).hp = c.hp;
    place(*g, kSidePlayer, 0, kPlayerHq, 55, 20);
    EXPECT_EQ(choose_strategy(*g), 1) << c.hp;
    if (c.retreats) {
      // Straight back to the free cell east of the HQ: within the move, so it is the goal.
      EXPECT_EQ(g->rules.walk_index, 8) << c.hp;
      EXPECT_EQ(g->rules.path_list[0].x, 21) << c.hp;
      EXPECT_EQ(g->rules.path_list[0].y, 20) << c.hp;
    } else {
      EXPECT_EQ(g->rules.path_list[0].x, 42) << c.hp;
    }
    EXPECT_EQ(g->opponent.enemy_moved, 1) << c.hp;
  }
}

TEST(EnemyRetreat, WalksPartOfTheWayToAFarGoal) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kEnemyHq, 10, 10);
  place(*g, kSideEnemy, 1, kScout, 10, 30).hp = 2;
  place(*g, kSidePlayer, 0, kPlayerHq, 55, 55);
  EXPECT_EQ(enemy_retreat(*g), 1);
  // The nearest free cell is below the HQ, 19 cells off; a scout walks 6 of them.
  EXPECT_EQ(g->rules.pair_list[0].p_x, 10);
  EXPECT_EQ(g->rules.pair_list[0].p_y, 11);
  EXPECT_EQ(g->rules.pair_list[0].p_slot, 0);
  EXPECT_EQ(g->rules.walk_index, 5);
  EXPECT_EQ(g->rules.path_list[0].x, 10);
  EXPECT_EQ(g->rules.path_list[0].y, 24);
  EXPECT_EQ(g->opponent.enemy_moved, 1);
}

TEST(EnemyRetreat, WithNoRoomBesideAnyOwnHqTheUnitKeepsItsCell) {
  const struct {
    const char* name;
    bool hq;  // the computer's HQ is there but walled in; otherwise it holds none
  } cases[] = {{"walled_in_hq", true}, {"no_hq", false}};
  for (const auto& c : cases) {
    auto g = make_game();
    if (c.hq) {
      place(*g, kSideEnemy, 0, kEnemyHq, 20, 20);
      place(*g, kSideEnemy, 2, 23, 19, 20);
      place(*g, kSideEnemy, 3, 23, 21, 20);
      place(*g, kSideEnemy, 4, 23, 20, 19);
      place(*g, kSideEnemy, 5, 23, 20, 21);
    }
    place(*g, kSideEnemy, 1, kTank, 30, 20).hp = 10;
    place(*g, kSidePlayer, 0, kPlayerHq, 55, 20);
    EXPECT_EQ(choose_strategy(*g), 1) << c.name;
    EXPECT_EQ(g->rules.walk_index, -1) << c.name;
    EXPECT_EQ(path_entry(*g, 0).x, 0) << c.name;
    EXPECT_EQ(g->opponent.enemy_moved, 0) << c.name;
    EXPECT_EQ(g->world.selected_slot, 1) << c.name;
  }
}

TEST(EnemyRetreat, ManyHqsNeverOverrunTheGoalList) {
  auto g = make_game();
  // 20 lone HQs offer 80 free cells; the list holds 60 and keeps its end.
  for (int h = 0; h < 20; ++h) place(*g, kSideEnemy, h, kEnemyHq, 5 + 3 * h, 5);
  place(*g, kSideEnemy, 30, kTank, 8, 9).hp = 10;
  place(*g, kSidePlayer, 0, kPlayerHq, 55, 55);
  EXPECT_EQ(enemy_retreat(*g), 30);
  EXPECT_EQ(g->rules.player_candidates[kCandidates - 2].slot, 14);
  EXPECT_EQ(g->rules.player_candidates[kCandidates - 1].slot, kNone);
  EXPECT_EQ(g->rules.pair_list[0].p_slot, 1);  // the cell below the HQ at (8, 5)
  EXPECT_EQ(g->rules.pair_list[0].p_y, 6);
}

}  // namespace
