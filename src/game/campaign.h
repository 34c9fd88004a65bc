// Campaign progress: the stage to play next and the highest stage unlocked, the save file that
// keeps them between runs, the set-up of a stage and the step to the next one.
#pragma once

#include <cstdint>
#include <string>

#include "game/save_folder.h"

struct Game;

constexpr const char* kSaveFileName = "SAVE.TXT";
constexpr int kLastStage = 9;  // stage indices 0 to 9 are "Stage 1" to "Stage 10"

// The texts of the message boxes that tell the player a save or a load did not work.
constexpr const char* kSaveFailedText = N_("セーブできませんでした");
constexpr const char* kLoadFailedText = N_("セーブデータを読み込めませんでした");

// What the game changes for each stage before its map is loaded.
struct StageParams {
  int32_t max_sp;         // HQ SP ceiling of rows 1 and 12
  int32_t start_sp;       // SP the starting HQs of both sides receive
  int32_t air_prices[4];  // player bomber, player fighter, enemy bomber, enemy fighter
  int32_t player_income;
  int32_t enemy_income;
};

// The row for a stage index; any index outside 0 to 9 takes the row shared by all of them.
const StageParams& stage_params(int32_t stage_no);

// Replaces the file at `path` with "stage_no,max_stage" (no line end) the way replace_file does:
// on any failure the old file is left as it was and *error says what went wrong.
bool write_progress_file(const char* path, int32_t stage_no, int32_t max_stage, RenameFn rename_fn,
                         std::string* error);

// Reads the numbers the way "%d,%d" does: leading white space, an optional sign and digits, a
// comma right after the first number, then the second. Returns how many numbers were read (0, 1
// or 2) and writes only those. A number beyond the 32-bit range is taken as the nearest limit.
int parse_progress(const char* text, int32_t* stage_no, int32_t* max_stage);

// The save file the game writes: SAVE.TXT in g.save.dir, or in the working folder when none is
// set.
std::string progress_file(const Game& g);
// The save file "Continue" reads: the one progress_file names, or while that does not exist yet,
// the one an older game left in g.save.legacy_dir (when there is one).
std::string progress_file_to_read(const Game& g);

// Writes stage_no and max_stage to progress_file, making its folder first when it is missing.
// False when the folder could not be made or the file could not be written; the player has then
// been told in a message box and the old save is intact.
bool save_progress(Game& g);

// "セーブ" of the intermission and of the map menu: saves, shows the save notice when the save
// worked, and starts the 60-pass pause of pause_scene. A failed save has been reported in a
// message box; the pause follows all the same, so the held button does not try again at once.
void save_and_pause(Game& g, int pause_scene);

// Reads stage_no and max_stage from progress_file_to_read as they stand, without any range test:
// one number read sets only stage_no. A missing or unreadable file, or one that does not start with
// a number, keeps both numbers, tells the player in a message box and returns false.
bool load_progress(Game& g);

// The stage's row of the per-stage table for stage_no: the HQ rows' SP ceiling, the SP the
// starting HQs receive and the aircraft prices.
void set_stage_tables(Game& g);

// The start of stage stage_no: its row of parameters, its map, its incomes and the framing of
// the first turn (the view on the player's first unit), then the battle music and the map scene.
// A map that cannot be read starts nothing: after its message the intermission returns by way
// of the 60-pass pause of scene 12.
void stage_setup(Game& g);

// The prices of the four aircraft rows; a side's anti-aircraft gun can be bought only where the
// other side can buy aircraft, at the price remembered at start-up.
void set_air_prices(Game& g, int32_t player_bomber, int32_t player_fighter, int32_t enemy_bomber,
                    int32_t enemy_fighter);

// After the victory pause: on to the next stage's intermission, or the ending after the last.
void advance_stage(Game& g);
