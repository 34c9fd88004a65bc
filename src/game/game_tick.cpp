#include "game/game_tick.h"

#include <cstdio>

#include "game/assist_pass.h"
#include "game/scenes.h"
#include "state/game.h"
#include "state/scene.h"
#include "ui/window.h"
#include "world/tables.h"
#include "world/text.h"
#include "world/vision.h"

const SceneBlock kSceneBlocks[] = {
    {kSceneTitleLoad, scene_title_load},
    {kSceneTitleMenu, scene_title_menu},
    {kSceneIntermission, scene_intermission},
    {kSceneIntermissionSavePause, scene_intermission_save_pause},
    {kSceneStageSelect, scene_stage_select},
    {kSceneStageStart, scene_stage_start},
    {kSceneMap, scene_map},
    {kSceneHqMenu, scene_hq_menu},
    {kSceneProductionListGate, scene_production_list_gate},
    {kSceneProductionList, scene_production_list},
    {kSceneDeployGate, scene_deploy_gate},
    {kSceneDeployCell, scene_deploy_cell},
    {kSceneHqAttackGate, scene_hq_attack_gate},
    {kSceneUnitMenuGate, scene_unit_menu_gate},
    {kSceneUnitMenu, scene_unit_menu},
    {kSceneMoveTargetGate, scene_move_target_gate},
    {kSceneAttackStart, scene_attack_start},
    {kSceneSkillPanel, scene_skill_panel},
    {kSceneMoveTarget, scene_move_target},
    {kSceneWalk, scene_walk},
    {kSceneAttackTarget, scene_attack_target},
    {kSceneAttackPause, scene_attack_pause},
    {kSceneAttackAftermath, scene_attack_aftermath},
    {kSceneVictoryPause, scene_victory_pause},
    {kSceneEnding, scene_ending},
    {kSceneMapMenuGate, scene_map_menu_gate},
    {kSceneMapMenu, scene_map_menu},
    {kSceneMapSavePause, scene_map_save_pause},
    {kSceneMapGate, scene_map_gate},
    {kSceneUnitMenuReturnGate, scene_unit_menu_return_gate},
    {kSceneUnitList, scene_unit_list},
    {kSceneVictoryCondition, scene_victory_condition},
    {kSceneEnemyTurnPause, scene_enemy_turn_pause},
    {kSceneEnemyTurnStart, scene_enemy_turn_start},
    {kSceneEnemyBannerPause, scene_enemy_banner_pause},
    {kSceneEnemyRepairs, scene_enemy_repairs},
    {kSceneEnemyUnitPause, scene_enemy_unit_pause},
    {kSceneEnemyProduction, scene_enemy_production},
    {kSceneEnemyStrategy, scene_enemy_strategy},
    {kSceneEnemyWalk, scene_enemy_walk},
    {kSceneEnemyNextUnit, scene_enemy_next_unit},
    {kSceneEnemyAttackPause, scene_enemy_attack_pause},
    {kSceneDefeatPause, scene_defeat_pause},
    {kScenePlayerTurnPause, scene_player_turn_pause},
    {kScenePlayerTurnStart, scene_player_turn_start},
    {kScenePlayerBannerPause, scene_player_banner_pause},
    {kScenePlayerRepairs, scene_player_repairs},
    {kScenePlayerTurnLastPause, scene_player_turn_last_pause},
};
const int kSceneBlockCount = sizeof(kSceneBlocks) / sizeof(kSceneBlocks[0]);

bool is_scene_code(int code) {
  for (const SceneBlock& block : kSceneBlocks) {
    if (block.code == code) return true;
  }
  return false;
}

static void advance_animation(FlowState& f) {
  f.anim_fast += 1;
  if (f.anim_fast > 5) f.anim_fast = 0;
  f.anim_scroll += 1;
  if (f.anim_scroll > 2) f.anim_scroll = 0;
  if (f.anim_fast == 0) f.anim_slow += 1;
  if (f.anim_slow >= 8) f.anim_slow = 0;
}

void game_tick(Game& g) {
  run_pass(g, kSceneBlocks, kSceneBlockCount);
}

void run_pass(Game& g, const SceneBlock* blocks, int count) {
  FlowState& f = g.flow;
  f.timer1_enabled = false;

  char caption[64];
  // In 64 bits: a stage number read from a damaged save may sit at the top of the range.
  std::snprintf(caption, sizeof caption, tr(g, "ネヴァルト Stage %lld"),
                static_cast<long long>(f.stage_no) + 1);
  if (g.form.host != nullptr) g.form.host->set_caption(caption);

  advance_animation(f);

  if (g.form.host != nullptr && g.form.host->escape_down()) f.scene = kSceneTitleLoad;
  if (f.assist) assist_before_scenes(g);

  // A block that moves the scene to a higher code is reached later in this same pass.
  for (int i = 0; i < count; ++i) {
    if (f.scene == blocks[i].code) blocks[i].run(g);
  }
  g.input.keys_pressed = 0;  // each press acts in one pass only

  f.timer1_enabled = true;
}

void form_create(Game& g, unsigned seed) {
  init_tables(g);
  g.rng.seed(seed);
  fill_highlight_colors(g);
  build_sight_stencils(g);
  // Taken from the scout and anti-tank rows before any stage rewrites a price: the prices the
  // anti-aircraft guns get in a stage where the other side may build aircraft.
  g.flow.player_aa_price = g.world.unit_specs[5].cost;
  g.flow.enemy_aa_price = g.world.unit_specs[13].cost;
  g.flow.scene = kSceneTitleLoad;
}
