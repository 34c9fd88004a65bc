#include "view/panels.h"

#include <cstdio>
#include <cstring>

#include "state/game.h"
#include "ui/production_list.h"
#include "ui/window.h"
#include "view/unit_card.h"
#include "world/roster_queries.h"
#include "world/tables.h"
#include "world/text.h"
#include "world/unit_kinds.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr int kPanelPoints = 10;
constexpr int kStatusPoints = 12;
constexpr int kLastOwnCaption = 11;  // terrain codes above have no caption of their own
constexpr int kPlainsCaption = 12;

// The text of a field of a unit-table row; a copy damaged past its last byte still ends inside the
// field.
template <size_t N>
const char* spec_text(const char (&field)[N], char (&buffer)[N]) {
  std::memcpy(buffer, field, N);
  buffer[N - 1] = '\0';
  return buffer;
}

const char* panel_terrain_caption(int code) {
  return terrain_names[code >= 0 && code <= kLastOwnCaption ? code : kPlainsCaption];
}

void panel_text_style(Picture& main, int points) {
  set_font_size(main, points);
  set_font_color(main, kWhite);
  set_brush_clear(main);
}

}  // namespace

bool portrait_area(int image, Rect* area) {
  int left = 0;
  int top = 0;
  if (image == 16) {
    left = 0, top = 32;
  } else if (image >= 17 && image <= 26) {
    left = 64, top = 32;
  } else if (image == 48) {
    left = 0, top = 96;
  } else if (image >= 49 && image <= 58) {
    left = 64, top = 96;
  } else if (image == 61) {
    left = 128, top = 96;
  } else {
    return false;
  }
  *area = Rect{left, top, left + 64, top + 64};
  return true;
}

int unit_panel_top(const Game& g) {
  return g.input.mouse_y < 240 ? 384 : 0;
}

void draw_unit_panel(Game& g) {
  draw_unit_panel_of(g, g.world.selected_spec, g.world.selected_unit, true);
}

void draw_unit_panel_of(Game& g, const TUnitSpec& stats, const TUnit& unit, bool on_map) {
  char name[kSpecTextBytes];
  char model[kSpecTextBytes];
  spec_text(stats.name, name);
  spec_text(stats.model, model);
  if (std::strcmp(name, "ダミー") == 0) return;

  const int y0 = unit_panel_top(g);
  draw_window(g, 0, y0, 640, 100);
  Picture& main = g.form.img_main;
  Rect area;
  if (portrait_area(stats.image, &area)) copy_rect(main, 16, y0 + 16, g.form.img_window, area);

  panel_text_style(main, kPanelPoints);
  char text[96];
  std::snprintf(text, sizeof text, tr(g, "レベル　%d"), stats.level);
  text_out(main, 96, y0 + 16, text);
  text_out(main, 192, y0 + 16, tr(g, name));
  text_out(main, 192, y0 + 38, tr(g, model));
  text_out(main, 192, y0 + 60, unit.status == 1 ? tr(g, "[正常]") : tr(g, "[移動×]"));
  std::snprintf(text, sizeof text, tr(g, "HP %d / %d"), unit.hp, stats.max_hp);
  text_out(main, 368, y0 + 16, text);
  std::snprintf(text, sizeof text, tr(g, "SP %d / %d"), unit.sp, stats.max_sp);
  text_out(main, 368, y0 + 38, text);
  if (on_map) text_out(main, 496, y0 + 16, tr(g, panel_terrain_caption(unit.terrain)));
  if (g.flow.assist) draw_unit_card(g, stats, unit, y0, on_map);
}

void draw_production_panel(Game& g) {
  const int row = g.flow.assist ? production_row_at(g) : 0;
  if (row == 0) {
    draw_unit_panel(g);
    return;
  }
  const int type = row + 1;
  const TUnitSpec& stats = g.world.unit_specs[type];
  TUnit fresh{};
  fresh.type = type;
  fresh.hp = stats.max_hp;
  fresh.sp = stats.max_sp;
  fresh.status = 1;
  draw_unit_panel_of(g, stats, fresh, false);
}

