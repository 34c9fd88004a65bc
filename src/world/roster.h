// The two rosters of 60 slots: placing units, removing the destroyed ones (with HQ capture), the
// occupancy layer and the enemy reserves.
#pragma once

#include <cstdint>

#include "state/world_state.h"

struct Game;

// What add_unit returns when every slot of the roster is in use; nothing is placed then.
constexpr int32_t kNoSlot = kNone;

// The roster of a side: 0 = player, anything else = enemy.
TUnit* roster_of(Game& g, int side);
const TUnit* roster_of(const Game& g, int side);

// True when the slot may take a new unit: its x or its y is 0.
bool slot_is_free(const TUnit& unit);

// Places a unit of `type` on cell (x, y) in the first free slot of the side's roster and returns
// that slot, or kNoSlot when all 60 slots are in use (no unit is ever overwritten). hp 900
// (default_hp) means the type's max_hp. The new unit is ready; its type's count grows by one;
// occupancy and the player's vision are brought up to date so the next placement sees it.
int32_t add_unit(Game& g, int x, int y, int type, int side, int hp);

// Clears the slots of destroyed units (hp 0 or less) of both sides. A destroyed HQ changes sides
// with 1 hit point and the highest SP among its new side's HQs. Ends with recount_types.
void remove_destroyed(Game& g);

// Rebuilds occupancy from both rosters and refreshes every placed unit's `terrain`.
void rebuild_occupancy(Game& g);

// Places the ace tank and the squads at their reserve cells, unless the enemy still holds a
// regular unit (types 13 to 22).
void deploy_reserves(Game& g);

int32_t lowest_of(int32_t a, int32_t b);

// Empties both rosters, slot by slot.
void clear_rosters(Game& g);
