// An HQ's commands and production; a unit's command menu and its release gates.
#include "game/audio.h"
#include "game/scenes.h"
#include "game/selection.h"
#include "game/turn_cycle.h"
#include "rules/reach.h"
#include "state/game.h"
#include "ui/menu_layout.h"
#include "view/command_menus.h"
#include "view/map_view.h"
#include "view/panels.h"

namespace {

bool chose(const Game& g, int row) {
  return g.ui.hover_item == row && g.input.left_down == 1;
}

// "待機": the unit gives up its action; the turn passes on once nobody is left to act.
void stand_by(Game& g) {
  play_sound(g, Sound::kConfirm);
  use_up_action(g);
  turn_end_check(g);
}

// The right button leaves a command menu for the map, once it is released.
void cancel_to_map(Game& g) {
  if (g.input.right_down != 1) return;
  play_sound(g, Sound::kCancel);
  g.flow.scene = kSceneMapGate;
}

}  // namespace

void scene_hq_menu(Game& g) {
  redraw(g);
  draw_hq_commands(g);
  if (chose(g, kRowHqAttack)) {  // "攻撃"
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneHqAttackGate;
  }
  if (chose(g, kRowHqProduce)) {  // "スキル": production
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneProductionListGate;
  }
  if (chose(g, kRowHqWait)) stand_by(g);  // "待機"
  cancel_to_map(g);
}

void scene_hq_attack_gate(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = kSceneAttackStart;
}

void scene_unit_menu_gate(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = kSceneUnitMenu;
}

void scene_unit_menu(Game& g) {
  redraw(g);
  draw_unit_commands(g);
  if (chose(g, kRowMove)) {  // "移動"
    play_sound(g, Sound::kConfirm);
    const TUnitSpec& stats = g.world.selected_spec;
    build_move_cost(g, stats.move, move_class_of(stats), kRingEnemyUnits);
    compute_reach(g, g.world.selected_unit.x, g.world.selected_unit.y);
    g.flow.scene = kSceneMoveTargetGate;
  }
  if (chose(g, kRowAttack)) {  // "攻撃"
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneAttackStart;
  }
  if (chose(g, kRowSkill)) {  // "スキル"
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneSkillPanel;
  }
  if (chose(g, kRowWait)) stand_by(g);  // "待機"
  cancel_to_map(g);
}

void scene_move_target_gate(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = kSceneMoveTarget;
}

void scene_skill_panel(Game& g) {
  redraw(g);
  draw_unit_panel(g);
  // The skill panel offers nothing to choose; only the right button leaves it.
  draw_skill_panel(g);
  cancel_to_map(g);
}

void scene_unit_menu_return_gate(Game& g) {
  if (g.input.right_down == 0) g.flow.scene = kSceneUnitMenu;
}
