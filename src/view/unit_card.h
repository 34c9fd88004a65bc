// The unit card of assisted play: in the free room of the unit panel, what the rules read from
// the unit's type (move, range, attacks, defence with its cover, aim, evasion, sight, whether it
// flies), so a newcomer sees what decides a fight.
#pragma once

#include "state/world_state.h"

struct Game;

// The card of `stats` (the type of `unit`) in the panel whose top is y0. On the map the ground
// defence shows the cover of the unit's cell beside it; off the map (a type in the production
// list) the bare figure.
void draw_unit_card(Game& g, const TUnitSpec& stats, const TUnit& unit, int y0, bool on_map);
