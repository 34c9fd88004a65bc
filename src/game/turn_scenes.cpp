// The hand-over to the computer and the hand-back to the player: a pause, the side's turn start
// with its banner, the banner's pause, the repair popups one per pass and a last pause.
#include "game/scenes.h"
#include "game/turn_cycle.h"
#include "state/game.h"
#include "view/map_view.h"

namespace {

// Counts wait_ticks down; true on the pass that finds it at 0.
bool countdown_done(Game& g) {
  if (g.flow.wait_ticks > 0) {
    g.flow.wait_ticks -= 1;
    return false;
  }
  return true;
}

void popups_then(Game& g, int next) {
  if (show_next_heal_popup(g)) {
    g.flow.scene = next;
    g.flow.wait_ticks = 30;
  }
}

}  // namespace

void scene_5000(Game& g) {
  if (countdown_done(g)) g.flow.scene = 5010;
}

void scene_5010(Game& g) {
  start_enemy_turn(g);
  g.flow.scene = 5020;
  g.flow.wait_ticks = 60;
}

void scene_5020(Game& g) {
  if (!countdown_done(g)) return;
  g.flow.scene = 5030;
  redraw(g);  // clears the banner
}

void scene_5030(Game& g) {
  popups_then(g, 5031);
}

void scene_6000(Game& g) {
  if (countdown_done(g)) g.flow.scene = 6010;
}

void scene_6010(Game& g) {
  start_player_turn(g);
  g.flow.scene = 6020;
  g.flow.wait_ticks = 60;
}

void scene_6020(Game& g) {
  if (!countdown_done(g)) return;
  g.flow.scene = 6030;
  redraw(g);
}

void scene_6030(Game& g) {
  popups_then(g, 6040);
}

void scene_6040(Game& g) {
  if (countdown_done(g)) g.flow.scene = 100;
}
