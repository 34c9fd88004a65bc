#include "support/invariants.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/game_tick.h"
#include "rules/combat.h"
#include "state/game.h"
#include "world/map_file.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/tables.h"

namespace {

constexpr int kPlain = 8;

// A small battle in a consistent state: two HQs and a soldier on each side, a reserve squad
// and the ace, the first turn's repairs listed and the player's soldier's targets paired.
std::unique_ptr<Game> small_battle() {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  g->world.player_start_sp = 40;
  g->world.enemy_start_sp = 40;
  g->world.unit_specs[kPlayerHq].max_sp = 50;
  g->world.unit_specs[kEnemyHq].max_sp = 50;
  std::vector<uint8_t> map(kMapFileBytes, 0);
  const auto put = [&](int x, int y, int code) { map[kObjectLayerOffset + 64 * y + x] = code; };
  for (int cell = 0; cell < kMapSize * kMapSize; ++cell) map[kTerrainLayerOffset + cell] = kPlain;
  put(5, 5, 16);    // player HQ, slot 0
  put(6, 5, 18);    // player assault infantry, slot 1
  put(9, 6, 16);    // a second player HQ, slot 2
  put(8, 5, 48);    // enemy HQ, slot 0
  put(8, 6, 50);    // enemy assault infantry, slot 1
  put(30, 30, 60);  // a squad's reserve cell
  put(31, 31, 61);  // the ace's reserve cell
  load_map_image(*g, map.data(), map.size());
  recount_types(*g);
  repair_at_hqs(*g, kSidePlayer);
  list_player_targets(*g, 6, 5, 1, 3);
  g->flow.scene = 100;
  return g;
}

struct Breakage {
  const char* name;
  std::function<void(Game&)> apply;
  const char* expect;  // a piece of the report
};

TEST(Invariants, ASmallBattleHoldsThemAllInBothModes) {
  auto g = small_battle();
  std::string why;
  EXPECT_TRUE(check_invariants(*g, OccupancyCheck::kCurrent, &why)) << why;
  EXPECT_TRUE(check_invariants(*g, &why)) << why;
  // The list of the repairs and the pairs are really there, not empty lists.
  EXPECT_NE(g->world.heal_list[0].amount, kNone);
  EXPECT_EQ(g->rules.pair_list[0].e_slot, 0);
  EXPECT_EQ(g->rules.pair_list[1].e_slot, 1);
  EXPECT_EQ(g->rules.pair_list[2].p_slot, kNone);
}

TEST(Invariants, AGameNeverStartedHoldsThem) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  std::string why;
  EXPECT_TRUE(check_invariants(*g, OccupancyCheck::kNamesSlots, &why)) << why;
}

