// Work grids and lists of movement and combat. Plain fixed-size data only.
#pragma once

#include <cstdint>

#include "state/world_state.h"

constexpr int kPathEntries = 1000;
constexpr int kCandidates = 61;
constexpr int kPairs = 100;
constexpr int32_t MISS = -1;
// compute_reach keeps one bucket per cost below 65535, the costs a walk can end with.
constexpr int kReachBuckets = 65535;
constexpr int kMapCells = kMapSize * kMapSize;

struct TCandidate {
  int32_t slot;
  int32_t x;
  int32_t y;
};

struct TPair {
  int32_t p_slot;
  int32_t p_x;
  int32_t p_y;
  int32_t e_slot;
  int32_t e_x;
  int32_t e_y;
  int32_t distance;
};

struct RulesState {
  int32_t move_cost[kMapSize][kMapSize];  // [x][y]
  int32_t reach[kMapSize][kMapSize];      // [x][y]

  CellPoint path_list[kPathEntries];
  int32_t path_fill;
  int32_t walk_index;

  int32_t attack_range[kMapSize][kMapSize];  // [x][y]
  TCandidate player_candidates[kCandidates];
  TCandidate enemy_candidates[kCandidates];
  TPair pair_list[kPairs];
  TPair sort_swap;
  TPair sort_pivot;
  int32_t last_target = kNone;

  // Work space of compute_reach: the cells waiting to be settled, one stack per reach value,
  // linked through the cells. Cells are numbered x * 64 + y and stored plus one, so 0 means
  // none. Every stack is empty again when compute_reach returns.
  uint16_t reach_bucket[kReachBuckets];
  uint16_t reach_next[kMapCells];
};
