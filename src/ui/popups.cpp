#include "ui/popups.h"

#include <cstdio>

#include "state/game.h"
#include "state/rules_state.h"
#include "ui/window.h"
#include "world/text.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kHealGreen{0, 170, 0};
constexpr int kBannerPoints = 64;
constexpr int kPopupPoints = 20;

// The screen pixel of a map cell's top-left corner.
int screen_x(const Game& g, int x) {
  return 32 * (x - g.view.view_x);
}
int screen_y(const Game& g, int y) {
  return 32 * (y - g.view.view_y);
}

}  // namespace

void draw_banner(Game& g, int kind) {
  static constexpr const char* kTexts[] = {N_("Player's Turn"), N_("Enemy's Turn"),
                                           N_("Your victory"), N_("Game over")};
  if (kind < 0 || kind > 3) return;
  draw_window(g, 0, 176, 640, 128);
  Picture& main = g.form.img_main;
  // The style is left as the canvas holds it: bold once a popup has been drawn.
  set_font_size(main, kBannerPoints);
  set_font_color(main, kWhite);
  set_brush_clear(main);
  text_out(main, 16, 192, tr(g, kTexts[kind]));
}

void draw_heal_popup(Game& g, int x, int y, int amount) {
  if (amount == kNone) return;
  const int c = x - g.view.view_x;
  const int r = y - g.view.view_y;
  // Nothing in the view's first column or row: the popup would cover the scroll frame.
  if (c == 0 || r == 0) return;
  char number[16];
  std::snprintf(number, sizeof number, "%d", amount);
  const bool full = amount == 0;
  const char* text = full ? tr(g, "Full!") : number;
  Picture& main = g.form.img_main;
  set_font_size(main, kPopupPoints);
  set_font_color(main, kHealGreen);
  set_font_bold(main, true);
  set_brush_clear(main);
  draw_outlined_text(g, full ? 32 * c - 16 : 32 * c, 32 * r, text);
}

void draw_damage_popup(Game& g, int damage, int x, int y) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", damage);
  const bool miss = damage == MISS;
  const char* text = miss ? tr(g, "Miss!") : number;
  Picture& main = g.form.img_main;
  set_font_size(main, kPopupPoints);
  set_font_color(main, kWhite);
  set_font_bold(main, true);
  set_brush_clear(main);
  const int px = screen_x(g, x);
  text_out(main, miss ? px - 16 : px, screen_y(g, y), text);
}

void draw_save_notice(Game& g) {
  draw_window(g, 32, 32, 256, 64);
  Picture& main = g.form.img_main;
  set_font_size(main, kPopupPoints);
  set_font_color(main, kWhite);
  set_brush_clear(main);
  text_out(main, 48, 48, tr(g, "セーブしました！"));
}
