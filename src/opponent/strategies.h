// How each computer unit decides where to go: a healthy unit advances on a player unit it can
// hurt, a badly hurt one falls back to a free cell beside one of its own HQs. Both pick the
// actor, leave its path in path_list and walk_index and say how the turn goes on.
#pragma once

#include <cstdint>

struct Game;

// Results of the strategies besides an actor's slot (0 to 59).
constexpr int32_t AI_DONE = 65535;          // no computer unit is ready
constexpr int32_t AI_PLAYER_LOST = 131071;  // the player holds no HQ
constexpr int32_t AI_HOLD = 196607;         // the actor keeps its cell

// Lists every ready computer unit (types 13 to 25) in enemy_candidates, in slot order, and
// returns the first one's slot: the unit whose turn it is. AI_DONE when none is ready.
int32_t choose_actor(Game& g);

// Copies the computer unit in `slot` into selected_spec, selected_unit and selected_slot.
void select_enemy(Game& g, int slot);

// The choice made for each computer unit in turn: the first ready unit (types 13 to 25, slot
// order) advances while it holds more than a fifth of its max_hp, otherwise it retreats; with
// none ready the result is AI_DONE. Rebuilds the occupancy layer first.
int32_t choose_strategy(Game& g);

// A healthy unit: walks towards the nearest known player unit it can hurt (or the nearest known
// one at all), or stays put when a player unit is already in range.
int32_t enemy_advance(Game& g);

// A unit at a fifth of its strength or less: walks towards the nearest free cell beside one of
// its own HQs. With no such cell anywhere it keeps its cell and only attacks what is in range.
int32_t enemy_retreat(Game& g);

// The slot of the first computer HQ on one of the four cells beside the computer unit in
// `slot`; 65535 when there is none or the slot holds no computer unit of types 13 to 25.
int32_t beside_own_hq(const Game& g, int slot);

// Cuts path_list (goal end first) down to the cells the selected unit reaches this turn: entry
// 0 becomes the farthest of them and walk_index the first cell it steps onto, -1 when it cannot
// take a single step.
void cut_to_move(Game& g);
