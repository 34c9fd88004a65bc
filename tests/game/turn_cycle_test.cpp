#include "game/turn_cycle.h"

#include <gtest/gtest.h>

#include <limits>

#include "opponent/opponent_fixture.h"
#include "world/roster_queries.h"

using opponent_test::make_game;
using opponent_test::place;

namespace {

TEST(AddIncome, EveryHqGainsTheIncomePlusItsSidesHqCountUpToTheCeiling) {
  const struct {
    const char* name;
    int side;
    int hqs;
    int32_t amount;
    int32_t start_sp;
    int32_t ceiling;
    int32_t expected;
  } cases[] = {
      {"one_hq", kSidePlayer, 1, 1, 10, 50, 12},
      {"two_hqs", kSidePlayer, 2, 1, 10, 50, 13},
      {"three_hqs_income_3", kSidePlayer, 3, 3, 10, 50, 16},
      {"forty_nine_of_fifty", kSidePlayer, 1, 1, 49, 50, 50},
      {"at_the_ceiling", kSidePlayer, 2, 1, 50, 50, 50},
      {"computer", kSideEnemy, 2, 2, 20, 100, 24},
      {"computer_ceiling", kSideEnemy, 1, 5, 99, 100, 100},
      {"huge_income_does_not_wrap", kSideEnemy, 1, std::numeric_limits<int32_t>::max(), 99, 100,
       100},
  };
  for (const auto& c : cases) {
    auto g = make_game();
    const int hq_type = c.side == kSidePlayer ? kPlayerHq : kEnemyHq;
    g->world.unit_specs[hq_type].max_sp = c.ceiling;
    for (int h = 0; h < c.hqs; ++h)
      place(*g, c.side, 2 * h + 1, hq_type, 10 + 3 * h, 10).sp = c.start_sp;
    // The other side's HQ and a plain unit of the side are left alone.
    const int other_side = c.side == kSidePlayer ? kSideEnemy : kSidePlayer;
    const int other_hq = c.side == kSidePlayer ? kEnemyHq : kPlayerHq;
    place(*g, other_side, 0, other_hq, 40, 40).sp = 7;
    TUnit& plain = place(*g, c.side, 0, c.side == kSidePlayer ? 9 : 20, 30, 30);
    const int32_t plain_sp = plain.sp;

    add_income(*g, c.amount, c.side);
    for (int h = 0; h < c.hqs; ++h) {
      EXPECT_EQ(roster_of(*g, c.side)[2 * h + 1].sp, c.expected) << c.name << " HQ " << h;
    }
    EXPECT_EQ(roster_of(*g, other_side)[0].sp, 7) << c.name;
    EXPECT_EQ(roster_of(*g, c.side)[0].sp, plain_sp) << c.name;
  }
}

TEST(TurnStart, PlayerTurnCountsRepairsRefreshesAndListsTheRepairs) {
  auto g = make_game();
  g->flow.turn_no = 2;
  g->flow.player_income = 1;
  g->world.unit_specs[kPlayerHq].max_sp = 50;
  place(*g, kSidePlayer, 3, kPlayerHq, 30, 30).sp = 10;
  TUnit& rifle = place(*g, kSidePlayer, 5, 4, 31, 30);
  rifle.hp = 18;
  rifle.ready = 0;
  rifle.moved = 1;
  place(*g, kSideEnemy, 0, kEnemyHq, 29, 30).hp = 100;  // beside, but not repaired now
  g->world.focus_slot = 7;

  start_player_turn(*g);
  const WorldState& w = g->world;
  EXPECT_EQ(g->flow.turn_no, 3);
  EXPECT_EQ(w.player_units[3].sp, 12);
  EXPECT_EQ(w.player_units[5].hp, 20);
  EXPECT_EQ(w.enemy_units[0].hp, 100);
  EXPECT_EQ(w.player_units[5].ready, 1);
  EXPECT_EQ(w.player_units[5].moved, 0);
  EXPECT_EQ(w.focus_slot, 3);
  EXPECT_EQ(g->view.view_x, 20);
  EXPECT_EQ(g->view.view_y, 22);
  EXPECT_EQ(g->flow.heal_pos, 0);
  const HealEntry want[] = {{30, 30, 0}, {31, 30, 2}, {kNone, kNone, kNone}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(w.heal_list[i].x, want[i].x) << i;
    EXPECT_EQ(w.heal_list[i].y, want[i].y) << i;
    EXPECT_EQ(w.heal_list[i].amount, want[i].amount) << i;
  }
  // One popup per call; the second reaches the end of the list.
  EXPECT_FALSE(show_next_heal_popup(*g));
  EXPECT_TRUE(show_next_heal_popup(*g));
  EXPECT_EQ(g->flow.heal_pos, 2);
}

TEST(TurnStart, ComputerReservesArriveOnceAtItsFirstTurn) {
  auto g = make_game();
  g->flow.enemy_income = 2;
  place(*g, kSideEnemy, 0, kEnemyHq, 20, 20).sp = 10;
  place(*g, kSideEnemy, 1, 23, 22, 22).ready = 0;
  place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
  for (CellPoint& p : g->world.reserve_points) p = CellPoint{kNone, kNone};
  g->world.reserve_points[0] = CellPoint{30, 30};
  g->world.reserve_points[1] = CellPoint{31, 30};
  g->world.reserve_points[2] = CellPoint{32, 30};
  g->world.reserves_pending = true;

  start_enemy_turn(*g);
  const WorldState& w = g->world;
  EXPECT_FALSE(w.reserves_pending);
  EXPECT_EQ(w.unit_specs[25].count, 1);
  EXPECT_EQ(w.unit_specs[24].count, 2);
  EXPECT_EQ(w.enemy_units[0].sp, 13);
  EXPECT_EQ(w.enemy_units[1].ready, 1);
  EXPECT_EQ(g->flow.turn_no, 1);
  EXPECT_EQ(w.heal_list[0].amount, 0);  // the HQ, at full strength
  EXPECT_EQ(w.heal_list[1].amount, kNone);

  // The squads are no regular units, so only the flag keeps them from coming again.
  start_enemy_turn(*g);
  EXPECT_EQ(w.unit_specs[24].count, 2);
  EXPECT_EQ(g->flow.turn_no, 2);
  EXPECT_EQ(w.enemy_units[0].sp, 16);
}

TEST(HealPopups, EndAtTheListsEndWhateverTheStartingPosition) {
  const struct {
    const char* name;
    int entries;
    int32_t start;
    int calls_to_end;
  } cases[] = {
      {"empty_list", 0, 0, 1},
      {"three_entries", 3, 0, 3},
      {"full_list", kHealEntries - 1, 0, 79},
      {"past_the_end", 0, kHealEntries + 5, 1},
      {"negative", 2, -4, 1},
  };
  for (const auto& c : cases) {
    auto g = make_game();
    for (HealEntry& e : g->world.heal_list) e = HealEntry{kNone, kNone, kNone};
    for (int i = 0; i < c.entries; ++i) g->world.heal_list[i] = HealEntry{10, 10, 4};
    g->flow.heal_pos = c.start;
    int calls = 1;
    while (!show_next_heal_popup(*g)) {
      ++calls;
      ASSERT_LE(calls, kHealEntries + 1) << c.name;
    }
    EXPECT_EQ(calls, c.calls_to_end) << c.name;
  }
}

}  // namespace
