#include "world/production.h"

#include <gtest/gtest.h>

#include "world/roster.h"
#include "world_fixture.h"

using world_test::make_game;

namespace {

// Selects the player's unit in `slot` as the scene machine does before a command.
void select_player(Game& g, int slot) {
  g.world.selected_slot = slot;
  g.world.selected_unit = g.world.player_units[slot];
  g.world.selected_spec = g.world.unit_specs[g.world.selected_unit.type];
}

TEST(Production, TankPricesGrowWithTheirCountAndEveryHqPaysTogether) {
  auto g = make_game();
  WorldState& w = g->world;
  add_unit(*g, 20, 20, kPlayerHq, kSidePlayer, default_hp);
  add_unit(*g, 40, 40, kPlayerHq, kSidePlayer, default_hp);
  w.player_units[0].sp = w.player_units[1].sp = 40;

  const struct {
    int type, dir;
    int32_t price_before, sp_after;
    int cell_x, cell_y;
  } buys[] = {
      {9, kDeployUp, 5, 35, 20, 19},      // the first tank costs 5
      {9, kDeployRight, 10, 25, 21, 20},  // the second 10
      {4, kDeployLeft, 1, 24, 19, 20},
  };
  for (const auto& b : buys) {
    select_player(*g, 0);
    EXPECT_EQ(unit_price(*g, b.type), b.price_before);
    const int32_t slot = produce_unit(*g, b.type, b.dir);
    ASSERT_NE(slot, kNoSlot);
    EXPECT_EQ(w.player_units[slot].type, b.type);
    EXPECT_EQ(w.player_units[slot].x, b.cell_x);
    EXPECT_EQ(w.player_units[slot].y, b.cell_y);
    EXPECT_EQ(w.player_units[slot].ready, 1);
    EXPECT_EQ(w.player_units[0].sp, b.sp_after);
    EXPECT_EQ(w.player_units[1].sp, b.sp_after);  // the other HQ holds the same purse
    EXPECT_EQ(w.player_units[0].ready, 0);
    EXPECT_EQ(w.player_units[1].ready, 1);
  }
  EXPECT_EQ(unit_price(*g, 9), 15);
}

TEST(Production, TwoHqsAt40LeftAt28ByA12SpBuy) {
  auto g = make_game();
  WorldState& w = g->world;
  w.player_units[0] = TUnit{kPlayerHq, 10, 10, 200, 40, 8, 1, 1, 0};
  w.player_units[3] = TUnit{kPlayerHq, 30, 30, 200, 40, 8, 1, 1, 0};
  w.enemy_units[0] = TUnit{kEnemyHq, 50, 50, 200, 40, 8, 1, 1, 0};
  select_player(*g, 3);
  charge_hq(*g, kSidePlayer, 12);
  EXPECT_EQ(w.player_units[0].sp, 28);
  EXPECT_EQ(w.player_units[3].sp, 28);
  EXPECT_EQ(w.player_units[3].ready, 0);
  EXPECT_EQ(w.player_units[0].ready, 1);
  EXPECT_EQ(w.enemy_units[0].sp, 40);
}

TEST(Production, NothingPlacedMeansNothingPaid) {
  auto g = make_game();
  WorldState& w = g->world;
  w.player_units[0] = TUnit{kPlayerHq, 10, 10, 200, 40, 8, 1, 1, 0};
  select_player(*g, 0);
  EXPECT_EQ(produce_unit(*g, 9, 0), kNoSlot);
  EXPECT_EQ(produce_unit(*g, 9, 5), kNoSlot);
  for (int slot = 1; slot < kRosterSlots; ++slot) {
    w.player_units[slot] = TUnit{4, slot, 30, 20, 20, 8, 1, 1, 0};
  }
  EXPECT_EQ(produce_unit(*g, 9, kDeployUp), kNoSlot);
  EXPECT_EQ(w.player_units[0].sp, 40);
  EXPECT_EQ(w.player_units[0].ready, 1);
  EXPECT_EQ(w.unit_specs[9].count, 0);
}

TEST(Production, PricesOfTypesNotOnOffer) {
  auto g = make_game();
  g->world.unit_specs[10].cost = NO_AIR;
  EXPECT_EQ(unit_price(*g, 10), 900);
  EXPECT_EQ(unit_price(*g, 23), 999);
  EXPECT_EQ(unit_price(*g, kPlayerHq), 9999);
}

TEST(FreeDeployCell, LandWithoutAUnitAndNotOnTheRing) {
  auto g = make_game();
  WorldState& w = g->world;
  for (int t = 0; t < kTerrainRows; ++t) w.terrain_layer[10 + t][10] = static_cast<int8_t>(t);
  w.terrain_layer[20][20] = 100;  // damaged byte
  for (int t = 0; t < kTerrainRows; ++t) {
    EXPECT_EQ(is_free_deploy_cell(*g, 10 + t, 10), t >= 4 && t <= 11) << "terrain " << t;
  }
  EXPECT_FALSE(is_free_deploy_cell(*g, 20, 20));
  w.player_units[0] = TUnit{4, 30, 30, 20, 20, 8, 1, 1, 0};
  w.enemy_units[0] = TUnit{15, 31, 30, 20, 20, 8, 1, 1, 0};
  rebuild_occupancy(*g);
  EXPECT_FALSE(is_free_deploy_cell(*g, 30, 30));
  EXPECT_FALSE(is_free_deploy_cell(*g, 31, 30));
  EXPECT_TRUE(is_free_deploy_cell(*g, 32, 30));
  for (auto [x, y] : {std::pair{0, 5}, {63, 5}, {5, 0}, {5, 63}, {-1, 5}, {5, 64}}) {
    EXPECT_FALSE(is_free_deploy_cell(*g, x, y)) << x << "," << y;
  }
}

TEST(DeployDir, ThePointerStrictlyInsideAFreeNeighbour) {
  auto g = make_game();
  WorldState& w = g->world;
  // HQ at (12, 7) with the view at (10, 5): screen cell (2, 2), pixels 64..96.
  w.player_units[0] = TUnit{kPlayerHq, 12, 7, 200, 40, 8, 1, 1, 0};
  g->view.view_x = 10;
  g->view.view_y = 5;
  rebuild_occupancy(*g);
  const struct {
    int px, py, want;
  } cases[] = {
      {80, 48, kDeployUp},   {112, 80, kDeployRight}, {80, 112, kDeployDown}, {48, 80, kDeployLeft},
      {80, 80, kDeployNone},  // on the HQ itself
      {64, 48, kDeployNone},  // the outline's first column
      {80, 32, kDeployNone},  // the outline's first row
      {65, 33, kDeployUp},   {95, 63, kDeployUp},     {96, 63, kDeployNone},  {-5, -5, kDeployNone},
  };
  for (const auto& c : cases) {
    g->input.cursor_x = c.px;
    g->input.cursor_y = c.py;
    EXPECT_EQ(deploy_dir_at(*g, 12, 7), c.want) << c.px << "," << c.py;
  }

  // A neighbour that is not free is not offered even under the pointer.
  w.terrain_layer[12][6] = 3;
  g->input.cursor_x = 80;
  g->input.cursor_y = 48;
  EXPECT_EQ(deploy_dir_at(*g, 12, 7), kDeployNone);
  bool available[4];
  free_neighbours(*g, 12, 7, available);
  EXPECT_FALSE(available[0]);
  EXPECT_TRUE(available[1]);

  // Walled in: water above, sea right, a unit below, rocky mountain left.
  w.terrain_layer[13][7] = 1;
  w.player_units[1] = TUnit{4, 12, 8, 20, 20, 8, 1, 1, 0};
  w.terrain_layer[11][7] = 2;
  rebuild_occupancy(*g);
  EXPECT_EQ(deploy_dir_at(*g, 12, 7), kDeployWalledIn);
}

TEST(RepairUnit, AFifthOfFullStrengthNeverBeyondIt) {
  const struct {
    int type;
    int32_t hp, amount, hp_after;
  } cases[] = {
      {9, 95, 5, 100}, {9, 80, 20, 100}, {9, 50, 20, 70}, {9, 100, 0, 100},
      {4, 18, 2, 20},  {1, 200, 0, 200}, {1, 1, 40, 41},  {2, 3, 2, 5},
  };
  for (const auto& c : cases) {
    auto g = make_game();
    g->world.enemy_units[6] = TUnit{c.type, 5, 5, c.hp, 0, 8, 1, 1, 0};
    EXPECT_EQ(repair_unit(*g, kSideEnemy, 6), c.amount) << c.type << " at " << c.hp;
    EXPECT_EQ(g->world.enemy_units[6].hp, c.hp_after);
  }
}

TEST(RepairAtHqs, EachHqThenItsOwnUnitsRightLeftBelowAbove) {
  auto g = make_game();
  WorldState& w = g->world;
  w.player_units[0] = TUnit{4, 21, 20, 18, 20, 8, 1, 1, 0};  // right of HQ A
  w.player_units[1] = TUnit{kPlayerHq, 20, 20, 200, 40, 8, 1, 1, 0};
  w.player_units[2] = TUnit{9, 20, 19, 95, 30, 8, 1, 1, 0};   // above A
  w.player_units[3] = TUnit{9, 19, 20, 100, 30, 8, 1, 1, 0};  // left of A, at full strength
  w.enemy_units[0] = TUnit{14, 20, 21, 5, 20, 8, 1, 1, 0};    // below A: an enemy
  w.player_units[5] = TUnit{kPlayerHq, 40, 40, 150, 40, 8, 1, 1, 0};
  w.enemy_units[1] = TUnit{kEnemyHq, 50, 50, 100, 40, 8, 1, 1, 0};
  w.enemy_units[2] = TUnit{14, 51, 50, 5, 20, 8, 1, 1, 0};
  w.player_units[6] = TUnit{4, 50, 51, 5, 20, 8, 1, 1, 0};  // a player unit by the enemy HQ
  rebuild_occupancy(*g);

  repair_at_hqs(*g, kSidePlayer);
  const HealEntry want[] = {{20, 20, 0}, {21, 20, 2},  {19, 20, 0},
                            {20, 19, 5}, {40, 40, 40}, {kNone, kNone, kNone}};
  for (size_t i = 0; i < std::size(want); ++i) {
    EXPECT_EQ(w.heal_list[i].x, want[i].x) << i;
    EXPECT_EQ(w.heal_list[i].y, want[i].y) << i;
    EXPECT_EQ(w.heal_list[i].amount, want[i].amount) << i;
  }
  EXPECT_EQ(w.heal_list[kHealEntries - 1].amount, kNone);
  EXPECT_EQ(w.player_units[0].hp, 20);
  EXPECT_EQ(w.player_units[2].hp, 100);
  EXPECT_EQ(w.enemy_units[0].hp, 5);
  EXPECT_EQ(w.player_units[6].hp, 5);
  EXPECT_EQ(w.enemy_units[2].hp, 5);

  repair_at_hqs(*g, kSideEnemy);
  EXPECT_EQ(w.heal_list[0].amount, 40);
  EXPECT_EQ(w.heal_list[1].x, 51);
  EXPECT_EQ(w.heal_list[1].amount, 4);
  EXPECT_EQ(w.heal_list[2].amount, kNone);
  EXPECT_EQ(w.heal_list[5].x, kNone);  // the previous turn's entries are gone
  EXPECT_EQ(w.player_units[6].hp, 5);
}

TEST(RepairAtHqs, RepairsBeyondTheListsRoomStillHealAndTheListStillEnds) {
  auto g = make_game();
  WorldState& w = g->world;
  // 60 HQs packed in a 10 by 6 block: every HQ repairs itself and each HQ beside it, 268
  // repairs in all, far more than the 79 entries the list holds before its end marker.
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    w.player_units[slot] = TUnit{kPlayerHq, 20 + slot % 10, 20 + slot / 10, 100, 40, 8, 1, 1, 0};
  }
  rebuild_occupancy(*g);
  repair_at_hqs(*g, kSidePlayer);
  for (int i = 0; i < kHealEntries - 1; ++i) EXPECT_NE(w.heal_list[i].amount, kNone) << i;
  const HealEntry& last = w.heal_list[kHealEntries - 1];
  EXPECT_EQ(last.x, kNone);
  EXPECT_EQ(last.y, kNone);
  EXPECT_EQ(last.amount, kNone);
  EXPECT_EQ(w.heal_list[0].x, 20);
  EXPECT_EQ(w.heal_list[0].amount, 40);
  // Even the HQs handled after the list was full have had all their repairs (3 or more).
  for (int slot = 0; slot < kRosterSlots; ++slot) EXPECT_EQ(w.player_units[slot].hp, 200) << slot;
}

}  // namespace
