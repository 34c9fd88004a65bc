// Movement costs and the area a unit can reach.
#pragma once

#include <cstdint>

#include "state/rules_state.h"

struct Game;

using CostGrid = int32_t[kMapSize][kMapSize];

// A terrain's ground cost that stands for the mover's whole move: entering the cell ends the walk.
constexpr int32_t kWholeMove = 255;

constexpr int kMoveClassAir = 0;
constexpr int kMoveClassGround = 1;
// Which roster hinders the mover: the enemy units while the player moves, and the reverse.
constexpr int kRingEnemyUnits = 0;
constexpr int kRingPlayerUnits = 1;

// The movement class of a unit type: aircraft pay the air cost of terrain, all others the ground
// cost.
inline int move_class_of(const TUnitSpec& stats) {
  return stats.air == 1 ? kMoveClassAir : kMoveClassGround;
}

// The cores of build_move_cost and compute_reach. They read the terrain and the rosters and write
// only the caller's grids, so a player that asks where a unit could go changes nothing in the
// game.
// The search works through one stack of cells per reach value, linked through the cells (the
// game keeps its own in RulesState); a caller brings a ReachWork, which must start zeroed and is
// left so.
void fill_move_cost(const Game& g, int move, int move_class, int ring_side, CostGrid& cost);
void fill_reach(const Game& g, const CostGrid& cost, int x, int y, CostGrid& reach,
                uint16_t (&bucket)[kReachBuckets], uint16_t (&next)[kMapCells]);
// The same search stopped once every cell of cost `limit` or less is settled: those cells get
// their least cost exactly, every other cell a value above `limit` (65535, or a cost found on
// the way). For the cells within a unit's move, it spares the rest of the map.
void fill_reach(const Game& g, const CostGrid& cost, int x, int y, CostGrid& reach,
                uint16_t (&bucket)[kReachBuckets], uint16_t (&next)[kMapCells], int32_t limit);
struct ReachWork {
  uint16_t bucket[kReachBuckets] = {};
  uint16_t next[kMapCells] = {};
};

// Fills move_cost for a mover with `move` movement points. Aircraft (class 0) pay the terrain's
// air cost, ground units (class 1) its ground cost with 255 standing for the whole move. Every
// cell next to a unit of the hindering roster that can attack the mover's class costs the whole
// move. Any other class leaves the grid untouched.
void build_move_cost(Game& g, int move, int move_class, int ring_side);

// Fills reach with the least cost of walking from (x, y) to every cell, the start cell's own cost
// not counted. Border cells, cells holding a unit of either side (the mover's own included) and
// cells that cannot be reached hold 65535. A start cell that holds no unit keeps 0. Needs
// move_cost from build_move_cost. A negative cost counts as 0; a start off the grid reaches
// nothing.
void compute_reach(Game& g, int x, int y);

// True when (x, y) is a destination within `move` movement points of the last compute_reach.
bool within_move(const Game& g, int x, int y, int move);

// True for a cell of the 64 by 64 grid.
inline bool on_grid(int x, int y) {
  return x >= 0 && x < kMapSize && y >= 0 && y < kMapSize;
}