void draw_unit_list(Game& g) {
  const MenuWindow& list = kUnitListWindow;
  draw_window(g, list.x, list.y, list.width, list.height);
  g.ui.hover_item = 0;
  Picture& main = g.form.img_main;
  set_brush_color(main, g.ui.highlight_colors[g.flow.anim_slow & 7]);

  const int cx = g.input.cursor_x;
  const int cy = g.input.cursor_y;
  if (cy > list.y && cy < list.y + list.height) {
    const int r = unit_list_row(cy);
    const int top = kUnitListFirstRowY + kUnitListRowHeight * r;
    const int bottom = top + kUnitListHighlightHeight;
    // The left column's bar starts at the text; the right one keeps clear of the window's edge.
    if (cx > 0 && cx < kUnitListColumnWidth) {
      fill_rect(main, Rect{kMenuRowInset, top, kUnitListColumnWidth, bottom});
      g.ui.hover_item = r + 1;
    }
    if (cx > kUnitListColumnWidth && cx < kScreenWidth) {
      fill_rect(main, Rect{kUnitListColumnWidth + kMenuRowInset, top, kScreenWidth - kMenuRowInset,
                           bottom});
      g.ui.hover_item = r + 1 + kListRowsPerColumn;
    }
  }

  panel_text_style(main, kPanelPoints);
  const WorldState& w = g.world;
  for (int s = 0; s < kListedSlots; ++s) {
    const int c = s / kListRowsPerColumn;
    const int k = s - kListRowsPerColumn * c;
    const TUnit& unit = w.player_units[s];
    char text[160];
    if (unit.type == 0) {
      std::snprintf(text, sizeof text, "--------");
    } else if (is_table_row(unit.type)) {
      char name[kSpecTextBytes];
      char model[kSpecTextBytes];
      const TUnitSpec& stats = w.unit_specs[unit.type];
      std::snprintf(text, sizeof text, tr(g, "%s  %s  HP %d"), tr(g, spec_text(stats.name, name)),
                    tr(g, spec_text(stats.model, model)), unit.hp);
    } else {
      // A slot whose type names no row: listed by its hit points only.
      std::snprintf(text, sizeof text, tr(g, "?  HP %d"), unit.hp);
    }
    text_out(main, kMenuRowInset + kUnitListColumnWidth * c,
             kUnitListFirstRowY + kUnitListRowHeight * k, text);
  }
}

void draw_status_panel(Game& g) {
  draw_window(g, 0, 0, 640, 64);
  const WorldState& w = g.world;
  int units = 0;
  int hqs = 0;
  int best_sp = 0;
  for (const TUnit& unit : w.player_units) {
    if (unit.type != 0) ++units;
    if (unit.type != kPlayerHq) continue;
    best_sp = hqs == 0 || unit.sp > best_sp ? unit.sp : best_sp;
    ++hqs;
  }

  Picture& main = g.form.img_main;
  panel_text_style(main, kStatusPoints);
  char text[96];
  // Every HQ gains this much at the start of the player's turn.
  const long long income = static_cast<long long>(g.flow.player_income) + hqs;
  std::snprintf(text, sizeof text, tr(g, "司令部のSP %d (+%lld)"), best_sp, income);
  text_out(main, 32, 16, text);
  std::snprintf(text, sizeof text, tr(g, "ユニット数 %d / %d"), units, unit_cap);
  text_out(main, 232, 16, text);
  std::snprintf(text, sizeof text, tr(g, "現ターン数 %d"), g.flow.turn_no);
  text_out(main, 432, 16, text);
}

void draw_skill_panel(Game& g) {
  const int x0 = production_list_left(g.world.selected_unit.x, g.view.view_x);
  draw_window(g, x0, kProductionListY, kProductionListWidth, kProductionListHeight);
  g.ui.hover_item = 0;
}
