#include "ui/map_menu.h"

#include <gtest/gtest.h>

#include "view/view_fixture.h"

using namespace view_test;

namespace {

constexpr Rgb kWhite{255, 255, 255};

struct HoverCase {
  int x, y;
  int hover;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const HoverCase& c, std::ostream* os) {
  *os << "(" << c.x << ", " << c.y << ") row " << c.hover;
}

class MapMenuHover : public testing::TestWithParam<HoverCase> {};

TEST_P(MapMenuHover, FiveBandsOfItsFixedWindow) {
  const HoverCase& c = GetParam();
  auto g = ui_test::make_drawing_game();
  g->flow.anim_slow = 6;
  g->ui.hover_item = 9;
  g->input.cursor_x = c.x;
  g->input.cursor_y = c.y;
  draw_map_menu(*g);
  EXPECT_EQ(g->ui.hover_item, c.hover);
  const Rgb bar = g->ui.highlight_colors[6];
  for (int k = 1; k <= 5; ++k) {
    const Rect h = menu_row_highlight(384, 100, 256, k);
    EXPECT_EQ(read_pixel(g->form.img_main, h.left, h.top) == bar, k == c.hover) << "row " << k;
  }
  ui_test::free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(Edges, MapMenuHover,
                         testing::Values(HoverCase{500, 110, 1}, HoverCase{500, 100, 0},
                                         HoverCase{500, 101, 1}, HoverCase{500, 132, 0},
                                         HoverCase{500, 150, 2}, HoverCase{500, 180, 3},
                                         HoverCase{500, 220, 4}, HoverCase{500, 259, 5},
                                         HoverCase{500, 260, 0}, HoverCase{500, 270, 0},
                                         HoverCase{384, 150, 0}, HoverCase{385, 150, 2},
                                         HoverCase{639, 280, 0}, HoverCase{639, 250, 5},
                                         HoverCase{640, 250, 0}, HoverCase{100, 150, 0}));

TEST(MapMenu, RowsAndWindowAreTheSameWhereverThePointerIs) {
  const char* texts[] = {"ユニット一覧", "ターン終了", "セーブ", "勝利条件", "次のユニット"};
  auto ref = ui_test::make_drawing_game();
  draw_window(*ref, 384, 100, 256, 192);
  set_font_size(ref->form.img_main, 20);
  set_font_color(ref->form.img_main, kWhite);
  set_brush_clear(ref->form.img_main);
  for (int k = 1; k <= 5; ++k) {
    const Point at = menu_row_text(384, 100, k);
    text_out(ref->form.img_main, at.x, at.y, texts[k - 1]);
  }
  for (Point pointer : {Point{10, 10}, Point{320, 470}, Point{-5, 700}}) {
    auto g = ui_test::make_drawing_game();
    g->input.cursor_x = pointer.x;
    g->input.cursor_y = pointer.y;
    draw_map_menu(*g);
    EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0) << pointer.x;
    ui_test::free_game_pictures(*g);
  }
  ui_test::free_game_pictures(*ref);
}

TEST(VictoryCondition, TwoLinesInAWideWindowAndHoverLeftAlone) {
  auto g = ui_test::make_drawing_game();
  g->ui.hover_item = 4;
  g->input.cursor_x = 100;
  g->input.cursor_y = 150;
  draw_victory_condition(*g);
  EXPECT_EQ(g->ui.hover_item, 4);

  auto ref = ui_test::make_drawing_game();
  draw_window(*ref, 0, 100, 640, 192);
  set_font_size(ref->form.img_main, 20);
  set_font_color(ref->form.img_main, kWhite);
  set_brush_clear(ref->form.img_main);
  text_out(ref->form.img_main, 16, 116, "〈勝利条件〉");
  text_out(ref->form.img_main, 16, 148, "敵の司令部を全て占領する。");
  EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0);
  ui_test::free_game_pictures(*g);
  ui_test::free_game_pictures(*ref);
}

}  // namespace
