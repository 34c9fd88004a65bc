// The computer's threat as the player may know it: where the computer units the player sees
// could attack in their next turn, and which of the player's HQs they could take.
#pragma once

#include <cstdint>

#include "state/assist_state.h"

struct Game;

// Fills `out` from the board as it stands: for every computer unit that acts in its turn and
// stands on a cell the player sees, the cells it can reach with its move (by the rules' own
// move costs and reach, hindered by the player's units, its own cell included) widened by its
// range. A player HQ is in danger when the seen units that reach it could, each with its best
// hit, bring its hit points to 0 together. Reads the game only.
void fill_threat_map(const Game& g, ThreatMap& out);

// A number that changes whenever anything the threat depends on changes: the units of both
// sides (kind, cell, hit points) and which computer units the player sees.
uint64_t threat_board_key(const Game& g);
