// An HQ's production run through its scenes: the list, the release gates, the choice of the
// cell and the placement.
#include <gtest/gtest.h>

#include <vector>

#include "game/scenes.h"
#include "opponent/opponent_fixture.h"
#include "support/fake_host.h"
#include "world/production.h"

using opponent_test::make_game;
using opponent_test::place;

namespace {

constexpr int kTankRow = 8;  // type 9

// The player's HQ on (5, 5) selected, the view at the map's corner, so the cell above it is drawn
// at (160, 128).
struct Field {
  std::unique_ptr<Game> g = make_game();
  FakeHost host;

  explicit Field(int32_t sp = 40) {
    g->form.host = &host;
    place(*g, kSidePlayer, 0, kPlayerHq, 5, 5).sp = sp;
    place(*g, kSidePlayer, 3, kPlayerHq, 30, 30).sp = sp;
    place(*g, kSideEnemy, 0, kEnemyHq, 50, 50);
    g->world.selected_slot = 0;
    g->world.selected_unit = g->world.player_units[0];
    g->world.selected_spec = g->world.unit_specs[kPlayerHq];
  }
  void pointer(int x, int y, bool left, bool right) {
    g->input.cursor_x = x;
    g->input.cursor_y = y;
    g->input.left_down = left ? 1 : 0;
    g->input.right_down = right ? 1 : 0;
  }
};

TEST(ProductionScenes, ReleaseGatesWaitForTheLeftButton) {
  const struct {
    int scene;
    bool left;
    int next;
  } cases[] = {{120, true, 120}, {120, false, 130}, {140, true, 140}, {140, false, 150}};
  for (const auto& c : cases) {
    Field f;
    f.g->flow.scene = c.scene;
    f.pointer(0, 0, c.left, false);
    (c.scene == 120 ? scene_production_list_gate : scene_deploy_gate)(*f.g);
    EXPECT_EQ(f.g->flow.scene, c.next) << c.scene << " left " << c.left;
    EXPECT_TRUE(f.host.sounds().empty());
  }
}

TEST(ProductionScenes, TheListTakesAnAffordableRowOrCancels) {
  const struct {
    const char* name;
    int32_t sp;
    int y;
    bool left, right;
    int next;
    std::vector<int> sounds;
  } cases[] = {
      {"choose_tank", 40, 117 + 20 * (kTankRow - 1), true, false, 140, {1}},
      {"tank_too_dear", 4, 117 + 20 * (kTankRow - 1), true, false, 130, {}},
      {"hover_without_click", 40, 117, false, false, 130, {}},
      {"cancel", 40, 117, false, true, 400, {2}},
      {"choose_and_cancel", 40, 117, true, true, 400, {1, 2}},
  };
  for (const auto& c : cases) {
    Field f(c.sp);
    f.g->flow.scene = 130;
    f.pointer(400, c.y, c.left, c.right);
    scene_production_list(*f.g);
    EXPECT_EQ(f.g->flow.scene, c.next) << c.name;
    EXPECT_EQ(f.host.sounds(), c.sounds) << c.name;
  }
}

TEST(ProductionScenes, PlacementPaysFromTheSharedPurseAndGoesOnToTheAttack) {
  const struct {
    const char* name;
    bool other_ready;  // another player unit may still act
    int px, py;
    bool left, right;
    int next;
    bool placed;
    std::vector<int> sounds;
  } cases[] = {
      {"place_above", true, 170, 140, true, false, 160, true, {1}},
      // The new unit may act at once, so the turn goes on even when nothing else can.
      {"new_unit_keeps_the_turn_going", false, 170, 140, true, false, 160, true, {1}},
      {"pointer_on_the_hq", true, 170, 170, true, false, 150, false, {}},
      {"pointer_on_an_outline_edge", true, 170, 128, true, false, 150, false, {}},
      {"cancel", true, 170, 140, false, true, 400, false, {2}},
      {"place_and_cancel", true, 170, 140, true, true, 400, true, {1, 2}},
  };
  for (const auto& c : cases) {
    Field f;
    if (c.other_ready) place(*f.g, kSidePlayer, 7, 4, 20, 20);
    f.g->world.player_units[3].ready = 0;
    f.g->flow.scene = 150;
    f.g->flow.wait_ticks = 7;
    f.g->ui.hover_item = kTankRow;
    f.pointer(c.px, c.py, c.left, c.right);
    scene_deploy_cell(*f.g);
    const WorldState& w = f.g->world;
    EXPECT_EQ(f.g->flow.scene, c.next) << c.name;
    EXPECT_EQ(f.host.sounds(), c.sounds) << c.name;
    EXPECT_EQ(f.g->flow.wait_ticks, 7) << c.name;  // no pause of its own
    const int o = w.occupancy[5][4];
    if (c.placed) {
      ASSERT_LT(o, kEnemyOccupancyBase) << c.name;
      EXPECT_EQ(w.player_units[o].type, 9) << c.name;
      EXPECT_EQ(w.player_units[o].ready, 1) << c.name;
      EXPECT_EQ(w.player_units[0].sp, 35) << c.name;
      EXPECT_EQ(w.player_units[3].sp, 35) << c.name;
      EXPECT_EQ(w.player_units[0].ready, 0) << c.name;
    } else {
      EXPECT_EQ(o, kNoUnit) << c.name;
      EXPECT_EQ(w.player_units[0].sp, 40) << c.name;
      EXPECT_EQ(w.player_units[0].ready, 1) << c.name;
    }
  }
}

TEST(ProductionScenes, NothingCanBePlacedSoNothingIsSpent) {
  const struct {
    const char* name;
    bool walled_in;
    bool roster_full;
    bool left;
    int next;
    std::vector<int> sounds;
  } cases[] = {
      {"walled_in_leaves_at_once", true, false, false, 100, {}},
      {"walled_in_with_a_click", true, false, true, 100, {}},
      {"full_roster", false, true, true, 100, {1}},
  };
  for (const auto& c : cases) {
    Field f;
    if (c.walled_in) {
      opponent_test::paint(*f.g, 5, 4, opponent_test::kSea);
      opponent_test::paint(*f.g, 6, 5, opponent_test::kSea);
      opponent_test::paint(*f.g, 4, 5, 2);  // rocks
      place(*f.g, kSideEnemy, 5, 13, 5, 6);
    }
    if (c.roster_full) {
      for (int slot = 4; slot < kRosterSlots; ++slot) place(*f.g, kSidePlayer, slot, 2, slot, 40);
      place(*f.g, kSidePlayer, 1, 2, 10, 41);
      place(*f.g, kSidePlayer, 2, 2, 11, 41);
    }
    f.g->flow.scene = 150;
    f.g->ui.hover_item = kTankRow;
    f.pointer(170, 140, c.left, false);
    scene_deploy_cell(*f.g);
    EXPECT_EQ(f.g->flow.scene, c.next) << c.name;
    EXPECT_EQ(f.host.sounds(), c.sounds) << c.name;
    EXPECT_EQ(f.g->world.player_units[0].sp, 40) << c.name;
    EXPECT_EQ(f.g->world.player_units[0].ready, 1) << c.name;
    EXPECT_EQ(f.g->world.unit_specs[9].count, 0) << c.name;
  }
}

}  // namespace
