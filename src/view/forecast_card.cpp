#include "view/forecast_card.h"

#include <algorithm>
#include <cstdio>

#include "state/game.h"
#include "ui/window.h"
#include "world/text.h"

namespace {

constexpr int kCardPoints = 10;
constexpr int kTextLeft = 16;
constexpr int kFirstLine = 12;
constexpr int kLineHeight = 17;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFalls{255, 200, 64};  // the line that says the target falls

}  // namespace

Rect forecast_card_rect(int px, int py) {
  int left = px + kSpriteSize;
  if (left + kForecastCardWidth > kScreenWidth) left = px - kForecastCardWidth;
  left = std::clamp(left, 0, kScreenWidth - kForecastCardWidth);
  const int top = std::clamp(py - kSpriteSize, 0, kScreenHeight - kForecastCardHeight);
  return Rect{left, top, left + kForecastCardWidth, top + kForecastCardHeight};
}

void draw_forecast_card(Game& g) {
  const AttackForecast& f = g.assist.forecast;
  if (!f.shown) return;
  const Rect card = forecast_card_rect(32 * (f.x - g.view.view_x), 32 * (f.y - g.view.view_y));
  draw_window(g, card.left, card.top, kForecastCardWidth, kForecastCardHeight);

  Picture& main = g.form.img_main;
  // The card leaves the canvas as it found it: what is drawn after it looks as without the card.
  const CanvasState before = main.canvas;
  set_font_size(main, kCardPoints);
  set_font_bold(main, false);
  set_font_color(main, kWhite);
  set_brush_clear(main);
  const int x = card.left + kTextLeft;
  int y = card.top + kFirstLine;
  char text[64];
  std::snprintf(text, sizeof text, tr(g, "命中率 %d%%"), f.hit_percent);
  text_out(main, x, y, text);
  y += kLineHeight;
  std::snprintf(text, sizeof text, tr(g, "ダメージ %d"), f.damage);
  text_out(main, x, y, text);
  y += kLineHeight;
  std::snprintf(text, sizeof text, tr(g, "HP %d → %d"), f.target_hp, f.target_hp_after);
  text_out(main, x, y, text);
  y += kLineHeight;
  if (f.destroyed || f.captured) {
    set_font_color(main, kFalls);
    text_out(main, x, y, f.captured ? tr(g, "占領") : tr(g, "撃破"));
  }
  main.canvas = before;
}
