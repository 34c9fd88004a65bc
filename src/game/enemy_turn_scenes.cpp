// The computer's units, one after another: before each, its HQs may buy; then the unit picks
// its strategy, walks one cell per pass and attacks the nearest player unit in range. Defeat
// leads back to the title.
#include "game/audio.h"
#include "game/battle_suspend.h"
#include "game/debug_list.h"
#include "game/scenes.h"
#include "opponent/enemy_production.h"
#include "opponent/strategies.h"
#include "rules/combat.h"
#include "rules/path.h"
#include "state/game.h"
#include "ui/popups.h"
#include "view/map_view.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world/unit_kinds.h"

namespace {

constexpr int kProductionAttempts = 4;

bool countdown_done(Game& g) {
  if (g.flow.wait_ticks > 0) {
    g.flow.wait_ticks -= 1;
    return false;
  }
  return true;
}

bool on_walk_range(int v) {
  return v >= 1 && v <= 63;
}

bool player_sees_cell(const Game& g, CellPoint c) {
  return c.x >= 0 && c.x < kMapSize && c.y >= 0 && c.y < kMapSize &&
         g.world.vision[kSidePlayer][c.x][c.y] == 1;
}

// Where the view centres for the computer's unit about to act. Without assisted play, on the
// unit. With it (the fair camera), on the unit only where the player sees it: where it stands,
// else where its walk ends; a unit that stays in the fog leaves the view where it is, so the
// camera never shows where a unit hides.
bool camera_target(const Game& g, CellPoint* at) {
  const TUnit& actor = g.world.selected_unit;
  *at = CellPoint{actor.x, actor.y};
  if (!g.flow.assist) return true;
  if (!is_enemy_type(actor.type)) return false;
  if (player_sees_cell(g, *at)) return true;
  *at = path_entry(g, 0);
  return g.rules.walk_index >= 0 && player_sees_cell(g, *at);
}

}  // namespace

void scene_enemy_unit_pause(Game& g) {
  if (countdown_done(g)) g.flow.scene = kSceneEnemyProduction;
}

void scene_enemy_production(Game& g) {
  const int32_t hq = first_enemy_hq(g);
  pair_hqs(g);
  // The attempts are not shown one by one, and the strategy scene always follows in this pass and
  // redraws the map, so the picture the pass ends with already shows every unit placed here.
  for (int attempt = 0; attempt < kProductionAttempts; ++attempt) {
    if (hq == kNone || g.world.enemy_units[hq].sp <= 0) continue;
    enemy_produce(g);
  }
  g.flow.scene = kSceneEnemyStrategy;
}

void scene_enemy_strategy(Game& g) {
  const int32_t result = choose_strategy(g);
  CellPoint at;
  if (camera_target(g, &at)) {
    g.view.view_x = at.x - 10;
    g.view.view_y = at.y - 8;
    clamp_view(g);
  }
  redraw(g);
  if (result == AI_DONE) {
    g.flow.scene = kScenePlayerTurnPause;
    g.flow.wait_ticks = 30;
  } else if (result == AI_PLAYER_LOST) {
    discard_battle(g);
    g.flow.scene = kSceneDefeatPause;
    draw_banner(g, kBannerGameOver);
    g.flow.wait_ticks = 60;
  } else {
    g.flow.scene = kSceneEnemyWalk;
  }
}

void scene_enemy_walk(Game& g) {
  WorldState& w = g.world;
  RulesState& r = g.rules;
  const int slot = w.selected_slot;
  // The actor's slot comes from the strategy; anything else has nothing to walk or attack with.
  const bool actor_ok = slot >= 0 && slot < kRosterSlots;
  if (r.walk_index >= 0) {
    const CellPoint e = path_entry(g, r.walk_index);
    if (actor_ok && on_walk_range(e.x) && on_walk_range(e.y)) {
      w.selected_unit.x = e.x;
      w.selected_unit.y = e.y;
      w.enemy_units[slot] = w.selected_unit;
      redraw(g);
    }
  }
  if (r.walk_index > 0) {
    r.walk_index -= 1;
    return;
  }
  if (!actor_ok) {
    g.flow.scene = kSceneEnemyNextUnit;
    return;
  }
  TUnit& actor = w.enemy_units[slot];
  actor.moved = g.opponent.enemy_moved != 0 ? 1 : 0;
  const int32_t d = enemy_attack(g, slot);
  actor.ready = 0;
  if (d == kNone) {
    g.flow.scene = kSceneEnemyNextUnit;
    return;
  }
  debug_log_damage(g, d);
  redraw(g);
  play_sound(g, Sound::kAttack);
  const TUnit& target = w.player_units[r.last_target];
  draw_damage_popup(g, d, target.x, target.y);
  g.flow.scene = kSceneEnemyAttackPause;
  g.flow.wait_ticks = 30;
}

void scene_enemy_next_unit(Game& g) {
  remove_destroyed(g);
  if (first_ready(g, kReadyEnemyNotHq) != kNone) {
    redraw(g);
    g.flow.scene = kSceneEnemyUnitPause;
    return;
  }
  g.flow.scene = kScenePlayerTurnPause;
  mark_all_acted(g, kSideEnemy);
  redraw(g);
  g.flow.wait_ticks = 30;
}

void scene_enemy_attack_pause(Game& g) {
  if (countdown_done(g)) g.flow.scene = kSceneEnemyNextUnit;
}

void scene_defeat_pause(Game& g) {
  if (countdown_done(g)) g.flow.scene = kSceneTitleLoad;
}
