#include "ui/window.h"

#include "state/game.h"
#include "world/text.h"

namespace {

constexpr int kCell = 32;

// The nine skin pieces side by side in the top strip of img_window, by their left edge.
enum Piece {
  kTopLeft = 0,
  kTop = 32,
  kTopRight = 64,
  kLeft = 96,
  kInterior = 128,
  kRight = 160,
  kBottomLeft = 192,
  kBottom = 224,
  kBottomRight = 256,
};

void copy_piece(TForm1& form, int x, int y, Piece piece) {
  copy_rect(form.img_main, x, y, form.img_window, Rect{piece, 0, piece + kCell, kCell});
}

}  // namespace

void fill_highlight_colors(Game& g) {
  // One cycle of the hover bar: darker, lighter and back, one step every six passes.
  constexpr uint8_t kGrey[8] = {64, 70, 74, 80, 86, 80, 74, 70};
  for (int i = 0; i < 8; ++i) g.ui.highlight_colors[i] = Rgb{kGrey[i], kGrey[i], kGrey[i]};
}

void draw_window(Game& g, int x, int y, int width, int height) {
  const int columns = width / kCell;
  const int rows = height / kCell;
  TForm1& form = g.form;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j) {
      const int cx = x + kCell * j;
      const int cy = y + kCell * i;
      // Later pieces cover earlier ones: corners over edges, side edges over top and bottom.
      if (i >= 1 && i <= rows - 2 && j >= 1 && j <= columns - 2)
        copy_piece(form, cx, cy, kInterior);
      if (i == 0) copy_piece(form, cx, cy, kTop);
      if (i == rows - 1) copy_piece(form, cx, cy, kBottom);
      if (j == 0) copy_piece(form, cx, cy, kLeft);
      if (j == columns - 1) copy_piece(form, cx, cy, kRight);
      if (i == 0 && j == 0) copy_piece(form, cx, cy, kTopLeft);
      if (i == rows - 1 && j == 0) copy_piece(form, cx, cy, kBottomLeft);
      if (i == 0 && j == columns - 1) copy_piece(form, cx, cy, kTopRight);
      if (i == rows - 1 && j == columns - 1) copy_piece(form, cx, cy, kBottomRight);
    }
  }
}

void draw_outlined_text(Game& g, int x, int y, const char* text) {
  Picture& main = g.form.img_main;
  const Rgb body = main.canvas.font_color;
  set_font_color(main, Rgb{0, 0, 0});
  text_out(main, x - 1, y - 1, text);
  text_out(main, x + 1, y + 1, text);
  text_out(main, x + 1, y - 1, text);
  text_out(main, x - 1, y + 1, text);
  set_font_color(main, body);
  text_out(main, x, y, text);
}

bool inside_band(const Rect& band, int px, int py) {
  return band.left < px && px < band.right && band.top < py && py < band.bottom;
}

void menu_begin(Game& g, int x, int y, int width, int height) {
  draw_window(g, x, y, width, height);
  g.ui.hover_item = 0;
  set_brush_color(g.form.img_main, g.ui.highlight_colors[g.flow.anim_slow & 7]);
}

void menu_hover_row(Game& g, const Rect& band, const Rect& highlight, int k, bool enabled) {
  if (!inside_band(band, g.input.cursor_x, g.input.cursor_y)) return;
  // A disabled row is highlighted too; it only cannot be chosen.
  fill_rect(g.form.img_main, highlight);
  g.ui.hover_item = enabled ? k : 0;
}

void menu_text_style(Game& g, int points) {
  set_font_size(g.form.img_main, points);
  set_brush_clear(g.form.img_main);
}

void menu_row_text_out(Game& g, Point at, const char* text, bool enabled) {
  set_font_color(g.form.img_main, enabled ? kMenuTextEnabled : kMenuTextDisabled);
  text_out(g.form.img_main, at.x, at.y, text);
}

void draw_row_menu(Game& g, int x, int y, int width, int height, const MenuRow* rows, int count) {
  menu_begin(g, x, y, width, height);
  for (int k = 1; k <= count; ++k) {
    menu_hover_row(g, menu_row_band(x, y, width, k), menu_row_highlight(x, y, width, k), k,
                   rows[k - 1].enabled);
  }
  menu_text_style(g, kMenuFontSize);
  for (int k = 1; k <= count; ++k) {
    if (rows[k - 1].text == nullptr) continue;
    menu_row_text_out(g, menu_row_text(x, y, k), tr(g, rows[k - 1].text), rows[k - 1].enabled);
  }
}

void draw_row_menu(Game& g, const MenuWindow& window, const MenuRow* rows, int count) {
  draw_row_menu(g, window.x, window.y, window.width, window.height, rows, count);
}
