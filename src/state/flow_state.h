// State of the game flow: the scene machine, the sampled input, the campaign and the turn.
#pragma once

#include <cstdint>

#include "state/first_scene.h"

struct InputState {
  int32_t cursor_x = 0;
  int32_t cursor_y = 0;
  uint8_t left_down = 0;
  uint8_t right_down = 0;
  int32_t mouse_x = 0;  // last mouse move over img_unit; kept while the pointer is elsewhere
  int32_t mouse_y = 0;
  uint16_t keys_held = 0;     // KeyBit levels of the last sample
  uint16_t keys_pressed = 0;  // KeyBit presses gathered since the last pass, which uses them up
};

struct FlowState {
  // A code of state/scene.h, kept as the plain number the state dump writes; the rules below the
  // scene machine never see the codes, so this header does not include them.
  int32_t scene = kFirstSceneCode;
  int32_t wait_ticks = 0;
  int32_t anim_fast = 0;
  int32_t anim_slow = 0;
  int32_t anim_scroll = 0;
  int32_t stage_no = 0;
  int32_t max_stage = 0;
  int32_t turn_no = 0;
  int32_t heal_pos = 0;
  int32_t player_income = 0;
  int32_t enemy_income = 0;
  int32_t player_aa_price = 0;
  int32_t enemy_aa_price = 0;
  bool timer1_enabled = true;  // off while a pass runs, so passes never overlap
  bool closed = false;         // the main form was closed: the program ends after this pass
  bool assist = false;         // --assist: the opt-in helps of assisted play are on
};
