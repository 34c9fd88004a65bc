// HQ production and repair: prices, the cells next to an HQ that can take a new unit, paying for a
// new unit from the side's shared purse, and the repairs of a turn start.
#pragma once

#include <cstdint>

struct Game;

// deploy_dir values: 1 to 4 name the neighbour cell above, right, below, left of the HQ.
constexpr int kDeployNone = 0;  // the pointer is on no free neighbour cell
constexpr int kDeployUp = 1;
constexpr int kDeployRight = 2;
constexpr int kDeployDown = 3;
constexpr int kDeployLeft = 4;
constexpr int kDeployWalledIn = 5;  // the HQ has no free neighbour cell at all

// The most units of types 2 to 11 the player's HQs may build up to.
constexpr int kPlayerProductionLimit = 20;

// What the next unit of `type` costs: its cost times (its count + 1).
int32_t unit_price(const Game& g, int type);

// The cell next to (x, y) in direction dir (1 to 4); false, with the cell untouched, for any
// other dir.
bool deploy_neighbour(int x, int y, int dir, int* nx, int* ny);

// A cell that can take a new unit: terrain 4 to 11 and no unit on it. Cells of the outer ring
// are refused too, since a unit there would stand outside the occupancy layer.
bool is_free_deploy_cell(const Game& g, int x, int y);

// Which of the four neighbours of the HQ at (x, y) are free, indexed by dir - 1.
void free_neighbours(const Game& g, int x, int y, bool available[4]);

// The deploy_dir for the HQ at (x, y) with the pointer at (cursor_x, cursor_y) in picture pixels
// and the view at (view_x, view_y): the free neighbour whose cell strictly contains the pointer,
// 0 when none does, 5 when the HQ has no free neighbour. The drawing is left to the caller.
int deploy_dir_at(const Game& g, int x, int y);

// Takes `amount` SP from the HQ held in selected_unit, uses up its action, writes it back over
// slot selected_slot of the side's roster and gives every HQ of the side the same new SP.
void charge_hq(Game& g, int side, int32_t amount);

// The player's placement from the HQ in selected_unit: a unit of `type` with full hit points on
// the neighbour in direction dir, then the HQ pays cost times the type's new count. Returns the
// new unit's slot; kNoSlot (with nothing placed and nothing paid) when dir names no neighbour or
// the roster is full.
int32_t produce_unit(Game& g, int type, int dir);

// The repairs of a side's turn start: each HQ in slot order, then the side's units right, left,
// below and above it. heal_list receives one (x, y, amount) entry per repair and ends with an
// entry of 65535; repairs beyond the list's room are still made but not listed.
void repair_at_hqs(Game& g, int side);

// Adds a fifth of the unit's max_hp, never beyond it, and returns the hit points added.
int32_t repair_unit(Game& g, int side, int slot);
