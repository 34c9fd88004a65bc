#include "view/deploy_choice.h"

#include "state/game.h"
#include "view/map_view.h"
#include "world/production.h"

void pick_deploy_cell(Game& g, int x, int y) {
  bool available[4];
  free_neighbours(g, x, y, available);
  for (int dir = kDeployUp; dir <= kDeployLeft; ++dir) {
    if (!available[dir - 1]) continue;
    int nx = 0;
    int ny = 0;
    deploy_neighbour(x, y, dir, &nx, &ny);
    draw_cell_outline(g, 32 * (nx - g.view.view_x), 32 * (ny - g.view.view_y), 31, 31,
                      kOutlineWhite);
  }
  g.world.deploy_dir = deploy_dir_at(g, x, y);
}
