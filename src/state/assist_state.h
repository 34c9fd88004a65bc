// What assisted play (--assist) shows a newcomer: the attack forecast, the enemy's threat, the
// path a move would take, and the toggles of the keyboard. Fixed-size plain data like the rest of
// the state; the game without --assist never touches it.
#pragma once

#include <cstdint>

#include "state/rules_state.h"
#include "state/world_state.h"

// What an attack of the unit being commanded on the enemy under the pointer would come to, as
// the attack itself will draw it.
struct AttackForecast {
  bool shown = false;  // a card is up: the pointer rests on an enemy in range
  int32_t target_slot = -1;
  int32_t x = 0;  // the target's cell, where the card goes beside
  int32_t y = 0;
  int32_t hit_percent = 0;
  int32_t damage = 0;  // on a hit
  int32_t target_hp = 0;
  int32_t target_max_hp = 0;
  int32_t target_hp_after = 0;  // on a hit
  bool destroyed = false;       // a hit leaves a unit with nothing
  bool captured = false;        // a hit takes an HQ
};

// Where the computer's units that the player can see could strike in their next turn: every
// cell within their range of a cell they can reach. Kept until the board changes.
struct ThreatMap {
  uint8_t cells[kMapSize][kMapSize];   // [x][y]: 1 when some seen computer unit reaches it
  uint8_t hq_in_danger[kRosterSlots];  // by player slot: 1 for an HQ the seen units could take
  int32_t cell_count;                  // cells marked
  // Work space of the rules' reach search, one computer unit at a time.
  int32_t cost[kMapSize][kMapSize];
  int32_t reach[kMapSize][kMapSize];
  int32_t distance[kMapSize][kMapSize];
  uint16_t reach_bucket[kReachBuckets];  // zero between searches, as the search leaves it
  uint16_t reach_next[kMapCells];
};

// The way a unit would walk to the reachable cell under the pointer, as the move would trace it.
struct PathPreview {
  bool shown = false;
  int32_t cells = 0;             // entries of `path`
  CellPoint path[kPathEntries];  // the destination first, the first step last
};

struct AssistState {
  AttackForecast forecast;
  PathPreview path;
  bool threat_shown = false;  // T: the threat overlay is on
  bool muted = false;         // M: the host plays nothing
  bool fullscreen = false;    // F11: the host fills the screen
  bool hurry = false;         // Space held: the computer's turn runs at the fastest pace
  int32_t tab_slot = -1;      // the player slot Tab chose last
  bool threat_valid = false;  // `threat` belongs to the board `board_key` describes
  uint64_t board_key = 0;
  ThreatMap threat;
};
