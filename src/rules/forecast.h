// What an attack would come to, told before it is made: the chance to hit and, on a hit, the
// damage and what is left of the target. Worked out by the attack's own steps on a copy of the
// game's generator, so the numbers are the ones the attack will draw next.
#pragma once

#include "state/assist_state.h"

struct Game;

// Player unit in slot p on enemy unit in slot e, were the attack made now. Changes nothing; a
// slot outside 0..59 or one that holds no unit gives a forecast that is not shown.
AttackForecast forecast_player_attack(const Game& g, int p, int e);
