// The built-in player's own search: how far each cell is from a set of goal cells over terrain
// alone. Where a unit can walk this turn is the rules' reach (rules/reach.h), not a search here.
#pragma once

#include <cstdint>

#include "state/world_state.h"

struct Game;

using CellGrid = int32_t[kMapSize][kMapSize];

// The value of a cell no walk reaches.
constexpr int32_t kUnreached = 65535;

// A binary heap of cells by cost, for the searches; room for every push a search over the
// whole map can make.
class SearchHeap {
 public:
  void clear() { n_ = 0; }
  bool empty() const { return n_ == 0; }
  void push(int32_t cost, int x, int y);
  // The cheapest entry; the heap must not be empty.
  void pop(int32_t* cost, int* x, int* y);

 private:
  struct Entry {
    int32_t cost;
    int16_t x;
    int16_t y;
  };
  static constexpr int kCapacity = kMapSize * kMapSize * 5 + 8;
  Entry e_[kCapacity];
  int n_ = 0;
};

// The cost of the cheapest walk from each cell to the nearest of the goal cells for a ground
// unit (air false) or an aircraft, over terrain alone: units are left out, since they move.
// Water counts as a long step. kUnreached where no goal can be reached.
void terrain_distance(const Game& g, const CellPoint* goals, int count, bool air, CellGrid& out,
                      SearchHeap& heap);
