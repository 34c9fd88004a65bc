// One block per scene, named after its code in state/scene.h. game_tick runs them in ascending
// code order; a block runs only when `scene` equals its code at the moment it is reached.
#pragma once

#include <cstdint>

#include "state/scene.h"

struct Game;

// Screens between stages.
void scene_title_load(Game& g);
void scene_title_menu(Game& g);
void scene_intermission(Game& g);
void scene_intermission_save_pause(Game& g);
void scene_stage_select(Game& g);
void scene_stage_start(Game& g);
void scene_victory_pause(Game& g);
void scene_ending(Game& g);
// The map and the map menu.
void scene_map(Game& g);
void scene_map_menu_gate(Game& g);
void scene_map_menu(Game& g);
void scene_map_save_pause(Game& g);
void scene_map_gate(Game& g);
void scene_unit_list(Game& g);
void scene_victory_condition(Game& g);
// An HQ's commands and production; a unit's command menu and its gates.
void scene_hq_menu(Game& g);
void scene_production_list_gate(Game& g);
void scene_production_list(Game& g);
void scene_deploy_gate(Game& g);
void scene_deploy_cell(Game& g);
void scene_hq_attack_gate(Game& g);
void scene_unit_menu_gate(Game& g);
void scene_unit_menu(Game& g);
void scene_move_target_gate(Game& g);
void scene_skill_panel(Game& g);
void scene_unit_menu_return_gate(Game& g);
// Destination pick and walk.
void scene_move_target(Game& g);
void scene_walk(Game& g);
// Attack targeting, pause, aftermath.
void scene_attack_start(Game& g);
void scene_attack_target(Game& g);
void scene_attack_pause(Game& g);
void scene_attack_aftermath(Game& g);
// Hand-over to the computer and back.
void scene_enemy_turn_pause(Game& g);
void scene_enemy_turn_start(Game& g);
void scene_enemy_banner_pause(Game& g);
void scene_enemy_repairs(Game& g);
void scene_player_turn_pause(Game& g);
void scene_player_turn_start(Game& g);
void scene_player_banner_pause(Game& g);
void scene_player_repairs(Game& g);
void scene_player_turn_last_pause(Game& g);
// The computer's units, one after another, and defeat.
void scene_enemy_unit_pause(Game& g);
void scene_enemy_production(Game& g);
void scene_enemy_strategy(Game& g);
void scene_enemy_walk(Game& g);
void scene_enemy_next_unit(Game& g);
void scene_enemy_attack_pause(Game& g);
void scene_defeat_pause(Game& g);

struct SceneBlock {
  int32_t code;
  void (*run)(Game&);
};

// Every scene of kScenes with its block, in the same order.
extern const SceneBlock kSceneBlocks[];
extern const int kSceneBlockCount;
bool is_scene_code(int code);
