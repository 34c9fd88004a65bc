#include "game/turn_cycle.h"

#include "game/game.h"
#include "view/map_view.h"
#include "world/roster_queries.h"

void turn_end_check(Game& g) {
  if (first_ready(g, kReadyAnyPlayer) == kNone) {
    g.flow.scene = 5000;
    redraw(g);
    g.flow.wait_ticks = 30;
  } else {
    g.flow.scene = 100;
  }
}
