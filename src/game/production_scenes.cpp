// An HQ's production: the list of unit types, the choice of the cell beside the
// HQ and the placement, with release gates between the choices.
#include "game/audio.h"
#include "game/scenes.h"
#include "state/game.h"
#include "ui/production_list.h"
#include "view/deploy_choice.h"
#include "view/map_view.h"
#include "view/panels.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/roster_queries.h"

void scene_production_list_gate(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = kSceneProductionList;
}

void scene_production_list(Game& g) {
  redraw(g);
  draw_production_panel(g);
  draw_production_list(g);
  if (g.ui.hover_item != 0 && g.input.left_down != 0) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneDeployGate;
  }
  if (g.input.right_down != 0) {
    play_sound(g, Sound::kCancel);
    g.flow.scene = kSceneMapGate;
  }
}

void scene_deploy_gate(Game& g) {
  if (g.input.left_down == 0) g.flow.scene = kSceneDeployCell;
}

void scene_deploy_cell(Game& g) {
  redraw(g);
  pick_deploy_cell(g, g.world.selected_unit.x, g.world.selected_unit.y);
  const int dir = g.world.deploy_dir;
  if (dir == kDeployWalledIn) g.flow.scene = kSceneMap;
  if (dir >= kDeployUp && dir <= kDeployLeft && g.input.left_down != 0) {
    play_sound(g, Sound::kConfirm);
    const int row = g.ui.hover_item;
    // The row chosen in the list; a roster with no free slot takes nothing and costs nothing.
    const bool placed =
        row >= 1 && row <= kProductionRows && produce_unit(g, row + 1, dir) != kNoSlot;
    if (!placed) {
      g.flow.scene = kSceneMap;
    } else if (first_ready(g, kReadyAnyPlayer) == kNone) {
      g.flow.scene = kSceneEnemyTurnPause;
    } else {
      g.flow.scene = kSceneHqAttackGate;
    }
  }
  if (g.input.right_down != 0) {
    play_sound(g, Sound::kCancel);
    g.flow.scene = kSceneMapGate;
  }
}
