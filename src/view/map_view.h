// The map view: the visible 20x15 cells of the map with their units and markings, the unit
// under the pointer, and the view origin's scrolling.
#pragma once

#include "ui/surface.h"

struct Game;

constexpr int kViewColumns = 20;
constexpr int kViewRows = 15;
constexpr int kViewMaxX = 44;
constexpr int kViewMaxY = 49;
constexpr Rgb kOutlineWhite{255, 255, 255};
constexpr Rgb kOutlineRed{255, 0, 0};

// Redraws the view with (vx, vy) as its top-left cell; also rebuilds the occupancy layer and
// the player's vision, so both are current whenever the picture is.
void draw_map_view(Game& g, int vx, int vy);
// The common redraw of the scenes: at the current view origin.
void redraw(Game& g);
void draw_cell_outline(Game& g, int px, int py, int w, int h, Rgb colour);
// Copies the unit under the pointer into the selection buffers (slot -1 for an empty cell).
void select_at_pointer(Game& g);
// Keeps view_x in 0..44 and view_y in 0..49.
void clamp_view(Game& g);
// Moves the view one cell towards the border the pointer is on, while the left button is held.
void edge_scroll(Game& g);
// The pointer lies inside the map area, away from the one-cell scroll frame.
bool inner_area(const Game& g);
// The map cell under the pointer, for the scenes that read it directly.
int pointer_cell_x(const Game& g);
int pointer_cell_y(const Game& g);
