// Small questions and chores over the two rosters: the first unit that may act, counts of unit
// kinds, ending or refreshing a side's turn, and centring the view on a unit of a side.
#pragma once

#include <cstdint>

struct Game;

// Kinds of first_ready.
constexpr int kReadyAnyPlayer = 0;
constexpr int kReadyEnemyNotHq = 3;

// Kinds of count_units.
constexpr int kCountPlayerUnits = 0;  // types 2 to 11
constexpr int kCountEnemyUnits = 1;   // types 13 to 22; positions and reserves are not counted
constexpr int kCountPlayerHqs = 2;    // type 1
constexpr int kCountEnemyHqs = 3;     // type 12

// The lowest slot whose unit stands on the map and is ready: kind 0 looks at the player's roster,
// kind 3 at the enemy's, passing over its HQs. 65535 when there is none, and for any other kind.
int32_t first_ready(const Game& g, int kind);

// The number of slots of one roster whose type lies in the kind's range; 0 for any other kind.
int32_t count_units(const Game& g, int kind);

// Every slot of the side's roster loses its action.
void mark_all_acted(Game& g, int side);

// Start of a side's turn: every slot not at (0, 0) becomes ready and unmoved.
void refresh_side(Game& g, int side);

// Centres the view on the unit found `skip` units after focus_slot (wrapping to the first unit),
// remembers it in focus_slot and keeps the view on the map.
void focus_unit(Game& g, int side, int skip);
