// The unit a command works on: selected_unit is a copy of player slot selected_slot, written
// back whole over that slot. Every access goes through here, so a slot of -1 (no unit under the
// pointer) or one outside the roster never indexes it.
#pragma once

#include "state/world_state.h"

struct Game;

// The player's roster slot selected_slot, or nullptr when it names no slot.
TUnit* selected_player_slot(Game& g);
// write-back: copies selected_unit over its roster slot; nothing without a valid slot.
void write_back_selected(Game& g);
// The unit's action is used up for this turn, in the roster and in the copy alike.
void use_up_action(Game& g);
// The attack range of the selected unit's type; 0 for a type outside the table.
int selected_range(const Game& g);
