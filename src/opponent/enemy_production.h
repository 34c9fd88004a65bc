// What the computer's HQs build: the HQ nearest to a player HQ buys a unit drawn from the types
// it can afford, weighted towards the dearer ones, and places it on free land beside it.
#pragma once

#include <cstdint>

struct Game;

constexpr int kOfferEntries = 20;
// Below this SP an HQ never buys, whatever a type would cost.
constexpr int32_t kEnemyProductionFloor = 8;

// Pairs each of the first 11 player HQs with each of the first 11 computer HQs in pair_list,
// nearest pair first.
void pair_hqs(Game& g);

// Fills offer[0..19] with the offsets t (type 13 + t) that `sp` can pay for, in rising order,
// 65535 where empty, then fills the empty ones among the first ten with the highest affordable
// offset. Returns false, with the list all empty, when nothing is affordable.
bool build_offer_list(const Game& g, int32_t sp, int32_t (&offer)[kOfferEntries]);

// Which entry of the offer list a draw r (0 to 99) picks.
int offer_entry_for_draw(int r);

// One production attempt for the ready computer HQ of the nearest pair left by pair_hqs. An
// attempt that gets as far as choosing a type uses up the HQ's action; it pays only when a unit
// was placed (a walled-in HQ or a full roster places nothing). Returns the new unit's slot or
// 65535.
int32_t enemy_produce(Game& g);

// The first computer HQ's slot, 65535 when the computer holds none.
int32_t first_enemy_hq(const Game& g);
