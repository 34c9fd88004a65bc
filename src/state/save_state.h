// Where the campaign's save file lives. Both folders are set once at start-up; empty means the
// working folder, which is the data folder (the game always saved there, and --data keeps it so).
#pragma once

constexpr int kSaveDirMax = 4096;

struct SaveState {
  // The folder of SAVE.TXT, made on the first save when it is missing.
  char dir[kSaveDirMax] = {};
  // Where an older game kept SAVE.TXT; read while `dir` holds none, so no progress is lost.
  char legacy_dir[kSaveDirMax] = {};
};
