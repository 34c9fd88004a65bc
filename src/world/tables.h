// The unit-type table, the terrain table and the terrain captions.
#pragma once

#include "state/world_state.h"

struct Game;

extern const char* const terrain_names[kTerrainNames];

// Fills unit_specs and terrain_specs with the values the game starts with.
void init_tables(Game& g);

// Rebuilds `count` of rows 0 to 25 from both rosters; the spare rows 26 to 33 are left alone.
void recount_types(Game& g);

// The terrain code of cell (x, y), always a valid row of terrain_specs (0 to 15). A cell outside
// the map, or one whose byte in terrain_layer is no terrain code (a damaged map file), reads as
// code 0, the impassable filler. Every reader of the terrain layer goes through this.
int terrain_at(const Game& g, int x, int y);

// The caption shown for terrain code `code`: its own for codes 0 to 11, caption 12 for 12 to 15;
// any other value (there is no such terrain) gets the caption of code 0.
const char* terrain_caption(int code);
