#include "ui/window.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/screens.h"
#include "ui_fixtures.h"

using namespace ui_test;

namespace {

enum Piece { kTL, kT, kTR, kL, kI, kR, kBL, kB, kBR };

// The piece that must end up in cell (i, j) of a rows x cols frame: corners win over edges, the
// side edges over the top and bottom ones, and a single row or column takes the bottom and
// right pieces.
int expected_piece(int i, int j, int rows, int cols) {
  const bool top = i == 0, bottom = i == rows - 1, left = j == 0, right = j == cols - 1;
  if (bottom && right) return kBR;
  if (top && right) return kTR;
  if (bottom && left) return kBL;
  if (top && left) return kTL;
  if (right) return kR;
  if (left) return kL;
  if (bottom) return kB;
  if (top) return kT;
  return kI;
}

struct WindowCase {
  const char* name;
  int x, y, width, height;
  int cols, rows;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << c.name;
}

class DrawWindow : public testing::TestWithParam<WindowCase> {};

TEST_P(DrawWindow, EveryPixelComesFromTheRightPieceOrStaysUntouched) {
  const WindowCase& c = GetParam();
  auto g = make_drawing_game();
  draw_window(*g, c.x, c.y, c.width, c.height);
  int mismatches = 0;
  for (int py = 0; py < kScreenHeight && mismatches < 5; ++py) {
    for (int px = 0; px < kScreenWidth && mismatches < 5; ++px) {
      const int dx = px - c.x;
      const int dy = py - c.y;
      Rgb want = kSentinel;
      if (dx >= 0 && dy >= 0 && dx < 32 * c.cols && dy < 32 * c.rows) {
        want = skin_pixel(expected_piece(dy / 32, dx / 32, c.rows, c.cols), dx % 32, dy % 32);
      }
      const Rgb got = read_pixel(g->form.img_main, px, py);
      if (!(got == want)) {
        ++mismatches;
        ADD_FAILURE() << "pixel (" << px << ", " << py << "): got " << testing::PrintToString(got)
                      << ", want " << testing::PrintToString(want);
      }
    }
  }
  free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, DrawWindow,
    testing::Values(WindowCase{"Banner20x4", 0, 176, 640, 128, 20, 4},
                    WindowCase{"Height100LeavesFourRows", 10, 20, 100, 100, 3, 3},
                    WindowCase{"OnePixelDrawsNothing", 100, 100, 1, 1, 0, 0},
                    WindowCase{"Under32WideDrawsNothing", 5, 5, 31, 200, 0, 6},
                    WindowCase{"OneCellIsBottomRight", 100, 100, 32, 32, 1, 1},
                    WindowCase{"OneRowShowsBottomPieces", 96, 40, 96, 32, 3, 1},
                    WindowCase{"OneColumnShowsRightPieces", 40, 40, 32, 96, 1, 3},
                    WindowCase{"ClippedAtTheCorner", 600, 450, 96, 64, 3, 2},
                    WindowCase{"NegativeOrigin", -16, -40, 128, 96, 4, 3}),
    [](const testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

TEST(DrawOutlinedText, FourBlackOffsetsThenTheBodyInTheCallersColour) {
  auto g = make_drawing_game();
  Picture& main = g->form.img_main;
  set_font_size(main, 20);
  set_brush_clear(main);
  const Rgb body{200, 30, 40};
  set_font_color(main, body);
  draw_outlined_text(*g, 100, 100, "Start ネ");

  Picture reference;
  ASSERT_TRUE(create_picture(reference, kScreenWidth, kScreenHeight));
  reference.fonts = fonts();
  fill_all(reference, kSentinel);
  set_font_size(reference, 20);
  set_brush_clear(reference);
  set_font_color(reference, Rgb{0, 0, 0});
  const Point offsets[] = {{-1, -1}, {1, 1}, {1, -1}, {-1, 1}};
  for (Point o : offsets) text_out(reference, 100 + o.x, 100 + o.y, "Start ネ");
  set_font_color(reference, body);
  text_out(reference, 100, 100, "Start ネ");

  int differing = 0;
  for (int y = 90; y < 140; ++y) {
    for (int x = 90; x < 260; ++x)
      differing += !(read_pixel(main, x, y) == read_pixel(reference, x, y));
  }
  EXPECT_EQ(differing, 0);
  const Rect box{90, 90, 260, 140};
  EXPECT_GT(count_color(main, box, Rgb{0, 0, 0}), 20) << "no black outline";
  EXPECT_GT(count_color(main, box, body), 20) << "no body over the outline";
  EXPECT_EQ(main.canvas.font_color, body) << "the caller's colour is not restored";
  free_picture(reference);
  free_game_pictures(*g);
}

struct HoverCase {
  int x, y;
  int hover;  // the row reported, 0 for none
};

void PrintTo(const HoverCase& c, std::ostream* os) {
  *os << "(" << c.x << ", " << c.y << ") row " << c.hover;
}

// Band edges of the title menu, window (240, 320, 160, 128): x strictly between 240 and 400,
// row k strictly between 320 + 32(k - 1) and 320 + 32k.
class TitleHover : public testing::TestWithParam<HoverCase> {};

TEST_P(TitleHover, ReportsAndHighlightsTheRowWhoseBandHoldsThePointer) {
  const HoverCase& c = GetParam();
  auto g = make_drawing_game();
  g->flow.anim_slow = 4;
  g->ui.hover_item = 7;  // whatever the last menu left
  g->input.cursor_x = c.x;
  g->input.cursor_y = c.y;
  draw_title_menu(*g);
  EXPECT_EQ(g->ui.hover_item, c.hover);

  const Rgb bar = g->ui.highlight_colors[4];
  for (int k = 1; k <= 3; ++k) {
    const Rect h = menu_row_highlight(240, 320, 160, k);
    // The bar's corners, which the text never reaches, and the pixels just outside them.
    const bool lit = k == c.hover;
    EXPECT_EQ(read_pixel(g->form.img_main, h.left, h.top) == bar, lit) << "row " << k;
    EXPECT_EQ(read_pixel(g->form.img_main, h.right - 1, h.bottom - 1) == bar, lit) << "row " << k;
    EXPECT_FALSE(read_pixel(g->form.img_main, h.left - 1, h.top) == bar) << "row " << k;
    EXPECT_FALSE(read_pixel(g->form.img_main, h.right, h.bottom - 1) == bar) << "row " << k;
  }
  free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(
    BandEdges, TitleHover,
    testing::Values(HoverCase{300, 352, 0},  // the line between rows 1 and 2
                    HoverCase{300, 355, 2},  // on row 1's text, in row 2's band
                    HoverCase{245, 330, 1},  // left of the bar, inside the band
                    HoverCase{240, 330, 0}, HoverCase{241, 330, 1}, HoverCase{399, 330, 1},
                    HoverCase{400, 330, 0}, HoverCase{300, 320, 0}, HoverCase{300, 321, 1},
                    HoverCase{300, 351, 1}, HoverCase{300, 353, 2}, HoverCase{300, 383, 2},
                    HoverCase{300, 384, 0}, HoverCase{300, 385, 3}, HoverCase{300, 415, 3},
                    HoverCase{300, 416, 0}, HoverCase{300, 440, 0}, HoverCase{-5, -5, 0}),
    [](const testing::TestParamInfo<HoverCase>& info) {
      const HoverCase& c = info.param;
      return "At" + std::to_string(c.x < 0 ? 0 : c.x) + "_" + std::to_string(c.y < 0 ? 0 : c.y) +
             (c.x < 0 ? "Outside" : "") + "Row" + std::to_string(c.hover);
    });

TEST(TitleMenu, TextIsWhiteAt20PointsOverTheFrame) {
  auto g = make_drawing_game();
  g->input.cursor_x = -1;
  draw_title_menu(*g);
  const Rgb white{255, 255, 255};
  for (int k = 1; k <= 3; ++k) {
    const Point at = menu_row_text(240, 320, k);
    EXPECT_GT(count_color(g->form.img_main, Rect{at.x, at.y, 384, at.y + 27}, white), 10)
        << "row " << k;
  }
  EXPECT_EQ(g->form.img_main.canvas.font_size, 20);
  EXPECT_EQ(g->form.img_main.canvas.brush_style, BrushStyle::kClear);
  free_game_pictures(*g);
}

TEST(IntermissionMenu, BandsFollowItsWindow) {
  const HoverCase cases[] = {{500, 120, 1}, {500, 132, 0}, {500, 150, 2}, {383, 150, 0},
                             {385, 150, 2}, {639, 190, 3}, {640, 190, 0}, {500, 196, 0},
                             {500, 100, 0}, {500, 101, 1}, {384, 120, 0}, {500, 131, 1},
                             {500, 133, 2}, {500, 164, 0}, {500, 165, 3}, {500, 195, 3}};
  for (const HoverCase& c : cases) {
    auto g = make_drawing_game();
    g->input.cursor_x = c.x;
    g->input.cursor_y = c.y;
    draw_intermission_menu(*g);
    EXPECT_EQ(g->ui.hover_item, c.hover) << "pointer (" << c.x << ", " << c.y << ")";
    free_game_pictures(*g);
  }
}

struct StageCase {
  int max_stage;
  int rows_with_text;
};

void PrintTo(const StageCase& c, std::ostream* os) {
  *os << "max_stage " << c.max_stage;
}

class StageSelect : public testing::TestWithParam<StageCase> {};

TEST_P(StageSelect, ListsStageOneAndTheStagesUpToMaxStage) {
  auto g = make_drawing_game();
  g->flow.max_stage = GetParam().max_stage;
  g->input.cursor_x = -1;
  draw_stage_select(*g);
  for (int k = 1; k <= 10; ++k) {
    const Point at = menu_row_text(0, 0, k);
    const int white =
        count_color(g->form.img_main, Rect{at.x, at.y, 240, at.y + 27}, Rgb{255, 255, 255});
    EXPECT_EQ(white > 0, k <= GetParam().rows_with_text) << "row " << k;
  }
  free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(MaxStage, StageSelect,
                         testing::Values(StageCase{0, 1}, StageCase{1, 1}, StageCase{2, 2},
                                         StageCase{3, 3}, StageCase{9, 9}, StageCase{10, 10},
                                         StageCase{12, 10}, StageCase{-1, 1}),
                         [](const testing::TestParamInfo<StageCase>& info) {
                           const int m = info.param.max_stage;
                           return (m < 0 ? "Minus" : "") + std::to_string(m < 0 ? -m : m);
                         });

TEST(StageSelect, EveryRowCanBeHoveredWhetherListedOrNot) {
  const HoverCase cases[] = {{100, 150, 5}, {100, 32, 0},   {255, 10, 1},   {256, 10, 0},
                             {1, 300, 10},  {100, 320, 0},  {100, 330, 0},  {0, 10, 0},
                             {100, 0, 0},   {100, 1, 1},    {100, 31, 1},   {100, 33, 2},
                             {100, 288, 0}, {100, 289, 10}, {100, 319, 10}, {-1, 100, 0}};
  for (const HoverCase& c : cases) {
    auto g = make_drawing_game();
    g->flow.max_stage = 3;
    g->input.cursor_x = c.x;
    g->input.cursor_y = c.y;
    draw_stage_select(*g);
    EXPECT_EQ(g->ui.hover_item, c.hover) << "pointer (" << c.x << ", " << c.y << ")";
    free_game_pictures(*g);
  }
}

TEST(MenuHover, DisabledRowIsHighlightedButNotReported) {
  auto g = make_drawing_game();
  g->input.cursor_x = 50;
  g->input.cursor_y = 40;  // row 2 of a menu at (0, 0)
  const MenuRow rows[] = {{"a", true}, {"b", false}, {"c", true}};
  draw_row_menu(*g, 0, 0, 160, 128, rows, 3);
  EXPECT_EQ(g->ui.hover_item, 0);
  const Rect h = menu_row_highlight(0, 0, 160, 2);
  EXPECT_EQ(read_pixel(g->form.img_main, h.left, h.top), g->ui.highlight_colors[g->flow.anim_slow]);
  const Point at = menu_row_text(0, 0, 2);
  EXPECT_EQ(count_color(g->form.img_main, Rect{at.x, at.y, 144, at.y + 27}, Rgb{255, 255, 255}), 0);
  EXPECT_GT(count_color(g->form.img_main, Rect{at.x, at.y, 144, at.y + 27}, kMenuTextDisabled), 0);
  free_game_pictures(*g);
}

TEST(MenuHover, WorksWithoutAnyPictures) {
  // Rule and flow tests run menus on a game that never loaded a picture.
  auto g = std::make_unique<Game>();
  fill_highlight_colors(*g);
  g->input.cursor_x = 300;
  g->input.cursor_y = 400;
  draw_title_menu(*g);
  EXPECT_EQ(g->ui.hover_item, 3);
  g->flow.max_stage = 0;
  g->input.cursor_x = 100;
  g->input.cursor_y = 300;
  draw_stage_select(*g);
  EXPECT_EQ(g->ui.hover_item, 10);
}

}  // namespace
