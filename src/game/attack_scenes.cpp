// Attack targeting, the pause after an attack, and its aftermath with the victory test.
#include "game/attack_forecast.h"
#include "game/audio.h"
#include "game/battle_suspend.h"
#include "game/scenes.h"
#include "game/selection.h"
#include "game/turn_cycle.h"
#include "rules/combat.h"
#include "state/game.h"
#include "ui/popups.h"
#include "view/map_view.h"
#include "world/roster.h"
#include "world/roster_queries.h"

namespace {

// The enemy slot on the pointer's cell, or -1 when the cell holds no enemy unit.
int enemy_at_pointer(const Game& g) {
  const int o = g.world.occupancy[pointer_cell_x(g)][pointer_cell_y(g)];
  if (o < kEnemyOccupancyBase || o >= kEnemyOccupancyBase + kRosterSlots) return -1;
  return o - kEnemyOccupancyBase;
}

bool in_attack_range(const Game& g, int x, int y) {
  return g.rules.attack_range[x][y] == 0;
}

// The popup goes over the unit the attack was aimed at, hit or miss.
void show_attack_result(Game& g, int32_t result) {
  const int t = g.rules.last_target;
  if (t < 0 || t >= kRosterSlots) return;
  const TUnit& target = g.world.enemy_units[t];
  draw_damage_popup(g, result, target.x, target.y);
}

}  // namespace

void scene_attack_start(Game& g) {
  TUnit& unit = g.world.selected_unit;
  if (unit.x != 0) {
    write_back_selected(g);
    redraw(g);
  }
  list_player_targets(g, unit.x, unit.y, g.world.selected_slot, selected_range(g));
  if (g.rules.pair_list[0].e_slot != kNone) {
    g.flow.scene = kSceneAttackTarget;
    return;
  }
  // Nothing in range: nothing is attacked and the unit keeps its action.
  turn_end_check(g);
}

void scene_attack_target(Game& g) {
  edge_scroll(g);
  redraw(g);  // with the attack range outlined
  bool attacked = false;
  int target = -1;
  if (inner_area(g) && selected_player_slot(g) != nullptr) {
    const int e = enemy_at_pointer(g);
    if (e >= 0 && in_attack_range(g, pointer_cell_x(g), pointer_cell_y(g))) target = e;
  }
  if (target >= 0 && g.input.left_down == 1) {
    play_sound(g, Sound::kAttack);
    // Any enemy inside the range may be chosen, not only the nearest.
    const int32_t result = player_attack(g, g.world.selected_slot, target);
    if (result != kNone) show_attack_result(g, result);
    g.flow.scene = kSceneAttackPause;
    g.flow.wait_ticks = 30;
    attacked = true;
  } else if (target >= 0) {
    show_attack_forecast(g, target);
  }
  // Back to the command menu, silently, once the button is up. Not after an attack: the
  // attack has spent the unit's action, so its pause and aftermath must follow, or a unit
  // held on both buttons could attack again and again and leave its target at 0 HP.
  if (!attacked && g.input.right_down == 1) g.flow.scene = kSceneUnitMenuReturnGate;
}

void scene_attack_pause(Game& g) {
  if (g.flow.wait_ticks > 0) {
    g.flow.wait_ticks -= 1;
  } else {
    g.flow.scene = kSceneAttackAftermath;
  }
}

void scene_attack_aftermath(Game& g) {
  // Destroyed units leave and captured HQs change sides before the stage is judged.
  remove_destroyed(g);
  use_up_action(g);
  if (count_units(g, kCountEnemyHqs) == 0) {
    discard_battle(g);
    draw_banner(g, kBannerVictory);
    g.flow.wait_ticks = 60;
    g.flow.scene = kSceneVictoryPause;
    return;
  }
  turn_end_check(g);
}
