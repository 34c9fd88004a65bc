// Vision and fog of war: each side sees the cells within the sight of its own units.
#pragma once

struct Game;

// Builds the 20 diamond masks once at start-up.
void build_sight_stencils(Game& g);
void update_vision(Game& g, int side);
void clear_vision(Game& g, int side);
void mark_sight(Game& g, int x, int y, int r, int side);