TEST(Invariants, EachBrokenOneIsReported) {
  const Breakage cases[] = {
      {"scene", [](Game& g) { g.flow.scene = 7; }, "scene 7 is no scene code"},
      {"view_x", [](Game& g) { g.view.view_x = 45; }, "view_x 45"},
      {"view_y", [](Game& g) { g.view.view_y = -1; }, "view_y -1"},
      {"anim_fast", [](Game& g) { g.flow.anim_fast = 6; }, "anim_fast"},
      {"wait_ticks", [](Game& g) { g.flow.wait_ticks = -1; }, "wait_ticks"},
      {"heal_pos", [](Game& g) { g.flow.heal_pos = 80; }, "heal_pos"},
      {"timer", [](Game& g) { g.flow.timer1_enabled = false; }, "Timer1"},
      {"hover", [](Game& g) { g.ui.hover_item = 41; }, "hover_item 41"},
      {"hp above max",
       [](Game& g) { g.world.player_units[1].hp = g.world.unit_specs[3].max_hp + 1; },
       "player slot 1 has hp 21 above max_hp 20"},
      {"hp negative", [](Game& g) { g.world.enemy_units[1].hp = -3; }, "negative hp -3"},
      {"destroyed on the map", [](Game& g) { g.world.enemy_units[1].hp = 0; },
       "enemy slot 1 is destroyed"},
      {"type of the other side", [](Game& g) { g.world.enemy_units[1].type = 3; },
       "enemy slot 1 holds type 3"},
      {"outer ring", [](Game& g) { g.world.player_units[1].x = 63; }, "off the inner map"},
      {"half cleared slot", [](Game& g) { g.world.player_units[10].x = 4; },
       "player slot 10 is empty but not cleared"},
      {"shared cell",
       [](Game& g) {
         g.world.player_units[1].x = 5;
         g.world.player_units[1].y = 5;
       },
       "player slots 0 and 1 both stand at (5, 5)"},
      {"status", [](Game& g) { g.world.player_units[1].status = 0; }, "status 0"},
      {"ready", [](Game& g) { g.world.player_units[1].ready = 2; }, "ready 2"},
      {"moved", [](Game& g) { g.world.enemy_units[1].moved = 7; }, "moved 7"},
      {"SP over the ceiling",
       [](Game& g) {
         for (int s : {0, 2}) g.world.player_units[s].sp = 51;
       },
       "player HQ in slot 0 has SP 51 outside 0..50"},
      {"SP negative", [](Game& g) { g.world.enemy_units[0].sp = -1; }, "SP -1"},
      {"purses apart", [](Game& g) { g.world.player_units[2].sp = 12; },
       "player HQs in slots 0 and 2 hold SP 40 and 12"},
      {"count", [](Game& g) { g.world.unit_specs[3].count = 2; },
       "count of type 3 is 2, the rosters hold 1"},
      {"occupancy names no slot", [](Game& g) { g.world.occupancy[40][40] = 64 + 60; },
       "occupancy (40, 40) is 124"},
      {"occupancy below the enemy base", [](Game& g) { g.world.occupancy[40][40] = 60; },
       "names no slot"},
      {"terrain code", [](Game& g) { g.world.terrain_layer[3][3] = 16; }, "terrain (3, 3) is 16"},
      {"vision value", [](Game& g) { g.world.vision[0][5][5] = 2; }, "player vision (5, 5) is 2"},
      {"vision on the ring", [](Game& g) { g.world.vision[1][0][7] = 1; },
       "enemy vision sees (0, 7)"},
      {"reserve marker",
       [](Game& g) {
         g.world.reserve_points[kReservePoints - 1] = CellPoint{4, 4};
       },
       "reserve_points lost its end marker"},
      {"reserve gap",
       [](Game& g) {
         g.world.reserve_points[3] = CellPoint{4, 4};
       },
       "reserve entry 3 holds a cell after the end marker"},
      {"ace off the map",
       [](Game& g) {
         g.world.reserve_points[0] = CellPoint{0, 4};
       },
       "the ace's reserve cell"},
      {"heal marker",
       [](Game& g) {
         for (HealEntry& e : g.world.heal_list) e = HealEntry{5, 5, 0};
       },
       "heal_list lost its end marker"},
      {"heal after marker",
       [](Game& g) {
         g.world.heal_list[50] = HealEntry{5, 5, 3};
       },
       "heal_list entry 50 follows the end marker"},
      {"heal half marker", [](Game& g) { g.world.heal_list[0].amount = kNone; }, "half marker"},
      {"pairs out of order", [](Game& g) { std::swap(g.rules.pair_list[0], g.rules.pair_list[1]); },
       "pair_list is out of order at 1 (2 after 3)"},
      {"pairs out of order further down",
       [](Game& g) {
         g.rules.pair_list[2] = g.rules.pair_list[1];
         g.rules.pair_list[1] = g.rules.pair_list[0];
         g.rules.pair_list[1].distance = 4;
         g.rules.pair_list[1].e_y += 2;
       },
       "pair_list is out of order at 2 (3 after 4)"},
      {"pair distance", [](Game& g) { g.rules.pair_list[0].distance = 1; },
       "pair_list entry 0 gives distance 1 for 2"},
      {"pair slot", [](Game& g) { g.rules.pair_list[0].e_slot = 60; }, "names slots 1 and 60"},
      {"half cleared pair", [](Game& g) { g.rules.pair_list[99].p_x = 3; }, "half cleared"},
      {"candidate", [](Game& g) { g.rules.enemy_candidates[0].slot = 61; },
       "enemy_candidates entry 0 names slot 61"},
      {"last_target", [](Game& g) { g.rules.last_target = 60; }, "last_target 60"},
      {"walk_index", [](Game& g) { g.rules.walk_index = 1000; }, "walk_index 1000"},
      {"path_fill", [](Game& g) { g.rules.path_fill = 1001; }, "path_fill 1001"},
      {"path cell",
       [](Game& g) {
         g.rules.path_list[3] = CellPoint{64, 2};
       },
       "path_list entry 3 (64, 2)"},
      {"selected_slot", [](Game& g) { g.world.selected_slot = 60; }, "selected_slot 60"},
      {"selected type", [](Game& g) { g.world.selected_unit.type = 34; }, "selected_unit"},
      {"focus_slot", [](Game& g) { g.world.focus_slot = -1; }, "focus_slot -1"},
      {"deploy_dir", [](Game& g) { g.world.deploy_dir = 6; }, "deploy_dir 6"},
      {"enemy_moved", [](Game& g) { g.opponent.enemy_moved = 2; }, "enemy_moved"},
      {"debug ring", [](Game& g) { g.debug.count = kDebugLines + 1; }, "debug ring holds"},
      {"debug line", [](Game& g) { std::memset(g.debug.lines[17], 'x', kDebugLineBytes); },
       "debug line 17 is not terminated"},
  };
  for (const Breakage& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = small_battle();
    c.apply(*g);
    std::string why;
    EXPECT_FALSE(check_invariants(*g, OccupancyCheck::kNamesSlots, &why));
    EXPECT_NE(why.find(c.expect), std::string::npos) << why;
  }
}

