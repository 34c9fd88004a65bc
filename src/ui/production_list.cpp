#include "ui/production_list.h"

#include <cstdio>

#include "state/game.h"
#include "ui/window.h"
#include "world/production.h"
#include "world/text.h"

namespace {

// Only the three aircraft-related rows can be withheld in a stage.
bool may_be_withheld(int k) {
  return k == 7 || k == 9 || k == 10;
}

}  // namespace

ProductionRow production_row(const Game& g, int k) {
  ProductionRow row{};
  const int type = k + 1;
  const TUnitSpec& stats = g.world.unit_specs[type];
  row.name = stats.name;
  row.price = unit_price(g, type);
  if (may_be_withheld(k) && stats.cost == NO_AIR) {
    std::snprintf(row.price_text, sizeof row.price_text, "---");
  } else {
    std::snprintf(row.price_text, sizeof row.price_text, "%d", row.price);
  }
  row.enabled = row.price <= g.world.selected_unit.sp;
  return row;
}

int production_list_x0(const Game& g) {
  return production_list_left(g.world.selected_unit.x, g.view.view_x);
}

int production_row_at(const Game& g) {
  const int x0 = production_list_x0(g);
  int row = 0;
  for (int k = 1; k <= kProductionRows; ++k) {
    if (inside_band(production_row_band(x0, k), g.input.cursor_x, g.input.cursor_y)) row = k;
  }
  return row;
}

void draw_production_list(Game& g) {
  ProductionRow rows[kProductionRows];
  for (int k = 1; k <= kProductionRows; ++k) rows[k - 1] = production_row(g, k);

  const int x0 = production_list_x0(g);
  menu_begin(g, x0, kProductionListY, kProductionListWidth, kProductionListHeight);
  for (int k = 1; k <= kProductionRows; ++k) {
    menu_hover_row(g, production_row_band(x0, k), production_row_highlight(x0, k), k,
                   rows[k - 1].enabled);
  }

  menu_text_style(g, kProductionFontSize);
  for (int k = 1; k <= kProductionRows; ++k) {
    const int y = production_row_top(k);
    const bool enabled = rows[k - 1].enabled;
    menu_row_text_out(g, Point{x0 + kProductionNameLeft, y}, tr(g, rows[k - 1].name), enabled);
    menu_row_text_out(g, Point{x0 + kProductionPriceLeft, y}, rows[k - 1].price_text, enabled);
  }
}
