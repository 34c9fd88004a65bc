// Where a player puts the pointer to act on what the game shows: the middle of a map cell, a
// point inside a menu row, a row of the unit list, and where to hold the button to scroll.
// Pure arithmetic on screen geometry; nothing here reads or writes a Game.
#pragma once

#include "state/host.h"
#include "ui/menu_layout.h"

struct Aim {
  int x = 0;
  int y = 0;
};

// Screen geometry of the map: 32-pixel cells, the clickable area strictly inside a one-cell
// frame, and the view origin's range.
constexpr int kCellPixels = 32;
constexpr int kFrameLow = 32;      // pointer at or left of / above this scrolls
constexpr int kFrameRight = 608;   // at or right of this scrolls right
constexpr int kFrameBottom = 448;  // at or below this scrolls down
constexpr int kViewMaxX0 = 44;
constexpr int kViewMaxY0 = 49;

// The middle of cell (x, y) with the view's top-left cell at (vx, vy).
Aim cell_centre(int x, int y, int vx, int vy);

// True when the middle of the cell lies inside the map area, where a click acts on the map
// (screen columns 1 to 18 and rows 1 to 13 of the view).
bool cell_clickable(int x, int y, int vx, int vy);

// Where to hold the left button so that the view moves toward making (x, y) clickable: a point
// of the scroll frame on the side (or corner) the cell lies beyond. False when the cell is
// clickable already or no scroll can bring it closer.
bool scroll_point(int x, int y, int vx, int vy, Aim* at);

// A point strictly inside the band of row k (1-based) of a menu of 32-pixel rows whose window
// is at (x0, y0) and `width` wide (the windows and their rows: ui/menu_layout.h). Where the band
// reaches a side of the screen the point lies in the scroll frame there, so the press that chooses
// the row cannot also act on the map the scene machine may draw under it in the same pass.
Aim menu_row_point(int x0, int y0, int width, int k);

// The same for row k of the production list (20-pixel rows) in its window at x0.
Aim production_row_point(int x0, int k);

// The row of the unit list that names roster slot `slot` (0 to 39).
Aim unit_list_point(int slot);
// The y of the map menu's first row ("ユニット一覧") that the unit list, drawn under the held
// button in the same pass, reads as the row of `slot` (21 or 22): the press on that row also
// chooses the slot if it holds a unit.
int unit_list_row_y_for(int slot);
