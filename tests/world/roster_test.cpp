#include "world/roster.h"

#include <gtest/gtest.h>

#include "world/roster_queries.h"
#include "world_fixture.h"

using world_test::count_seen;
using world_test::make_game;

namespace {

TEST(AddUnit, FillsTheFirstFreeSlotWithAReadyUnit) {
  struct Case {
    const char* what;
    int type, side, hp;
    int32_t start_sp;
    int32_t max_sp;  // of the HQ rows
    int32_t want_hp, want_sp;
  } cases[] = {
      {"tank at full strength", 9, kSidePlayer, default_hp, 100, 0, 100, 30},
      {"tank at 1 hp", 9, kSidePlayer, 1, 100, 0, 1, 30},
      {"player HQ capped by start SP", kPlayerHq, kSidePlayer, default_hp, 50, 100, 200, 50},
      {"player HQ capped by its row", kPlayerHq, kSidePlayer, default_hp, 80, 50, 200, 50},
      {"enemy HQ capped by start SP", kEnemyHq, kSideEnemy, 1, 30, 100, 1, 30},
      {"enemy ace tank", 25, kSideEnemy, default_hp, 0, 0, 500, 30},
      // The start SP belongs to the HQ of the roster's own side only.
      {"enemy HQ row in the player roster", kEnemyHq, kSidePlayer, default_hp, 10, 100, 200, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto g = make_game();
    WorldState& w = g->world;
    w.player_start_sp = w.enemy_start_sp = c.start_sp;
    if (c.max_sp != 0) w.unit_specs[kPlayerHq].max_sp = w.unit_specs[kEnemyHq].max_sp = c.max_sp;
    TUnit* roster = c.side == kSidePlayer ? w.player_units : w.enemy_units;
    roster[0] = TUnit{3, 2, 2, 20, 20, 8, 1, 0, 0};

    EXPECT_EQ(add_unit(*g, 10, 12, c.type, c.side, c.hp), 1);
    const TUnit& u = roster[1];
    EXPECT_EQ(u.type, c.type);
    EXPECT_EQ(u.x, 10);
    EXPECT_EQ(u.y, 12);
    EXPECT_EQ(u.hp, c.want_hp);
    EXPECT_EQ(u.sp, c.want_sp);
    EXPECT_EQ(u.status, 1);
    EXPECT_EQ(u.ready, 1);
    EXPECT_EQ(w.unit_specs[c.type].count, 1);
  }
}

TEST(AddUnit, ReusesASlotWhoseXOrYIsZeroWhateverElseItHolds) {
  auto g = make_game();
  TUnit* p = g->world.player_units;
  p[0] = TUnit{4, 3, 3, 20, 20, 8, 1, 1, 0};
  p[1] = TUnit{9, 0, 7, 55, 30, 8, 1, 1, 1};  // x 0: free, though typed and alive
  p[2] = TUnit{9, 7, 0, 55, 30, 8, 1, 1, 1};  // y 0: free as well
  EXPECT_EQ(add_unit(*g, 20, 21, 2, kSidePlayer, default_hp), 1);
  EXPECT_EQ(p[1].type, 2);
  EXPECT_EQ(p[1].hp, 10);
  EXPECT_EQ(add_unit(*g, 22, 21, 2, kSidePlayer, default_hp), 2);
  EXPECT_EQ(p[2].x, 22);
  EXPECT_EQ(add_unit(*g, 24, 21, 2, kSidePlayer, default_hp), 3);
}

TEST(AddUnit, AFullRosterRefusesInsteadOfOverwritingSlot59) {
  for (bool slot_59_free : {true, false}) {
    SCOPED_TRACE(slot_59_free);
    auto g = make_game();
    TUnit* e = g->world.enemy_units;
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      e[slot] = TUnit{14, 1 + slot, 5, 20, 20, 8, 1, 1, 0};
    }
    if (slot_59_free) e[59] = TUnit{};
    const TUnit before = e[59];

    const int32_t slot = add_unit(*g, 30, 30, 20, kSideEnemy, default_hp);
    if (slot_59_free) {
      EXPECT_EQ(slot, 59);
      EXPECT_EQ(e[59].type, 20);
      EXPECT_EQ(g->world.unit_specs[20].count, 1);
    } else {
      EXPECT_EQ(slot, kNoSlot);
      EXPECT_EQ(e[59].type, before.type);
      EXPECT_EQ(e[59].x, before.x);
      EXPECT_EQ(g->world.unit_specs[20].count, 0);
    }
  }
}

TEST(AddUnit, LaterPlacementsSeeTheNewUnitOnTheMapAndInVision) {
  auto g = make_game();
  add_unit(*g, 10, 10, 4, kSidePlayer, default_hp);
  EXPECT_EQ(g->world.occupancy[10][10], 0);
  EXPECT_EQ(count_seen(*g, kSidePlayer), 25);
  add_unit(*g, 20, 20, 14, kSideEnemy, default_hp);
  EXPECT_EQ(g->world.occupancy[20][20], 64);
  EXPECT_EQ(count_seen(*g, kSideEnemy), 0);  // the enemy's grid is its own business
}

TEST(RebuildOccupancy, SlotsBySideAndTheRingNeverEntered) {
  auto g = make_game();
  WorldState& w = g->world;
  w.terrain_layer[12][8] = 5;
  w.player_units[0] = TUnit{4, 12, 8, 20, 20, 0, 1, 1, 0};
  w.enemy_units[3] = TUnit{15, 30, 31, 20, 20, 0, 1, 1, 0};
  // A shared cell: the enemy is entered last; within a side the higher slot wins.
  w.player_units[5] = TUnit{4, 40, 40, 20, 20, 0, 1, 1, 0};
  w.player_units[6] = TUnit{4, 40, 40, 20, 20, 0, 1, 1, 0};
  w.enemy_units[1] = TUnit{15, 41, 41, 20, 20, 0, 1, 1, 0};
  w.player_units[7] = TUnit{4, 41, 41, 20, 20, 0, 1, 1, 0};
  // The ring and beyond.
  w.player_units[10] = TUnit{4, 63, 20, 20, 20, 77, 1, 1, 0};
  w.player_units[11] = TUnit{4, 20, 63, 20, 20, 77, 1, 1, 0};
  w.enemy_units[12] = TUnit{15, 0, 20, 20, 20, 77, 1, 1, 0};
  w.enemy_units[13] = TUnit{15, 70, -4, 20, 20, 77, 1, 1, 0};
  w.occupancy[5][5] = 17;  // stale

  rebuild_occupancy(*g);
  EXPECT_EQ(w.occupancy[12][8], 0);
  EXPECT_EQ(w.player_units[0].terrain, 5);
  EXPECT_EQ(w.occupancy[30][31], 67);
  EXPECT_EQ(w.enemy_units[3].terrain, 8);
  EXPECT_EQ(w.occupancy[40][40], 6);
  EXPECT_EQ(w.occupancy[41][41], 65);
  EXPECT_EQ(w.occupancy[5][5], kNoUnit);
  EXPECT_EQ(w.player_units[10].terrain, 77);  // not entered, not refreshed
  for (int i = 0; i < kMapSize; ++i) {
    for (int ring : {0, kMapSize - 1}) {
      EXPECT_EQ(w.occupancy[i][ring], kNoUnit);
      EXPECT_EQ(w.occupancy[ring][i], kNoUnit);
    }
  }
  // Still in its roster, though.
  EXPECT_EQ(w.player_units[10].type, 4);
}

TEST(RemoveDestroyed, AFallenHqChangesSidesWithTheHighestSpOfItsCaptors) {
  struct Case {
    const char* what;
    int fallen_side;
    int32_t captor_sps[2];  // 0 = no HQ in that entry
    int32_t want_sp;
  } cases[] = {
      {"player HQ, enemy HQs at 12 and 30", kSidePlayer, {12, 30}, 30},
      {"player HQ, enemy HQs at 30 and 12", kSidePlayer, {30, 12}, 30},
      {"enemy HQ, player HQ at 44", kSideEnemy, {44, 0}, 44},
      {"enemy HQ, player holds no HQ", kSideEnemy, {0, 0}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto g = make_game();
    WorldState& w = g->world;
    w.player_start_sp = w.enemy_start_sp = 5;
    const int captor = 1 - c.fallen_side;
    const int fallen_type = c.fallen_side == kSidePlayer ? kPlayerHq : kEnemyHq;
    const int captor_type = c.fallen_side == kSidePlayer ? kEnemyHq : kPlayerHq;
    TUnit* fallen_roster = roster_of(*g, c.fallen_side);
    TUnit* captor_roster = roster_of(*g, captor);
    fallen_roster[2] = TUnit{fallen_type, 9, 9, 0, 40, 8, 1, 0, 0};
    int hqs = 0;
    for (int i = 0; i < 2; ++i) {
      if (c.captor_sps[i] == 0) continue;
      captor_roster[i] = TUnit{captor_type, 20 + i, 20, 200, c.captor_sps[i], 8, 1, 0, 0};
      ++hqs;
    }
    captor_roster[4] = TUnit{captor_type == kPlayerHq ? 9 : 20, 30, 30, 0, 30, 8, 1, 0, 0};

    remove_destroyed(*g);
    EXPECT_EQ(fallen_roster[2].type, 0);
    EXPECT_EQ(fallen_roster[2].x, 0);
    EXPECT_EQ(captor_roster[4].type, 0);  // destroyed on the captor's side: cleared
    // The captured HQ takes the first free slot after the captor's own HQs.
    const int slot = hqs;
    const TUnit& taken = captor_roster[slot];
    EXPECT_EQ(taken.type, captor_type);
    EXPECT_EQ(taken.x, 9);
    EXPECT_EQ(taken.y, 9);
    EXPECT_EQ(taken.hp, 1);
    EXPECT_EQ(taken.sp, c.want_sp);
    EXPECT_EQ(taken.ready, 1);
    EXPECT_EQ(count_units(*g, captor == kSidePlayer ? kCountPlayerHqs : kCountEnemyHqs), hqs + 1);
    EXPECT_EQ(w.unit_specs[captor_type].count, hqs + 1);
    EXPECT_EQ(w.unit_specs[fallen_type].count, 0);
  }
}

TEST(RemoveDestroyed, ACaptureIntoAFullRosterLosesTheHqButNoOtherUnit) {
  auto g = make_game();
  WorldState& w = g->world;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    w.enemy_units[slot] = TUnit{14, 1 + slot, 5, 20, 20, 8, 1, 1, 0};
  }
  w.player_units[0] = TUnit{kPlayerHq, 9, 9, -3, 40, 8, 1, 0, 0};
  remove_destroyed(*g);
  EXPECT_EQ(w.player_units[0].type, 0);
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    EXPECT_EQ(w.enemy_units[slot].type, 14) << slot;
    EXPECT_EQ(w.enemy_units[slot].x, 1 + slot) << slot;
  }
  EXPECT_EQ(count_units(*g, kCountEnemyHqs), 0);
}

