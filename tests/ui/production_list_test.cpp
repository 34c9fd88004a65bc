#include "ui/production_list.h"

#include <gtest/gtest.h>

#include <string>

#include "opponent/opponent_fixture.h"
#include "ui_fixtures.h"
#include "world/tables.h"

namespace {

constexpr int kTankRow = 8;

// An HQ with `sp` selected at view column `column`, the view at the map's corner.
void select_hq(Game& g, int32_t sp, int column) {
  g.world.selected_unit = TUnit{kPlayerHq, column, 5, 200, sp, 8, 1, 1, 0};
  g.world.selected_slot = 0;
  g.view.view_x = 0;
  g.view.view_y = 0;
}

TEST(ProductionRow, PricesAndTheDashesOfWithheldAircraftRows) {
  const struct {
    const char* name;
    int row;
    int32_t cost;  // written into the row's type; 0 keeps the table's
    int32_t count;
    const char* text;
    int32_t price;
  } cases[] = {
      {"scout", 1, 0, 0, "1", 1},
      {"first_tank", kTankRow, 0, 0, "5", 5},
      {"second_tank", kTankRow, 0, 1, "10", 10},
      {"anti_air_withheld", 7, 900, 0, "---", 900},
      {"bomber_withheld", 9, 900, 2, "---", 2700},
      {"fighter_withheld", 10, 900, 0, "---", 900},
      {"anti_air_at_its_stage_price", 7, 6, 1, "12", 12},
      // Only the three aircraft rows are tested for 900.
      {"tank_at_900_is_a_price", kTankRow, 900, 0, "900", 900},
  };
  for (const auto& c : cases) {
    auto g = opponent_test::make_game();
    TUnitSpec& stats = g->world.unit_specs[c.row + 1];
    if (c.cost != 0) stats.cost = c.cost;
    stats.count = c.count;
    select_hq(*g, 100, 3);
    const ProductionRow row = production_row(*g, c.row);
    EXPECT_STREQ(row.price_text, c.text) << c.name;
    EXPECT_EQ(row.price, c.price) << c.name;
    EXPECT_STREQ(row.name, stats.name) << c.name;
  }
}

TEST(ProductionRow, EnabledWhenTheHqCanPayEvenForADashedRow) {
  const struct {
    int row;
    int32_t count;
    int32_t sp;
    bool enabled;
  } cases[] = {{kTankRow, 1, 10, true}, {kTankRow, 1, 9, false}, {1, 0, 0, false},
               {1, 0, 1, true},         {9, 0, 899, false},      {9, 0, 900, true}};
  for (const auto& c : cases) {
    auto g = opponent_test::make_game();
    g->world.unit_specs[10].cost = 900;
    g->world.unit_specs[c.row + 1].count = c.count;
    select_hq(*g, c.sp, 3);
    EXPECT_EQ(production_row(*g, c.row).enabled, c.enabled) << c.row << " sp " << c.sp;
  }
}

TEST(ProductionList, OpensOnTheSideAwayFromTheHq) {
  const struct {
    int column;
    int x0;
  } cases[] = {{0, 320}, {9, 320}, {10, 0}, {19, 0}};
  for (const auto& c : cases) {
    auto g = opponent_test::make_game();
    select_hq(*g, 50, c.column);
    g->view.view_x = 20;
    g->world.selected_unit.x = 20 + c.column;
    EXPECT_EQ(production_list_x0(*g), c.x0) << c.column;
  }
}

// The pointer against the 20-pixel bands, strictly inside, with the list at x0 = 320.
TEST(ProductionList, HoverFollowsTheBandsAndSkipsWhatCannotBePaid) {
  const struct {
    int x, y;
    int32_t sp;
    int hover;
  } cases[] = {
      {400, 116, 50, 0},  {400, 117, 50, 1}, {400, 135, 50, 1}, {400, 136, 50, 0},
      {400, 137, 50, 2},  {400, 255, 50, 7}, {400, 296, 50, 0}, {400, 297, 50, 10},
      {400, 315, 50, 10}, {400, 316, 50, 0}, {320, 150, 50, 0}, {321, 150, 50, 2},
      {639, 150, 50, 2},  {640, 150, 50, 0}, {400, 257, 4, 0},  {400, 117, 0, 0},
      {100, 117, 50, 0},
  };
  for (const auto& c : cases) {
    auto g = opponent_test::make_game();
    select_hq(*g, c.sp, 3);
    g->input.cursor_x = c.x;
    g->input.cursor_y = c.y;
    g->ui.hover_item = 99;
    draw_production_list(*g);
    EXPECT_EQ(g->ui.hover_item, c.hover) << c.x << "," << c.y << " sp " << c.sp;
  }
}

TEST(ProductionList, GreyRowsWhiteRowsAndABarUnderThePointer) {
  auto g = ui_test::make_drawing_game();
  init_tables(*g);
  g->world.unit_specs[10].cost = 900;  // bombers withheld
  select_hq(*g, 3, 12);                // x0 = 0; rows 1 to 5 affordable
  g->input.cursor_x = 100;
  g->input.cursor_y = 120 + 20 * 5;  // row 6, too dear
  g->flow.anim_slow = 0;
  draw_production_list(*g);
  EXPECT_EQ(g->ui.hover_item, 0);

  const Picture& main = g->form.img_main;
  const auto text_box = [](int k) { return Rect{16, 116 + 20 * (k - 1), 304, 134 + 20 * (k - 1)}; };
  for (int k = 1; k <= kProductionRows; ++k) {
    const bool enabled = k <= 5;
    const Rgb shown = enabled ? kMenuTextEnabled : kMenuTextDisabled;
    const Rgb other = enabled ? kMenuTextDisabled : kMenuTextEnabled;
    EXPECT_GT(ui_test::count_color(main, text_box(k), shown), 10) << "row " << k;
    EXPECT_EQ(ui_test::count_color(main, text_box(k), other), 0) << "row " << k;
  }
  // The bar lies under row 6 and reaches two pixels into row 7's band.
  const Rgb bar = g->ui.highlight_colors[0];
  EXPECT_EQ(read_pixel(main, 17, 216), bar);
  EXPECT_EQ(read_pixel(main, 303, 237), bar);
  EXPECT_NE(read_pixel(main, 17, 238), bar);
  EXPECT_NE(read_pixel(main, 304, 216), bar);
  EXPECT_NE(read_pixel(main, 17, 215), bar);
  // The price column of the withheld bombers.
  const Rect bomber_price{252, 276, 304, 294};
  EXPECT_GT(ui_test::count_color(main, bomber_price, kMenuTextDisabled), 10);
  ui_test::free_game_pictures(*g);
}

}  // namespace
