// The framing of turns: when the player's turn passes to the computer, the SP income and the
// work of each turn start.
#pragma once

struct Game;

// After every completed player action: the computer's turn when no player unit can act any
// more, the map otherwise.
void turn_end_check(Game& g);
