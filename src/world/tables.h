// The unit-type table, the terrain table and the terrain captions.
#pragma once

#include "world/world_state.h"

struct Game;

extern const char* const terrain_names[kTerrainNames];

// Fills unit_specs and terrain_specs with the values the game starts with.
void init_tables(Game& g);
