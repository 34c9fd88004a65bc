// The command menus of a unit and of an HQ: their side of the screen and their disabled rows.
#include "view/command_menus.h"

#include <gtest/gtest.h>

#include "ui/ui_fixtures.h"
#include "world/tables.h"

using namespace ui_test;

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{112, 112, 112};

class CommandMenus : public testing::Test {
 protected:
  void SetUp() override {
    g = make_drawing_game();
    init_tables(*g);
    g->view.view_x = 20;
    g->world.selected_unit.type = 9;
    g->world.selected_unit.x = 35;  // view column 15: the menus open at x 0
    g->world.selected_unit.y = 30;
  }
  void TearDown() override { free_game_pictures(*g); }

  void point(int x, int y) {
    g->input.cursor_x = x;
    g->input.cursor_y = y;
  }
  // The text area of row k of a menu at x0: its highlight bar.
  static Rect row_text(int x0, int k) {
    return Rect{x0 + 16, 116 + 32 * (k - 1), x0 + 144, 142 + 32 * (k - 1)};
  }
  void put_player_units(int n, int type) {
    for (int slot = 0; slot < n; ++slot) {
      g->world.player_units[slot] = TUnit{};
      g->world.player_units[slot].type = type;
      g->world.player_units[slot].x = 2 + slot;
      g->world.player_units[slot].y = 2;
    }
  }

  std::unique_ptr<Game> g;
};

struct SideCase {
  int view_column;
  int x0;
};

TEST_F(CommandMenus, OpenOnTheSideAwayFromTheUnit) {
  const SideCase cases[] = {{0, 480}, {9, 480}, {10, 0}, {19, 0}};
  for (const SideCase& c : cases) {
    for (bool hq : {false, true}) {
      SCOPED_TRACE(testing::Message() << "column " << c.view_column << (hq ? " HQ" : " unit"));
      fill_all(g->form.img_main, kSentinel);
      g->world.selected_unit.x = g->view.view_x + c.view_column;
      EXPECT_EQ(command_menu_x(*g), c.x0);
      point(c.x0 + 80, 142);  // row 2 of the menu
      hq ? draw_hq_commands(*g) : draw_unit_commands(*g);
      EXPECT_EQ(read_pixel(g->form.img_main, c.x0, 100), skin_pixel(0, 0, 0));
      EXPECT_EQ(read_pixel(g->form.img_main, c.x0 + 159, 100), skin_pixel(2, 31, 0));
      EXPECT_EQ(g->ui.hover_item, 2);
      // Nothing is drawn on the other side.
      const int other = c.x0 == 0 ? 480 : 0;
      EXPECT_EQ(read_pixel(g->form.img_main, other + 80, 150), kSentinel);
      point(other + 80, 142);
      hq ? draw_hq_commands(*g) : draw_unit_commands(*g);
      EXPECT_EQ(g->ui.hover_item, 0);
    }
  }
}

TEST_F(CommandMenus, UnitRowsAndMoveGreyOnceMoved) {
  struct Case {
    int moved;
    int hover_on_row1;
    Rgb row1_text;
  };
  const Case cases[] = {{0, 1, kWhite}, {1, 0, kGrey}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "moved " << c.moved);
    g->world.selected_unit.moved = static_cast<uint8_t>(c.moved);
    // The texts, with no bar under them (text over a bar blends into other colours).
    point(320, 400);
    draw_unit_commands(*g);
    const Rgb other = c.row1_text == kWhite ? kGrey : kWhite;
    EXPECT_GT(count_color(g->form.img_main, row_text(0, 1), c.row1_text), 0);
    EXPECT_EQ(count_color(g->form.img_main, row_text(0, 1), other), 0);
    for (int k = 2; k <= 4; ++k) {
      EXPECT_GT(count_color(g->form.img_main, row_text(0, k), kWhite), 0) << "row " << k;
      EXPECT_EQ(count_color(g->form.img_main, row_text(0, k), kGrey), 0) << "row " << k;
      point(50, 110 + 32 * (k - 1));
      draw_unit_commands(*g);
      EXPECT_EQ(g->ui.hover_item, k);
    }
    // The bar is drawn over row 1 whether or not it can be chosen.
    point(50, 110);
    draw_unit_commands(*g);
    EXPECT_EQ(g->ui.hover_item, c.hover_on_row1);
    EXPECT_EQ(read_pixel(g->form.img_main, 20, 140), g->ui.highlight_colors[g->flow.anim_slow]);
  }
}

TEST_F(CommandMenus, HqProductionGreyAtTwentyUnits) {
  struct Case {
    const char* name;
    int units;
    int hover_on_row2;
    Rgb row2_text;
  };
  const Case cases[] = {
      {"19 units", 19, 2, kWhite},
      {"20 units", 20, 0, kGrey},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fill_all(g->form.img_main, kSentinel);
    put_player_units(c.units, 4);
    // Neither HQs nor the computer's units count.
    g->world.player_units[40].type = 1;
    g->world.player_units[41].type = 1;
    g->world.enemy_units[0].type = 13;
    point(320, 400);
    draw_hq_commands(*g);
    const Rgb other = c.row2_text == kWhite ? kGrey : kWhite;
    EXPECT_GT(count_color(g->form.img_main, row_text(0, 2), c.row2_text), 0);
    EXPECT_EQ(count_color(g->form.img_main, row_text(0, 2), other), 0);
    EXPECT_GT(count_color(g->form.img_main, row_text(0, 1), kWhite), 0);
    EXPECT_GT(count_color(g->form.img_main, row_text(0, 3), kWhite), 0);
    point(50, 142);
    draw_hq_commands(*g);
    EXPECT_EQ(g->ui.hover_item, c.hover_on_row2);
    // Three rows only: the window is 128 pixels high and a fourth band reports nothing.
    EXPECT_EQ(read_pixel(g->form.img_main, 50, 230), kSentinel);
    point(50, 206);
    draw_hq_commands(*g);
    EXPECT_EQ(g->ui.hover_item, 0);
  }
}

}  // namespace
