// An HQ's commands and production; a unit's command menu and its release gates.
#include "game/audio.h"
#include "game/scenes.h"
#include "game/selection.h"
#include "game/turn_cycle.h"
#include "rules/reach.h"
#include "state/game.h"
#include "view/command_menus.h"
#include "view/map_view.h"
#include "view/panels.h"

namespace {

bool chose(const Game& g, int row) {
  return g.ui.hover_item == row && g.input.left_down == 1;
}

// "待機": the unit gives up its action; the turn passes on once nobody is left to act.
void stand_by(Game& g) {
  play_sound(g, 1);
  use_up_action(g);
  turn_end_check(g);
}

// The right button leaves a command menu for the map, once it is released.
void cancel_to_map(Game& g) {
  if (g.input.right_down != 1) return;
  play_sound(g, 2);
  g.flow.scene = 400;
}

}  // namespace

void scene_110(Game& g) {
  redraw(g);
  draw_hq_commands(g);
  if (chose(g, 1)) {  // "攻撃"
    play_sound(g, 1);
    g.flow.scene = 160;
  }
  if (chose(g, 2)) {  // "スキル": production
    play_sound(g, 1);
    g.flow.scene = 120;
  }
  if (chose(g, 3)) stand_by(g);  // "待機"
  cancel_to_map(g);
}

void scene_160(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = 330;
}

void scene_300(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = 310;
}

void scene_310(Game& g) {
  redraw(g);
  draw_unit_commands(g);
  if (chose(g, 1)) {  // "移動"
    play_sound(g, 1);
    const TUnitSpec& stats = g.world.selected_spec;
    build_move_cost(g, stats.move, move_class_of(stats), kRingEnemyUnits);
    compute_reach(g, g.world.selected_unit.x, g.world.selected_unit.y);
    g.flow.scene = 320;
  }
  if (chose(g, 2)) {  // "攻撃"
    play_sound(g, 1);
    g.flow.scene = 330;
  }
  if (chose(g, 3)) {  // "スキル"
    play_sound(g, 1);
    g.flow.scene = 340;
  }
  if (chose(g, 4)) stand_by(g);  // "待機"
  cancel_to_map(g);
}

void scene_320(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = 360;
}

void scene_340(Game& g) {
  redraw(g);
  draw_unit_panel(g);
  // The skill panel offers nothing to choose; only the right button leaves it.
  draw_skill_panel(g);
  cancel_to_map(g);
}

void scene_401(Game& g) {
  if (g.input.right_down == 0) g.flow.scene = 310;
}
