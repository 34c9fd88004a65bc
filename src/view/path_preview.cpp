#include "view/path_preview.h"

#include <algorithm>

#include "state/game.h"

namespace {

// The middle of map cell `c` on the picture.
Point centre(const Game& g, CellPoint c) {
  return Point{32 * (c.x - g.view.view_x) + 16, 32 * (c.y - g.view.view_y) + 16};
}

// A leg between the middles of two neighbouring cells, as a band kPathWidth wide.
void leg(Picture& main, Point a, Point b) {
  const int half = kPathWidth / 2;
  const Rect band{std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half,
                  std::max(a.y, b.y) + half};
  fill_rect(main, band);
}

}  // namespace

void draw_path_preview(Game& g) {
  const PathPreview& p = g.assist.path;
  if (!p.shown || p.cells <= 0) return;
  Picture& main = g.form.img_main;
  const CanvasState before = main.canvas;
  set_brush_color(main, kPathColor);
  const TUnit& unit = g.world.selected_unit;
  // The walk starts on the unit's own cell and ends on entry 0.
  Point from = centre(g, CellPoint{unit.x, unit.y});
  for (int i = std::min(p.cells, kPathEntries) - 1; i >= 0; --i) {
    const Point to = centre(g, p.path[i]);
    leg(main, from, to);
    from = to;
  }
  const int half = kPathEndSize / 2;
  fill_rect(main, Rect{from.x - half, from.y - half, from.x + half, from.y + half});
  main.canvas = before;
}
