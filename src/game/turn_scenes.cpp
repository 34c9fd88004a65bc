// The hand-over to the computer and the hand-back to the player: a pause, the side's turn start
// with its banner, the banner's pause, the repair popups one per pass and a last pause.
#include "game/battle_suspend.h"
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

void scene_enemy_turn_pause(Game& g) {
  if (countdown_done(g)) g.flow.scene = kSceneEnemyTurnStart;
}

void scene_enemy_turn_start(Game& g) {
  start_enemy_turn(g);
  g.flow.scene = kSceneEnemyBannerPause;
  g.flow.wait_ticks = 60;
}

void scene_enemy_banner_pause(Game& g) {
  if (!countdown_done(g)) return;
  g.flow.scene = kSceneEnemyRepairs;
  redraw(g);  // clears the banner
}

void scene_enemy_repairs(Game& g) {
  popups_then(g, kSceneEnemyUnitPause);
}

void scene_player_turn_pause(Game& g) {
  if (countdown_done(g)) g.flow.scene = kScenePlayerTurnStart;
}

void scene_player_turn_start(Game& g) {
  start_player_turn(g);
  suspend_battle(g);
  g.flow.scene = kScenePlayerBannerPause;
  g.flow.wait_ticks = 60;
}

void scene_player_banner_pause(Game& g) {
  if (!countdown_done(g)) return;
  g.flow.scene = kScenePlayerRepairs;
  redraw(g);
}

void scene_player_repairs(Game& g) {
  popups_then(g, kScenePlayerTurnLastPause);
}

void scene_player_turn_last_pause(Game& g) {
  if (countdown_done(g)) g.flow.scene = kSceneMap;
}
