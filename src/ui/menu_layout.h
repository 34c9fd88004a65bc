// Where every menu window stands and how its rows lie. The drawing, the scenes' reading of the
// rows and the built-in player's aim all take their numbers from here, so the row a player points
// at is the row the menu draws and reports. Pure geometry: no drawing, no Game.
#pragma once

#include "state/picture.h"

struct MenuWindow {
  int x;
  int y;
  int width;
  int height;
};

// Menus of 32-pixel rows. Row k's band, the area the pointer is tested against (strictly inside),
// starts at the window's top edge; its highlight bar and text sit 16 pixels lower and further
// in, so the lowest ten pixels of a bar already belong to the next row's band.
constexpr int kMenuRowHeight = 32;
constexpr int kMenuRowInset = 16;
constexpr int kMenuHighlightHeight = 26;

constexpr Rect menu_row_band(int x0, int y0, int width, int k) {
  return Rect{x0, y0 + kMenuRowHeight * (k - 1), x0 + width, y0 + kMenuRowHeight * k};
}

constexpr Rect menu_row_highlight(int x0, int y0, int width, int k) {
  const int top = y0 + kMenuRowInset + kMenuRowHeight * (k - 1);
  return Rect{x0 + kMenuRowInset, top, x0 + width - kMenuRowInset, top + kMenuHighlightHeight};
}

constexpr Point menu_row_text(int x0, int y0, int k) {
  return Point{x0 + kMenuRowInset, y0 + kMenuRowInset + kMenuRowHeight * (k - 1)};
}

constexpr Rect menu_row_band(const MenuWindow& w, int k) {
  return menu_row_band(w.x, w.y, w.width, k);
}

// The screens between stages.
constexpr MenuWindow kTitleMenu{240, 320, 160, 128};
enum TitleRow { kRowStart = 1, kRowContinue = 2, kRowShutdown = 3, kTitleRows = 3 };

constexpr MenuWindow kIntermissionMenu{384, 100, 256, 128};
enum IntermissionRow { kRowSaveAtCamp = 1, kRowReplay = 2, kRowSortie = 3, kIntermissionRows = 3 };

// Row k names stage k.
constexpr MenuWindow kStageSelect{0, 0, 256, 352};
constexpr int kStageSelectRows = 10;

// The map menu stays at its place, wherever the pointer was when it opened.
constexpr MenuWindow kMapMenu{384, 100, 256, 192};
enum MapMenuRow {
  kRowUnitList = 1,
  kRowTurnEnd = 2,
  kRowSaveOnMap = 3,
  kRowVictory = 4,
  kRowNextUnit = 5,
  kMapMenuRows = 5
};

// The window with the victory condition: two lines of text and no rows.
constexpr MenuWindow kVictoryWindow{0, 100, 640, 192};
constexpr Point kVictoryTitleAt{16, 116};
constexpr Point kVictoryTextAt{16, 148};

// The command menus of a unit and of an HQ. They open on the half of the screen away from the
// unit, so that the click that chose the unit cannot also choose a row.
constexpr int kCommandMenuY = 100;
constexpr int kCommandMenuWidth = 160;
constexpr int kUnitMenuHeight = 160;
constexpr int kHqMenuHeight = 128;
enum UnitRow { kRowMove = 1, kRowAttack = 2, kRowSkill = 3, kRowWait = 4, kUnitMenuRows = 4 };
enum HqRow { kRowHqAttack = 1, kRowHqProduce = 2, kRowHqWait = 3, kHqMenuRows = 3 };

// True while the unit stands in the left half of the view's 20 columns.
constexpr bool in_left_half_of_view(int unit_x, int view_x) {
  return unit_x - view_x < 10;
}

// Left edge of the command menus: against the right edge of the screen while the unit stands in
// the left half of the view.
constexpr int command_menu_left(int unit_x, int view_x) {
  return in_left_half_of_view(unit_x, view_x) ? kScreenWidth - kCommandMenuWidth : 0;
}

// The production list, and the skill panel in the same window: on the half of the screen away
// from the unit, like the command menus. Its rows are 20 pixels high, and their bands line up
// with the text; a highlight bar reaches 2 pixels into the next row's band.
constexpr int kProductionListY = 100;
constexpr int kProductionListWidth = 320;
constexpr int kProductionListHeight = 256;
constexpr int kProductionRows = 10;
constexpr int kProductionRowHeight = 20;
constexpr int kProductionHighlightHeight = 22;
constexpr int kProductionNameLeft = 16;
constexpr int kProductionPriceLeft = 252;

constexpr int production_list_left(int unit_x, int view_x) {
  return in_left_half_of_view(unit_x, view_x) ? kScreenWidth - kProductionListWidth : 0;
}

// The top of row k's band, its highlight bar and its text.
constexpr int production_row_top(int k) {
  return kProductionListY + kMenuRowInset + kProductionRowHeight * (k - 1);
}

constexpr Rect production_row_band(int x0, int k) {
  return Rect{x0, production_row_top(k), x0 + kProductionListWidth,
              production_row_top(k) + kProductionRowHeight};
}

constexpr Rect production_row_highlight(int x0, int k) {
  return Rect{x0 + kMenuRowInset, production_row_top(k), x0 + kProductionListWidth - kMenuRowInset,
              production_row_top(k) + kProductionHighlightHeight};
}

// The unit list: player slots 0 to 39 in two columns of 20 rows. Its row is computed from the
// pointer, not tested against bands: (cursor_y - 80) / 20 truncates toward zero, so the 15
// pixels above the first text also belong to the first row.
constexpr MenuWindow kUnitListWindow{0, 64, 640, 416};
constexpr int kListedSlots = 40;
constexpr int kListRowsPerColumn = 20;
constexpr int kUnitListColumnWidth = 320;
constexpr int kUnitListFirstRowY = 80;
constexpr int kUnitListRowHeight = 20;
constexpr int kUnitListHighlightHeight = 12;

constexpr int unit_list_row(int cursor_y) {
  return (cursor_y - kUnitListFirstRowY) / kUnitListRowHeight;
}
