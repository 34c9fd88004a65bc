// Paths through the reach grid, stored from the destination end in path_list.
#pragma once

#include "state/rules_state.h"
#include "state/world_state.h"

struct Game;

// The most steps descend_path takes.
constexpr int kDescentSteps = 4000;

// Sets all path_list entries to (0, 0), the empty entry. path_fill and walk_index are kept.
void clear_path_list(Game& g);

// The player's path to the chosen cell (x, y): entry 0 is (x, y), then each next entry is the
// first neighbour, in the order (x-1, y), (x, y-1), (x+1, y), (x, y+1), whose reach is lower,
// until none is. The last entry is the first cell the unit steps onto. path_fill ends as the
// number of entries written; at most 1000 are. A cell off the grid stores nothing.
void trace_path(Game& g, int x, int y);
// The core of trace_path: the same entries into a caller's list, returning how many; the game is
// only read.
int fill_trace_path(const Game& g, int x, int y, CellPoint (&out)[kPathEntries]);

// The computer's greedy descent from (x, y): with first 1, (x, y) is entry 0; with any other
// value it is not stored and the first cell after it is entry 0. Each step goes to the first
// neighbour, in the order (x, y+1), (x+1, y), (x, y-1), (x-1, y), whose reach is lower. Stops
// when none is, after 4000 steps, or when all 1000 entries are written. A cell off the grid
// stores nothing.
void descend_path(Game& g, int x, int y, int first);

// Sets walk_index to the last non-empty entry of path_list (x not 0) and returns it; -1 when the
// list is empty and there is nothing to walk.
int last_path_entry(Game& g);

// Entry `index` of path_list, or the empty entry (0, 0) for an index outside the list (such as
// the -1 of an empty path).
CellPoint path_entry(const Game& g, int index);
