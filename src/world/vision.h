// Vision and fog of war: each side sees the cells within the sight of its own units.
#pragma once

struct Game;

// Builds the 20 diamond masks once at start-up: mask r covers the cells within r - 1 steps of
// its centre (21, 21); mask 0 covers none.
void build_sight_stencils(Game& g);

// Recomputes the vision grid of a side (0 = player, 1 = enemy) from its roster. Player types 1 to
// 11 and enemy types 12 to 22 see; positions, squads and the ace tank give no vision.
void update_vision(Game& g, int side);

// Every cell of the side's grid becomes unseen.
void clear_vision(Game& g, int side);

// Marks as seen, for the side, the map cells that mask r covers when centred on (x, y). Cells of
// the outer ring and beyond are never marked; an r without a mask (outside 0 to 19) marks none.
void mark_sight(Game& g, int x, int y, int r, int side);
