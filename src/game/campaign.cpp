#include "game/campaign.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "game/audio.h"
#include "state/game.h"
#include "state/scene.h"
#include "ui/popups.h"
#include "ui/screens.h"
#include "view/map_view.h"
#include "world/map_file.h"
#include "world/roster_queries.h"
#include "world/tables.h"

namespace {

constexpr int32_t kNoAir = NO_AIR;
constexpr int kPlayerBomber = 10;
constexpr int kPlayerFighter = 11;
constexpr int kEnemyBomber = 21;
constexpr int kEnemyFighter = 22;
constexpr int kPlayerAa = 8;
constexpr int kEnemyAa = 19;

constexpr StageParams kStageTable[kLastStage + 1] = {
    {50, 50, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1},
    {100, 50, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1},
    {100, 50, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1},
    {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 2, 1},
    {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1},
    {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 3, 1},
    {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1},
    {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1},
    {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 2, 1},
    // The last stage is the only one with aircraft, for both sides.
    {100, 100, {15, 30, 15, 30}, 1, 1},
};
constexpr StageParams kOtherStage = {100, 100, {kNoAir, kNoAir, kNoAir, kNoAir}, 1, 1};

// A save file is two short numbers; anything past this is never looked at.
constexpr size_t kSaveReadBytes = 4096;

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// One "%d" at *p: white space, sign, digits. False, with *p unchanged, when there is no number.
bool parse_int(const char** p, int32_t* out) {
  const char* s = *p;
  while (is_space(*s)) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  if (!is_digit(*s)) return false;
  // Saturates instead of overflowing: a huge number reads as the 32-bit limit.
  int64_t value = 0;
  for (; is_digit(*s); ++s) {
    if (value <= INT32_MAX) value = value * 10 + (*s - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  *out = static_cast<int32_t>(value);
  *p = s;
  return true;
}

std::string reason(const char* what, const char* path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

const StageParams& stage_params(int32_t stage_no) {
  if (stage_no < 0 || stage_no > kLastStage) return kOtherStage;
  return kStageTable[stage_no];
}

bool write_progress_file(const char* path, int32_t stage_no, int32_t max_stage, RenameFn rename_fn,
                         std::string* error) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%d,%d", stage_no, max_stage);
  return replace_file(path, text, static_cast<size_t>(length), rename_fn, error);
}

int parse_progress(const char* text, int32_t* stage_no, int32_t* max_stage) {
  const char* p = text;
  int32_t first = 0;
  if (!parse_int(&p, &first)) return 0;
  *stage_no = first;
  if (*p != ',') return 1;
  ++p;
  int32_t second = 0;
  if (!parse_int(&p, &second)) return 1;
  *max_stage = second;
  return 2;
}

std::string progress_file(const Game& g) {
  return save_folder_file(g, kSaveFileName);
}

std::string progress_file_to_read(const Game& g) {
  std::string file = progress_file(g);
  if (g.save.legacy_dir[0] == '\0') return file;
  std::error_code ec;
  // Only a file that is not there at all gives way to the old one: an unreadable or damaged save
  // in the user's folder is reported as such, not silently replaced by older progress.
  if (std::filesystem::symlink_status(file, ec).type() != std::filesystem::file_type::not_found) {
    return file;
  }
  return (std::filesystem::path(g.save.legacy_dir) / kSaveFileName).string();
}

bool save_progress(Game& g) {
  std::string error;
  if (!make_save_folder(g, &error)) {
    tell_save_problem(g, kSaveFailedText, error);
    return false;
  }
  const std::string file = progress_file(g);
  if (write_progress_file(file.c_str(), g.flow.stage_no, g.flow.max_stage, std::rename, &error)) {
    return true;
  }
  tell_save_problem(g, kSaveFailedText, error);
  return false;
}

void save_and_pause(Game& g, int pause_scene) {
  if (save_progress(g)) draw_save_notice(g);
  g.flow.wait_ticks = 60;
  g.flow.scene = pause_scene;
}

bool load_progress(Game& g) {
  const std::string path = progress_file_to_read(g);
  const char* name = path.c_str();
  std::FILE* file = std::fopen(name, "r");
  if (file == nullptr) {
    tell_save_problem(g, kLoadFailedText, reason("cannot open", name));
    return false;
  }
  char text[kSaveReadBytes + 1];
  const size_t size = std::fread(text, 1, kSaveReadBytes, file);
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  text[size] = '\0';
  if (read_error) {
    tell_save_problem(g, kLoadFailedText, reason("cannot read", name));
    return false;
  }
  if (parse_progress(text, &g.flow.stage_no, &g.flow.max_stage) == 0) {
    tell_save_problem(g, kLoadFailedText, path + ": no stage number");
    return false;
  }
  return true;
}

void set_air_prices(Game& g, int32_t player_bomber, int32_t player_fighter, int32_t enemy_bomber,
                    int32_t enemy_fighter) {
  TUnitSpec* unit_rows = g.world.unit_specs;
  unit_rows[kPlayerBomber].cost = player_bomber;
  unit_rows[kPlayerFighter].cost = player_fighter;
  unit_rows[kEnemyBomber].cost = enemy_bomber;
  unit_rows[kEnemyFighter].cost = enemy_fighter;
  const bool enemy_flies = !(enemy_bomber == kNoAir && enemy_fighter == kNoAir);
  const bool player_flies = !(player_bomber == kNoAir && player_fighter == kNoAir);
  unit_rows[kPlayerAa].cost = enemy_flies ? g.flow.player_aa_price : kNoAir;
  unit_rows[kEnemyAa].cost = player_flies ? g.flow.enemy_aa_price : kNoAir;
}

void set_stage_tables(Game& g) {
  const StageParams& row = stage_params(g.flow.stage_no);
  WorldState& w = g.world;
  w.unit_specs[kPlayerHq].max_sp = row.max_sp;
  w.unit_specs[kEnemyHq].max_sp = row.max_sp;
  w.player_start_sp = row.start_sp;
  w.enemy_start_sp = row.start_sp;
  set_air_prices(g, row.air_prices[0], row.air_prices[1], row.air_prices[2], row.air_prices[3]);
}

void stage_setup(Game& g) {
  set_stage_tables(g);
  if (!load_stage_map(g, g.flow.stage_no)) {
    // Without its map the stage would open on whatever board was left, or on none, and could
    // be neither won nor lost. The player has been told; back to the intermission, after the
    // same pause a save takes, so the button still held on "出撃" does not try again at once.
    g.flow.wait_ticks = 60;
    g.flow.scene = kSceneIntermissionSavePause;
    return;
  }
  recount_types(g);
  const StageParams& row = stage_params(g.flow.stage_no);
  g.flow.player_income = row.player_income;
  g.flow.enemy_income = row.enemy_income;

  // The first turn has no income, repairs or banner: the map's units are ready as placed.
  g.flow.turn_no += 1;
  g.world.focus_slot = 0;
  focus_unit(g, kSidePlayer, 0);
  draw_map_view(g, 0, 0);

  play_music(g, Track::kBattle);
  g.flow.scene = kSceneMap;
}

void advance_stage(Game& g) {
  FlowState& f = g.flow;
  // In 64 bits: a stage number read from a damaged save may sit at the top of the range.
  const int64_t next = static_cast<int64_t>(f.stage_no) + 1;
  if (next > kLastStage) {
    load_form_picture(g, g.form.img_main, "BG2.bmp");
    play_music(g, Track::kEnding);
    f.scene = kSceneEnding;
    f.stage_no = kLastStage;
    return;
  }
  f.stage_no = static_cast<int32_t>(next);
  if (f.stage_no > f.max_stage) f.max_stage = f.stage_no;
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  play_music(g, Track::kIntermission);
  f.scene = kSceneIntermission;
}
