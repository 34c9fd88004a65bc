// Window frames from the skin, outlined text and the menu hover protocol.
#pragma once

#include "ui/menu_layout.h"
#include "ui/surface.h"

struct Game;

constexpr Rgb kMenuTextEnabled{255, 255, 255};
constexpr Rgb kMenuTextDisabled{112, 112, 112};
constexpr int kMenuFontSize = 20;

void fill_highlight_colors(Game& g);

// A frame of whole 32x32 cells from the skin in img_window onto img_main; a remainder of the
// width or height under 32 pixels is left as it was.
void draw_window(Game& g, int x, int y, int width, int height);

// The text in the canvas's font colour with a one-pixel black outline, on img_main.
void draw_outlined_text(Game& g, int x, int y, const char* text);

// True when (px, py) lies strictly inside the band: a pointer on its edge is in no row.
bool inside_band(const Rect& band, int px, int py);

// The start of every menu on every pass: its window, no row hovered yet, and the brush set to
// this pass's highlight colour.
void menu_begin(Game& g, int x, int y, int width, int height);
// The hover test of one row: under the pointer its highlight is filled and hover_item names it,
// or is 0 when the row is disabled.
void menu_hover_row(Game& g, const Rect& band, const Rect& highlight, int k, bool enabled);
// Font size and a clear brush for the row texts that follow.
void menu_text_style(Game& g, int points);
void menu_row_text_out(Game& g, Point at, const char* text, bool enabled);

struct MenuRow {
  const char* text;  // as written, translated when drawn; nullptr: hoverable but shows nothing
  bool enabled;
};

// A whole menu of 32-pixel rows in the window (x, y, width, height), rows 1 to count, texts at
// kMenuFontSize; reads the pointer and anim_slow, writes hover_item.
void draw_row_menu(Game& g, int x, int y, int width, int height, const MenuRow* rows, int count);
void draw_row_menu(Game& g, const MenuWindow& window, const MenuRow* rows, int count);
