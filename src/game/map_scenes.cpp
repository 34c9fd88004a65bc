// The map, the map menu and its screens.
#include "game/audio.h"
#include "game/campaign.h"
#include "game/scenes.h"
#include "game/turn_cycle.h"
#include "state/game.h"
#include "ui/map_menu.h"
#include "ui/menu_layout.h"
#include "view/map_view.h"
#include "view/panels.h"
#include "world/roster_queries.h"
#include "world/unit_kinds.h"

namespace {

bool countdown(Game& g) {
  if (g.flow.wait_ticks > 0) {
    g.flow.wait_ticks -= 1;
    return false;
  }
  return true;
}

// The player's vision at a cell; a cell off the map is never seen.
bool seen_by_player(const Game& g, int x, int y) {
  if (x < 0 || x >= kMapSize || y < 0 || y >= kMapSize) return false;
  return g.world.vision[kSidePlayer][x][y] == 1;
}

// The type of the player unit on the pointer cell, 0 when the cell holds none of the player's.
int player_type_at_pointer(const Game& g) {
  const int o = g.world.occupancy[pointer_cell_x(g)][pointer_cell_y(g)];
  if (o >= kRosterSlots) return 0;
  return g.world.player_units[o].type;
}

}  // namespace

void scene_map(Game& g) {
  edge_scroll(g);
  redraw(g);
  select_at_pointer(g);
  // No panel over an empty cell or an enemy in the fog: an empty selection lies at (0, 0),
  // which is never seen.
  const TUnit& selected = g.world.selected_unit;
  if (seen_by_player(g, selected.x, selected.y)) draw_unit_panel(g);

  if (!inner_area(g)) return;
  const int t = player_type_at_pointer(g);
  const bool left = g.input.left_down == 1;
  const bool ready = selected.ready == 1;
  if (t == kPlayerHq && left && ready) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneHqMenu;
  }
  if (is_player_troop(t) && left && ready) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneUnitMenuGate;
  }
  if (g.input.right_down == 1) {
    // Opening the map menu is a confirmation, not a cancel.
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneMapMenuGate;
  }
}

void scene_map_menu_gate(Game& g) {
  if (g.input.right_down == 0) g.flow.scene = kSceneMapMenu;
}

void scene_map_menu(Game& g) {
  redraw(g);
  draw_map_menu(g);
  const int hover = g.ui.hover_item;
  const bool left = g.input.left_down == 1;
  if (hover == kRowUnitList && left) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneUnitList;
  }
  if (hover == kRowTurnEnd && left) {
    play_sound(g, Sound::kConfirm);
    mark_all_acted(g, kSidePlayer);
    turn_end_check(g);
  }
  if (hover == kRowSaveOnMap && left) {
    play_sound(g, Sound::kConfirm);
    save_and_pause(g, kSceneMapSavePause);
  }
  if (hover == kRowVictory && left) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneVictoryCondition;
  }
  if (hover == kRowNextUnit && left) {
    play_sound(g, Sound::kConfirm);
    focus_unit(g, kSidePlayer, 1);
    redraw(g);
    g.flow.scene = kSceneMap;
  }
  if (g.input.right_down == 1) {
    play_sound(g, Sound::kCancel);
    g.flow.scene = kSceneMapGate;
  }
}

void scene_map_save_pause(Game& g) {
  if (countdown(g)) g.flow.scene = kSceneMap;
}

void scene_map_gate(Game& g) {
  if (g.input.right_down == 0) g.flow.scene = kSceneMap;
}

void scene_unit_list(Game& g) {
  redraw(g);
  draw_status_panel(g);
  draw_unit_list(g);
  const int hover = g.ui.hover_item;
  if (hover >= 1 && hover <= kListedSlots && g.input.left_down == 1) {
    const TUnit& unit = g.world.player_units[hover - 1];
    if (unit.type != 0) {
      // Choosing a row makes no sound.
      g.view.view_x = unit.x - 10;
      g.view.view_y = unit.y - 8;
      clamp_view(g);
      g.flow.scene = kSceneMap;
    }
  }
  if (g.input.right_down == 1) {
    play_sound(g, Sound::kCancel);
    g.flow.scene = kSceneMapGate;
  }
}

void scene_victory_condition(Game& g) {
  redraw(g);
  draw_victory_condition(g);
  if (g.input.right_down == 1) {
    play_sound(g, Sound::kCancel);
    g.flow.scene = kSceneMapGate;
  }
}
