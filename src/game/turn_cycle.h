// The framing of turns: when the player's turn passes to the computer, the SP income and the
// work of each turn start.
#pragma once

#include <cstdint>

struct Game;

// After every completed player action: the computer's turn when no player unit can act any
// more, the map otherwise.
void turn_end_check(Game& g);

// Each HQ of the side gains `amount` plus the side's number of HQs, never beyond the max_sp of
// its HQ row (row 1 for the player, row 12 for the computer).
void add_income(Game& g, int32_t amount, int side);

// The turn-start work of a side, up to and including its banner: the computer's first turn of a
// stage also brings its reserves; then the turn counter, the view on the side's first unit, the
// income, the repairs (listed in heal_list for the popups, heal_pos at the first entry), every
// unit ready again, and the map redrawn with "Enemy's Turn" or "Player's Turn" over it.
void start_enemy_turn(Game& g);
void start_player_turn(Game& g);

// Shows the repair popup of heal_list entry heal_pos and moves heal_pos on. True once the entry
// now at heal_pos is the list's end, so the popups are done.
bool show_next_heal_popup(Game& g);
