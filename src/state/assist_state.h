// What assisted play (--assist) shows a newcomer: the attack forecast, the enemy's threat, the
// path a move would take, and the toggles of the keyboard. Fixed-size plain data like the rest of
// the state; the game without --assist never touches it.
#pragma once

#include <cstdint>

#include "state/rules_state.h"
#include "state/world_state.h"

// What an attack of the unit being commanded on the enemy under the pointer would come to, as
// the attack itself will draw it.
struct AttackForecast {
  bool shown = false;  // a card is up: the pointer rests on an enemy in range
  int32_t target_slot = -1;
  int32_t x = 0;  // the target's cell, where the card goes beside
  int32_t y = 0;
  int32_t hit_percent = 0;
  int32_t damage = 0;  // on a hit
  int32_t target_hp = 0;
  int32_t target_max_hp = 0;
  int32_t target_hp_after = 0;  // on a hit
  bool destroyed = false;       // a hit leaves a unit with nothing
  bool captured = false;        // a hit takes an HQ
};

struct AssistState {
  AttackForecast forecast;
};
