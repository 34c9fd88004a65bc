#include "game/path_preview.h"

#include "rules/path.h"
#include "rules/reach.h"
#include "state/game.h"
#include "view/map_view.h"
#include "view/path_preview.h"

void show_path_preview(Game& g) {
  if (!g.flow.assist || !inner_area(g)) return;
  const int x = pointer_cell_x(g);
  const int y = pointer_cell_y(g);
  if (!within_move(g, x, y, g.world.selected_spec.move)) return;
  PathPreview& p = g.assist.path;
  p.cells = fill_trace_path(g, x, y, p.path);
  p.shown = p.cells > 0;
  draw_path_preview(g);
}
