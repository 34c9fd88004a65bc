// Consistency of the whole game state between two passes: what must hold however the player
// clicked, whatever the files held and however long the session ran. The monkey and fuzz tests
// call it after every pass; a unit test can call it after any operation.
#pragma once

#include <string>

struct Game;

// How strictly the occupancy layer is compared with the rosters. The layer is rebuilt only when
// the map is redrawn (and at the start of each computer unit's action), so between a change of
// the rosters and the next redraw it may lag behind them.
enum class OccupancyCheck {
  // Every cell is empty (255) or names a slot number of one of the rosters; nothing more.
  kNamesSlots,
  // The layer is exactly what rebuilding it from the rosters gives now (a later slot, and any
  // enemy unit, covering an earlier one on a shared cell), and every unit's `terrain` is that of
  // its cell. True right after a pass whose block redraws and then moves no unit.
  kCurrent,
};

// True when every invariant holds; otherwise false with the first broken one described in *why
// (which may be null). Checks the scene code, the view origin, the counters, every roster slot
// (type for its side, cell on the inner map, hit points, readiness bytes, no two units of one
// side on one cell), the HQs' shared SP and its ceiling, the type counts, the occupancy layer as
// asked, the vision grids, the end markers and ordering of the heal, reserve, candidate, pair
// and path lists, the selection indices and the debug listing's ring.
bool check_invariants(const Game& g, OccupancyCheck occupancy, std::string* why);

// The same with OccupancyCheck::kNamesSlots: safe after any pass.
bool check_invariants(const Game& g, std::string* why);

// True when the block of `scene` redraws the map on every pass and then moves, adds or removes
// no unit, so a pass that starts and ends in that scene (and was not sent to the title by
// Escape) leaves the occupancy layer current.
bool scene_leaves_occupancy_current(int scene);