TEST(DeployReserves, OnlyWhenTheEnemyHasNoRegularUnit) {
  struct Case {
    const char* what;
    int other_type;  // an extra enemy unit, 0 for none
    bool ace;
    int squads;
    bool want_placed;
  } cases[] = {
      {"HQ and position only", 23, true, 3, true},
      {"HQ alone, squads without ace", 0, false, 2, true},
      {"a scout still stands", 13, true, 3, false},
      {"a fighter still stands", 22, true, 1, false},
      {"an old squad does not count", 24, true, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto g = make_game();
    WorldState& w = g->world;
    w.enemy_units[0] = TUnit{kEnemyHq, 5, 5, 200, 100, 8, 1, 1, 0};
    if (c.other_type != 0) w.enemy_units[1] = TUnit{c.other_type, 6, 5, 20, 20, 8, 1, 1, 0};
    for (auto& p : w.reserve_points) p = CellPoint{kNone, kNone};
    if (c.ace) w.reserve_points[0] = CellPoint{30, 30};
    for (int i = 1; i <= c.squads; ++i) w.reserve_points[i] = CellPoint{30 + i, 31};
    // Past the end marker nothing is read.
    w.reserve_points[c.squads + 2] = CellPoint{50, 50};

    deploy_reserves(*g);
    int aces = 0, squads = 0;
    for (const TUnit& u : w.enemy_units) {
      aces += u.type == 25;
      squads += u.type == 24 && u.x > 30;
      EXPECT_FALSE(u.x == 50 && u.y == 50);
    }
    EXPECT_EQ(aces, c.want_placed && c.ace ? 1 : 0);
    EXPECT_EQ(squads, c.want_placed ? c.squads : 0);
    if (c.want_placed && c.ace) {
      const int o = w.occupancy[30][30];
      ASSERT_GE(o, kEnemyOccupancyBase);
      EXPECT_EQ(w.enemy_units[o - kEnemyOccupancyBase].type, 25);
      EXPECT_EQ(w.enemy_units[o - kEnemyOccupancyBase].hp, 500);
    }
  }
}

TEST(LowestOf, PicksTheSmaller) {
  EXPECT_EQ(lowest_of(3, 7), 3);
  EXPECT_EQ(lowest_of(7, 3), 3);
  EXPECT_EQ(lowest_of(-2, -2), -2);
}

}  // namespace
