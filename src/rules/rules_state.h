// Work grids and lists of movement and combat. Plain fixed-size data only.
#pragma once

#include <cstdint>

#include "world/world_state.h"

constexpr int kPathEntries = 1000;
constexpr int kCandidates = 61;
constexpr int kPairs = 100;
constexpr int32_t MISS = -1;

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
};
