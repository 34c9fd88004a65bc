#include "ui/popups.h"

#include <gtest/gtest.h>

#include <string>

#include "state/rules_state.h"
#include "view/view_fixture.h"

using namespace view_test;

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGreen{0, 170, 0};

// The canvas of the reference set as a popup sets it.
void popup_style(Picture& p, Rgb colour, bool bold) {
  set_font_size(p, 20);
  set_font_color(p, colour);
  set_font_bold(p, bold);
  set_brush_clear(p);
}

void outlined(Picture& p, int x, int y, const char* text) {
  const Rgb body = p.canvas.font_color;
  set_font_color(p, Rgb{0, 0, 0});
  for (Point o : {Point{-1, -1}, Point{1, 1}, Point{1, -1}, Point{-1, 1}})
    text_out(p, x + o.x, y + o.y, text);
  set_font_color(p, body);
  text_out(p, x, y, text);
}

struct HealCase {
  const char* name;
  int x, y, amount;
  const char* text;  // nullptr: nothing drawn
  int px, py;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const HealCase& c, std::ostream* os) {
  *os << c.name;
}

class HealPopup : public testing::TestWithParam<HealCase> {};

TEST_P(HealPopup, DrawsTheAmountOrFullAtTheCellUnlessInTheFirstRowOrColumn) {
  const HealCase& c = GetParam();
  auto g = ui_test::make_drawing_game();
  g->view.view_x = 10;
  g->view.view_y = 5;
  draw_heal_popup(*g, c.x, c.y, c.amount);
  Reference ref;
  if (c.text != nullptr) {
    popup_style(ref.p, kGreen, true);
    outlined(ref.p, c.px, c.py, c.text);
  }
  EXPECT_EQ(differing_pixels(g->form.img_main, ref.p), 0);
  if (c.text != nullptr) {
    EXPECT_TRUE(g->form.img_main.canvas.bold);
    EXPECT_EQ(g->form.img_main.canvas.font_color, kGreen);
  }
  ui_test::free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HealPopup,
    testing::Values(HealCase{"FullSixteenLeft", 12, 8, 0, "Full!", 48, 96},
                    HealCase{"AmountAtTheEdge", 12, 8, 20, "20", 64, 96},
                    HealCase{"EndOfListDrawsNothing", 12, 8, 65535, nullptr, 0, 0},
                    HealCase{"FirstColumnSkipped", 10, 8, 20, nullptr, 0, 0},
                    HealCase{"FirstRowSkipped", 12, 5, 0, nullptr, 0, 0},
                    HealCase{"SecondColumnFull", 11, 6, 0, "Full!", 16, 32},
                    HealCase{"LeftOfTheViewStillDrawn", 8, 8, 5, "5", -64, 96},
                    HealCase{"BelowTheViewStillDrawn", 12, 30, 7, "7", 64, 800}),
    [](const testing::TestParamInfo<HealCase>& info) { return info.param.name; });

struct DamageCase {
  const char* name;
  int damage, x, y;
  const char* text;
  int px, py;
};

void PrintTo(const DamageCase& c, std::ostream* os) {
  *os << c.name;
}

class DamagePopup : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagePopup, DrawsDamageOrMissWhereverTheCellIs) {
  const DamageCase& c = GetParam();
  auto g = ui_test::make_drawing_game();
  g->view.view_x = 10;
  g->view.view_y = 5;
  draw_damage_popup(*g, c.damage, c.x, c.y);
  Reference ref;
  popup_style(ref.p, kWhite, true);
  text_out(ref.p, c.px, c.py, c.text);
  EXPECT_EQ(differing_pixels(g->form.img_main, ref.p), 0);
  // Plain text: no black outline anywhere.
  EXPECT_EQ(ui_test::count_color(g->form.img_main, Rect{0, 0, 640, 480}, Rgb{0, 0, 0}), 0);
  ui_test::free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagePopup,
    testing::Values(DamageCase{"MissPartlyOffThePicture", MISS, 10, 10, "Miss!", -16, 160},
                    DamageCase{"MissInside", MISS, 13, 7, "Miss!", 80, 64},
                    DamageCase{"DamageAtTheEdge", 12, 13, 7, "12", 96, 64},
                    DamageCase{"DamageInTheFirstRowAndColumn", 30, 10, 5, "30", 0, 0},
                    DamageCase{"ZeroDamage", 0, 11, 6, "0", 32, 32}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

TEST(Banner, EachKindItsTextInAFullWidthStripAndNothingForOtherKinds) {
  const char* texts[] = {"Player's Turn", "Enemy's Turn", "Your victory", "Game over"};
  for (int kind = -1; kind <= 4; ++kind) {
    SCOPED_TRACE(kind);
    auto g = ui_test::make_drawing_game();
    draw_banner(*g, kind);
    if (kind < 0 || kind > 3) {
      EXPECT_EQ(ui_test::count_color(g->form.img_main, Rect{0, 0, 640, 480}, kSentinel), 640 * 480);
    } else {
      auto ref = ui_test::make_drawing_game();
      draw_window(*ref, 0, 176, 640, 128);
      set_font_size(ref->form.img_main, 64);
      set_font_color(ref->form.img_main, kWhite);
      set_brush_clear(ref->form.img_main);
      text_out(ref->form.img_main, 16, 192, texts[kind]);
      EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0);
      EXPECT_FALSE(g->form.img_main.canvas.bold);
      ui_test::free_game_pictures(*ref);
    }
    ui_test::free_game_pictures(*g);
  }
}

TEST(Banner, IsBoldOnceAPopupHasBeenDrawn) {
  auto plain = ui_test::make_drawing_game();
  draw_banner(*plain, 2);
  auto after_popup = ui_test::make_drawing_game();
  draw_damage_popup(*after_popup, 5, 300, 300);  // far off the picture: draws nothing visible
  draw_banner(*after_popup, 2);
  EXPECT_TRUE(after_popup->form.img_main.canvas.bold);
  EXPECT_GT(differing_pixels(plain->form.img_main, after_popup->form.img_main), 100);

  auto bold = ui_test::make_drawing_game();
  set_font_bold(bold->form.img_main, true);
  draw_banner(*bold, 2);
  EXPECT_EQ(differing_pixels(bold->form.img_main, after_popup->form.img_main), 0);
  for (auto* g : {plain.get(), after_popup.get(), bold.get()}) ui_test::free_game_pictures(*g);
}

TEST(SaveNotice, WindowAndTextInTheCanvasStyle) {
  for (bool bold : {false, true}) {
    auto g = ui_test::make_drawing_game();
    set_font_bold(g->form.img_main, bold);
    draw_save_notice(*g);
    auto ref = ui_test::make_drawing_game();
    draw_window(*ref, 32, 32, 256, 64);
    popup_style(ref->form.img_main, kWhite, bold);
    text_out(ref->form.img_main, 48, 48, "セーブしました！");
    EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0) << bold;
    EXPECT_EQ(g->form.img_main.canvas.bold, bold);
    ui_test::free_game_pictures(*g);
    ui_test::free_game_pictures(*ref);
  }
}

}  // namespace
