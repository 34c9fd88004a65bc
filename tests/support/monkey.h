// The monkey: plays the whole game in this process with seeded random input (the pointer
// anywhere, inside the picture and far outside it, both buttons, Escape, Ctrl) and checks the
// game's invariants after every pass. The input is biased towards what leads deeper into the
// game: it presses where a menu row lights up, on its own ready units, on reachable cells and
// on enemies in range, holds buttons for a few passes and lets them go so release gates open,
// and favours "Start" and "出撃". Now and then it damages the save file or a map file between
// two passes, as a crash or another program might.
//
// The game runs in a private folder: the pictures, music and sounds are linked from the build's
// data folder, the maps are copied (the monkey damages them), and SAVE.TXT is written there.
// Used by the short monkey of the test suite and by the long-running nevalt_monkey program.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

struct FontCache;

namespace monkey {

struct Options {
  uint64_t seed = 1;
  long passes = 3000;
  // Damage SAVE.TXT and the map files now and then.
  bool damage_files = true;
  // Hands long stretches of the game to the built-in player between the monkey's own, so the
  // monkey also plays in late turns, full rosters, captures and later stages.
  bool mix_bot = false;
  // Called with a line of progress every this many passes (0: never).
  long progress_every = 0;
  std::function<void(const std::string&)> progress;
};

struct Result {
  bool ok = true;
  std::string failure;  // the first broken check, with the pass and the scene
  long passes = 0;
  long restarts = 0;  // "Shutdown" chosen: the game was started afresh
  long messages = 0;
  long saves_written = 0;
  long damages = 0;
  long strict_checks = 0;  // passes after which occupancy was compared exactly
  std::set<int> scenes;    // every scene code a pass ended in
  int max_stage_started = -1;
  int max_turn = 0;
  long victories = 0;    // battles won (the victory banner shown)
  long defeats = 0;      // battles lost (the "Game over" banner shown)
  long hq_captures = 0;  // HQs that changed sides
  int max_player_units = 0;
  int max_enemy_units = 0;
  long bot_passes = 0;  // passes the built-in player gave the input for
};

// Plays one run with the game's fonts (opened by the caller, kept open throughout).
Result run(const Options& options, FontCache* fonts);

}  // namespace monkey
