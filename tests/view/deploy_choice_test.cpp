#include "view/deploy_choice.h"

#include <gtest/gtest.h>

#include "opponent/opponent_fixture.h"
#include "ui/ui_fixtures.h"
#include "world/production.h"
#include "world/tables.h"

namespace {

// The HQ stands on (5, 5) with the view at the map's corner: its cell is drawn at (160, 160).
TEST(PickDeployCell, OutlinesTheFreeCellsAndReadsThePointerStrictlyInside) {
  const struct {
    const char* name;
    bool sea_above;
    bool unit_left;
    int px, py;
    int dir;
  } cases[] = {
      {"inside_above", false, false, 170, 140, kDeployUp},
      {"first_row_of_above", false, false, 170, 128, kDeployNone},
      {"first_column_of_right", false, false, 192, 170, kDeployNone},
      {"inside_right", false, false, 193, 170, kDeployRight},
      {"inside_below", false, false, 170, 223, kDeployDown},
      {"inside_left", false, false, 130, 170, kDeployLeft},
      {"on_the_hq", false, false, 170, 170, kDeployNone},
      {"above_is_sea", true, false, 170, 140, kDeployNone},
      {"left_is_taken", false, true, 130, 170, kDeployNone},
  };
  for (const auto& c : cases) {
    auto g = ui_test::make_drawing_game();
    init_tables(*g);
    for (auto& column : g->world.terrain_layer) {
      for (int8_t& cell : column) cell = opponent_test::kPlain;
    }
    if (c.sea_above) opponent_test::paint(*g, 5, 4, opponent_test::kSea);
    opponent_test::place(*g, kSidePlayer, 0, kPlayerHq, 5, 5);
    if (c.unit_left) opponent_test::place(*g, kSidePlayer, 1, 4, 4, 5);
    g->input.cursor_x = c.px;
    g->input.cursor_y = c.py;
    pick_deploy_cell(*g, 5, 5);
    EXPECT_EQ(g->world.deploy_dir, c.dir) << c.name;

    // Each free neighbour's outline is white on its top edge; a refused one is not drawn.
    const Rgb white{255, 255, 255};
    const Picture& main = g->form.img_main;
    EXPECT_EQ(read_pixel(main, 170, 128) == white, !c.sea_above) << c.name;
    EXPECT_EQ(read_pixel(main, 192 + 31, 170) == white, true) << c.name;
    EXPECT_EQ(read_pixel(main, 170, 192 + 31) == white, true) << c.name;
    EXPECT_EQ(read_pixel(main, 128, 170) == white, !c.unit_left) << c.name;
    EXPECT_NE(read_pixel(main, 160, 160), white) << c.name;  // nothing around the HQ itself
    ui_test::free_game_pictures(*g);
  }
}

TEST(PickDeployCell, AWalledInHqGivesFive) {
  auto g = opponent_test::make_game(opponent_test::kSea);
  opponent_test::paint(*g, 10, 10, opponent_test::kPlain);
  opponent_test::paint(*g, 11, 10, opponent_test::kPlain);
  opponent_test::place(*g, kSidePlayer, 0, kPlayerHq, 10, 10);
  opponent_test::place(*g, kSideEnemy, 0, 13, 11, 10);
  g->input.cursor_x = 5 * 32 + 10;
  pick_deploy_cell(*g, 10, 10);
  EXPECT_EQ(g->world.deploy_dir, kDeployWalledIn);
}

}  // namespace