// Between a change of the rosters and the next redraw the layer lags: only the strict mode,
// meant for right after a redraw, objects.
TEST(Invariants, AStaleOccupancyLayerFailsOnlyTheStrictCheck) {
  const Breakage cases[] = {
      {"unit moved", [](Game& g) { g.world.player_units[1].x = 7; },
       "occupancy (6, 5) is 1, the rosters give 255"},
      {"unit removed",
       [](Game& g) {
         g.world.enemy_units[1] = TUnit{};
         recount_types(g);
       },
       "occupancy (8, 6) is 65, the rosters give 255"},
      {"enemy covers player",
       [](Game& g) {
         g.world.enemy_units[1].x = 6;
         g.world.enemy_units[1].y = 5;
       },
       "occupancy (6, 5) is 1, the rosters give 65"},
      {"terrain noted", [](Game& g) { g.world.terrain_layer[6][5] = 9; },
       "player slot 1 at (6, 5) notes terrain 8, its cell has 9"},
  };
  for (const Breakage& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = small_battle();
    c.apply(*g);
    std::string why;
    EXPECT_TRUE(check_invariants(*g, OccupancyCheck::kNamesSlots, &why)) << why;
    EXPECT_FALSE(check_invariants(*g, OccupancyCheck::kCurrent, &why));
    EXPECT_NE(why.find(c.expect), std::string::npos) << why;
    rebuild_occupancy(*g);
    EXPECT_TRUE(check_invariants(*g, OccupancyCheck::kCurrent, &why)) << why;
  }
}

// The computer's advance copies the pair of the target it chose over entry 0.
TEST(Invariants, TheFirstPairMayBeACopyOfTheChosenTarget) {
  auto g = small_battle();
  g->rules.pair_list[0] = g->rules.pair_list[1];
  std::string why;
  EXPECT_TRUE(check_invariants(*g, &why)) << why;
}

TEST(Invariants, ADestroyedUnitMayWaitOnlyForItsRemoval) {
  const struct {
    int scene;
    bool allowed;
  } cases[] = {{372, true},  {5060, true}, {5050, true}, {0, true},     {11, true},
               {100, false}, {373, false}, {390, false}, {5040, false}, {6040, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scene);
    auto g = small_battle();
    g->flow.scene = c.scene;
    g->world.enemy_units[1].hp = 0;
    std::string why;
    EXPECT_EQ(check_invariants(*g, &why), c.allowed) << why;
  }
}

}  // namespace
