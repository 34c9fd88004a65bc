#pragma once

struct Game;

// Timer1Timer: one pass over the scene machine.
void game_tick(Game& g);
