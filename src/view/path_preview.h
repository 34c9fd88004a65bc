// The path preview of assisted play: in the destination choice, the way the unit would walk to
// the reachable cell under the pointer.
#pragma once

#include "ui/surface.h"

struct Game;

constexpr Rgb kPathColor{0, 224, 255};
constexpr int kPathWidth = 4;     // pixels across a leg of the way
constexpr int kPathEndSize = 10;  // the square on the destination

// Draws g.assist.path from the selected unit's cell over the view; nothing while no path is
// shown. The canvas is left as it was.
void draw_path_preview(Game& g);
