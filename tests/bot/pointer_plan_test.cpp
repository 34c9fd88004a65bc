// Where the built-in player points, checked against the game's own menus and map: every row
// it aims at is the row the menu reports, every cell it aims at is the cell the map picks, and
// holding the button where it says scrolls every cell of the map into reach.
#include "bot/pointer_plan.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/game_tick.h"
#include "state/game.h"
#include "ui/map_menu.h"
#include "ui/production_list.h"
#include "ui/screens.h"
#include "view/command_menus.h"
#include "view/map_view.h"
#include "view/panels.h"

namespace {

class PointerPlan : public testing::Test {
 protected:
  void SetUp() override {
    g_ = std::make_unique<Game>();
    form_create(*g_, 1);
  }
  void point(Aim at) {
    g_->input.cursor_x = at.x;
    g_->input.cursor_y = at.y;
    g_->input.mouse_x = at.x;
    g_->input.mouse_y = at.y;
  }
  std::unique_ptr<Game> g_;
};

struct MenuCase {
  const char* name;
  void (*draw)(Game&);
  MenuWindow window;
  int rows;
  bool in_frame;  // the row points must lie outside the map area
};

TEST_F(PointerPlan, EveryMenuRowAimedAtIsTheRowTheMenuReports) {
  const MenuCase cases[] = {
      {"title", draw_title_menu, kTitleMenu, 3, false},
      {"intermission", draw_intermission_menu, kIntermissionMenu, 3, true},
      {"map menu", draw_map_menu, kMapMenu, 5, true},
      {"stage select", draw_stage_select, kStageSelect, 10, true},
  };
  g_->flow.max_stage = 9;
  for (const MenuCase& c : cases) {
    for (int k = 1; k <= c.rows; ++k) {
      const Aim at = menu_row_point(c.window.x, c.window.y, c.window.width, k);
      point(at);
      g_->ui.hover_item = -1;
      c.draw(*g_);
      EXPECT_EQ(g_->ui.hover_item, k) << c.name << " row " << k << " at " << at.x << "," << at.y;
      if (c.in_frame) {
        EXPECT_FALSE(inner_area(*g_)) << c.name << " row " << k;
      }
    }
  }
}

TEST_F(PointerPlan, CommandMenuRowsLieInsideTheirBandsAndInTheFrame) {
  // The command menus open at x 0 or 480, 160 wide, from y 100 with 32-pixel rows; the
  // production list at x 0 or 320, 320 wide, with 20-pixel rows from y 116.
  for (int x0 : {0, 480}) {
    for (int k = 1; k <= 4; ++k) {
      const Aim at = menu_row_point(x0, kCommandMenuY, kCommandMenuWidth, k);
      EXPECT_GT(at.x, x0);
      EXPECT_LT(at.x, x0 + kCommandMenuWidth);
      EXPECT_GT(at.y, kCommandMenuY + 32 * (k - 1));
      EXPECT_LT(at.y, kCommandMenuY + 32 * k);
      point(at);
      EXPECT_FALSE(inner_area(*g_)) << "x0 " << x0 << " row " << k;
    }
  }
  for (int x0 : {0, 320}) {
    for (int k = 1; k <= 10; ++k) {
      const Aim at = production_row_point(x0, k);
      EXPECT_GT(at.x, x0);
      EXPECT_LT(at.x, x0 + kProductionListWidth);
      EXPECT_GT(at.y, 116 + 20 * (k - 1));
      EXPECT_LT(at.y, 136 + 20 * (k - 1));
      point(at);
      EXPECT_FALSE(inner_area(*g_)) << "x0 " << x0 << " row " << k;
    }
  }
}

TEST_F(PointerPlan, CommandMenuRowsAreTheRowsTheMenusReport) {
  // The unit in screen columns 9 and 10, on either side of the middle, at both ends of the map.
  const struct {
    int unit_x, view_x;
  } cases[] = {{9, 0}, {10, 0}, {30, 21}, {54, 44}, {1, 0}, {62, 44}};
  for (const auto& c : cases) {
    g_->view.view_x = c.view_x;
    g_->world.selected_unit = TUnit{};
    g_->world.selected_unit.type = 9;
    g_->world.selected_unit.x = c.unit_x;
    g_->world.selected_unit.y = 20;
    g_->world.selected_spec = g_->world.unit_specs[9];
    const int x0 = command_menu_left(c.unit_x, c.view_x);
    for (int k = 1; k <= 4; ++k) {
      point(menu_row_point(x0, kCommandMenuY, kCommandMenuWidth, k));
      draw_unit_commands(*g_);
      EXPECT_EQ(g_->ui.hover_item, k) << "unit at " << c.unit_x << ", view " << c.view_x;
    }
    g_->world.selected_unit.type = kPlayerHq;
    g_->world.selected_spec = g_->world.unit_specs[kPlayerHq];
    for (int k = 1; k <= 3; ++k) {
      point(menu_row_point(x0, kCommandMenuY, kCommandMenuWidth, k));
      draw_hq_commands(*g_);
      EXPECT_EQ(g_->ui.hover_item, k) << "HQ at " << c.unit_x << ", view " << c.view_x;
    }
    // The production list opens on the same side, in its own window.
    const int list_x = production_list_left(c.unit_x, c.view_x);
    EXPECT_EQ(list_x == 320, x0 == 480);
    // Every row of the list aimed at is the row the list reports, with SP enough for all.
    g_->world.selected_unit.sp = 1 << 20;
    for (int k = 1; k <= kProductionRows; ++k) {
      point(production_row_point(list_x, k));
      draw_production_list(*g_);
      EXPECT_EQ(g_->ui.hover_item, k)
          << "list row " << k << ", HQ at " << c.unit_x << ", view " << c.view_x;
    }
  }
}

TEST_F(PointerPlan, UnitListRowsNameTheirSlots) {
  for (int slot = 0; slot < kListedSlots; ++slot) {
    point(unit_list_point(slot));
    draw_unit_list(*g_);
    EXPECT_EQ(g_->ui.hover_item, slot + 1) << "slot " << slot;
  }
  // The map menu's first row, pressed: the list drawn under it in the same pass reads it as
  // the row of slot 21 or 22.
  for (int slot : {21, 22}) {
    Aim at = menu_row_point(kMapMenu.x, kMapMenu.y, kMapMenu.width, kRowUnitList);
    at.y = unit_list_row_y_for(slot);
    point(at);
    draw_map_menu(*g_);
    EXPECT_EQ(g_->ui.hover_item, kRowUnitList) << "slot " << slot;
    draw_unit_list(*g_);
    EXPECT_EQ(g_->ui.hover_item, slot + 1) << "slot " << slot;
  }
}

TEST_F(PointerPlan, CellCentreIsTheCellThePointerPicks) {
  const struct { int vx, vy; } views[] = {{0, 0}, {44, 49}, {10, 7}, {0, 49}, {44, 0}};
  for (const auto& v : views) {
    g_->view.view_x = v.vx;
    g_->view.view_y = v.vy;
    for (int r = 0; r < 15; ++r) {
      for (int c = 0; c < 20; ++c) {
        const int x = v.vx + c;
        const int y = v.vy + r;
        point(cell_centre(x, y, v.vx, v.vy));
        EXPECT_EQ(pointer_cell_x(*g_), x);
        EXPECT_EQ(pointer_cell_y(*g_), y);
        EXPECT_EQ(inner_area(*g_), cell_clickable(x, y, v.vx, v.vy))
            << "cell " << x << "," << y << " view " << v.vx << "," << v.vy;
      }
    }
  }
}

TEST_F(PointerPlan, HoldingTheButtonWhereItSaysBringsEveryCellIntoReach) {
  const struct {
    int vx, vy, x, y;
  } cases[] = {
      {0, 0, 62, 62},   {44, 49, 1, 1},   {0, 49, 62, 1},   {44, 0, 1, 62},
      {20, 20, 30, 30}, {20, 20, 20, 20}, {20, 20, 39, 34}, {0, 0, 1, 1},
  };
  for (const auto& c : cases) {
    g_->view.view_x = c.vx;
    g_->view.view_y = c.vy;
    int passes = 0;
    while (!cell_clickable(c.x, c.y, g_->view.view_x, g_->view.view_y) && passes < 400) {
      Aim at;
      ASSERT_TRUE(scroll_point(c.x, c.y, g_->view.view_x, g_->view.view_y, &at))
          << "cell " << c.x << "," << c.y << " view " << g_->view.view_x << "," << g_->view.view_y;
      point(at);
      // Held in the frame: the map area never sees the press.
      EXPECT_FALSE(inner_area(*g_));
      g_->input.left_down = 1;
      g_->flow.anim_scroll = passes % 3;
      edge_scroll(*g_);
      ++passes;
    }
    EXPECT_TRUE(cell_clickable(c.x, c.y, g_->view.view_x, g_->view.view_y))
        << "cell " << c.x << "," << c.y << " from view " << c.vx << "," << c.vy;
    Aim unused;
    EXPECT_FALSE(scroll_point(c.x, c.y, g_->view.view_x, g_->view.view_y, &unused));
  }
}

}  // namespace
