// The production list beside an HQ's unit panel: the ten player unit types with the price of
// one more of each, greyed where the HQ cannot pay, and the row under the pointer.
#pragma once

#include <cstdint>

#include "ui/menu_layout.h"
#include "ui/surface.h"

struct Game;

constexpr int kProductionFontSize = 16;

struct ProductionRow {
  const char* name;
  char price_text[16];  // the price in decimal, or "---" for an aircraft row not offered
  int32_t price;
  bool enabled;  // the HQ in selected_unit can pay the price
};

// Row k (1 to 10) offers unit type k + 1.
ProductionRow production_row(const Game& g, int k);

// The list's left edge: on the right half of the screen when the HQ stands in the left half of
// the view, on the left half otherwise.
int production_list_x0(const Game& g);

// The row (1 to 10) under the pointer, enabled or not; 0 when it is on none.
int production_row_at(const Game& g);

// Draws the window and its rows on img_main and sets hover_item to the enabled row under the
// pointer, 0 when there is none.
void draw_production_list(Game& g);
