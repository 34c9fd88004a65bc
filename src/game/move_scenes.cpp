// Destination pick and the walk of a player unit.
#include "game/audio.h"
#include "game/debug_list.h"
#include "game/path_preview.h"
#include "game/scenes.h"
#include "game/selection.h"
#include "game/turn_cycle.h"
#include "rules/combat.h"
#include "rules/path.h"
#include "rules/reach.h"
#include "state/game.h"
#include "view/map_view.h"

void scene_move_target(Game& g) {
  edge_scroll(g);
  redraw(g);  // with the reachable cells outlined
  show_path_preview(g);
  if (inner_area(g) && g.input.left_down == 1) {
    // Every click sounds, also one on a cell the unit cannot reach.
    play_sound(g, Sound::kConfirm);
    const int x = pointer_cell_x(g);
    const int y = pointer_cell_y(g);
    if (within_move(g, x, y, g.world.selected_spec.move)) {
      // From here on the move cannot be taken back.
      g.world.selected_unit.moved = 1;
      if (TUnit* slot = selected_player_slot(g)) slot->moved = 1;
      clear_path_list(g);
      trace_path(g, x, y);
      last_path_entry(g);
      g.flow.scene = kSceneWalk;
    }
  }
  if (g.input.right_down == 1) {
    play_sound(g, Sound::kCancel);
    g.flow.scene = kSceneMapGate;
  }
}

void scene_walk(Game& g) {
  RulesState& r = g.rules;
  TUnit& unit = g.world.selected_unit;
  const CellPoint e = path_entry(g, r.walk_index);
  // An empty entry (an empty path) has no cell to step onto; the unit stays where it is.
  if (e.x != 0) {
    unit.x = e.x;
    unit.y = e.y;
  }
  if (e.x != 0 && r.walk_index > 0) {
    // One cell per pass; every redraw opens the fog around the new cell.
    write_back_selected(g);
    redraw(g);
    r.walk_index -= 1;
    return;
  }

  if (e.x != 0) {
    write_back_selected(g);
    redraw(g);
    debug_log_walk(g, unit.x, unit.y);
  }
  list_player_targets(g, unit.x, unit.y, g.world.selected_slot, selected_range(g));
  if (r.pair_list[0].e_slot != kNone) {
    // An enemy in range: the target choice opens without another click.
    g.flow.scene = kSceneAttackTarget;
    return;
  }
  use_up_action(g);
  turn_end_check(g);
}
