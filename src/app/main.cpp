// nevalt: plays the game in a window, or runs it headless from an input script for tests and
// replays.
#include <SDL.h>
#include <SDL_ttf.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "bot/autoplay.h"
#include "game/game_tick.h"
#include "game/output_file.h"
#include "game/state_dump.h"
#include "platform/headless_host.h"
#include "platform/input_script.h"
#include "platform/sdl_host.h"
#include "platform/startup.h"
#include "state/game.h"
#include "ui/surface.h"
#include "world/text.h"

namespace {

// The drawing surface's font and sprite-sheet loaders. Until they are part of the build these
// steps are skipped; the Japanese font is still checked below.
const FormAssets kFormAssets{open_fonts, close_fonts, load_sprite_sheet};

struct Options {
  std::string data_dir;
  int scale = 1;
  bool mute = false;
  int music_volume = 100;
  int sound_volume = 100;
  int enemy_speed = 1;
  bool debug = false;
  long long seed = -1;
  std::string record;
  bool headless = false;
  long ticks = -1;
  std::string input;
  std::string screenshot;
  std::string dump_state;
  bool autoplay = false;
  int autoplay_battles = 0;
  bool assist = false;
  bool fullscreen = false;
  std::string lang;
};

// Said before any range check, so that "abc" is called what it is rather than out of range.
const CLI::Validator kWholeNumber(
    [](std::string& value) -> std::string {
      size_t i = value[0] == '-' || value[0] == '+' ? 1 : 0;
      bool digits = i < value.size();
      for (; i < value.size(); ++i) digits = digits && value[i] >= '0' && value[i] <= '9';
      return digits ? std::string() : "a whole number is expected, not '" + value + "'";
    },
    "", "whole number");

const CLI::Validator kLanguageCode(
    [](std::string& value) -> std::string {
      return is_language_code(value)
                 ? std::string()
                 : "a language code such as en or pt_BR is expected, not '" + value + "'";
    },
    "", "language code");

int fail(const std::string& message) {
  std::fprintf(stderr, "nevalt: %s\n", message.c_str());
  return 1;
}

// Paths given on the command line are taken from where the program was started, not from the
// data folder it moves into.
std::string absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const auto p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

std::string executable_dir() {
  char* base = SDL_GetBasePath();
  if (base == nullptr) return "";
  std::string dir = base;
  SDL_free(base);
  return dir;
}

// What the built-in player saw of each battle, for the state dump.
nlohmann::ordered_json autoplay_json(const Autoplay& bot) {
  static const char* const kOutcomes[] = {"unfinished", "victory", "defeat"};
  nlohmann::ordered_json battles = nlohmann::ordered_json::array();
  for (int i = 0; i < bot.battle_count(); ++i) {
    const BattleRecord& r = bot.battle(i);
    battles.push_back({{"stage", r.stage},
                       {"outcome", kOutcomes[r.outcome]},
                       {"turns", r.turns},
                       {"passes", r.passes},
                       {"units_lost", r.units_lost},
                       {"hqs_lost", r.hqs_lost},
                       {"units_built", r.units_built},
                       {"enemies_destroyed", r.enemies_destroyed},
                       {"hqs_taken", r.hqs_taken},
                       {"cancels", r.cancels}});
  }
  return nlohmann::ordered_json{
      {"finished", bot.finished()}, {"passes", bot.passes()}, {"battles", std::move(battles)}};
}

// Everything from opening SDL to the last pass; the Game is already made.
int play(Game& g, const Options& o, const std::string& data_dir, unsigned seed) {
  InputScript script;
  std::string error;
  if (!o.input.empty() && !load_input_script(o.input, &script, &error)) return fail(error);

  if (o.headless) {
    if (SDL_Init(0) != 0) return fail(std::string("cannot start SDL: ") + SDL_GetError());
  } else if (!init_video(&error)) {
    return fail(error);
  }
  if (TTF_Init() != 0) return fail(std::string("cannot start SDL_ttf: ") + TTF_GetError());

  const std::string font_file = find_japanese_font(&error);
  if (font_file.empty()) return fail(error);
  if (!open_form_assets(g, kFormAssets, &error)) return fail(error);
  if (!check_pictures(data_dir, &error)) return fail(error);

  form_create(g, seed);
  g.flow.assist = o.assist;
  // The window opens as F11 of assisted play leaves it, so that F11 then returns to the window.
  if (o.assist) g.assist.fullscreen = o.fullscreen;

  std::unique_ptr<Autoplay> bot;
  if (o.autoplay) {
    AutoplayOptions ao;
    // In the window the pointer rests a moment on what it is about to click.
    ao.dwell = o.headless ? 1 : 4;
    ao.battles = o.autoplay_battles;
    bot = std::make_unique<Autoplay>(ao);
  }

  HostLog log;
  long passes = 0;
  int record_status = 0;
  if (o.headless) {
    HeadlessHost host(g, !o.dump_state.empty());
    host.run(script, o.ticks, bot.get());
    log = host.log();
    passes = host.pass_number();
  } else {
    SdlHostOptions so;
    so.scale = o.scale;
    so.mute = o.mute;
    so.music_volume = o.music_volume;
    so.sound_volume = o.sound_volume;
    so.enemy_speed = o.enemy_speed;
    so.debug = o.debug;
    so.fullscreen = o.fullscreen;
    so.record_path = o.record;
    so.seed = seed;
    so.max_passes = o.ticks;
    so.keep_log = !o.dump_state.empty();
    so.font_file = font_file;
    so.driver = bot.get();
    std::unique_ptr<SdlHost> host = SdlHost::create(g, so, &error);
    if (host == nullptr) return fail(error);
    host->run();
    if (!host->finish_recording(&error)) record_status = fail(error);
    log = host->log();
    passes = host->pass_number();
  }

  // Each output is written whatever became of the others; any one lost fails the run.
  int status = record_status;
  if (!o.screenshot.empty() && !write_screenshot(o.screenshot, g.form.img_main, &error)) {
    status = fail(error);
  }
  if (!o.dump_state.empty()) {
    nlohmann::ordered_json dump = state_dump(g, passes, log);
    if (bot != nullptr) dump["autoplay"] = autoplay_json(*bot);
    if (!write_state_dump(o.dump_state, dump, &error)) status = fail(error);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // Past a file-size limit a write should fail like any other (the save says so and keeps the
  // old file) instead of ending the program in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);

  CLI::App app{"Nevalt: a turn-based tactics war game, red against the computer's blue."};
  Options o;
  app.set_version_flag("--version", std::string("nevalt ") + NEVALT_VERSION,
                       "Print the version and exit");
  app.add_option("--data", o.data_dir,
                 "Folder with the game's files; the game runs in it and saves SAVE.TXT there "
                 "(default: 'data' beside the program if present, else the installed data; "
                 "saves then go to $XDG_DATA_HOME/nevalt, by default ~/.local/share/nevalt)");
  app.add_option("--scale", o.scale, "Show every pixel as NxN (1 to 8)")
      ->check(kWholeNumber)
      ->check(CLI::Range(1, 8));
  app.add_flag("--mute", o.mute, "No sound");
  app.add_option("--music-volume", o.music_volume, "Volume of the music in percent (0 to 100)")
      ->check(kWholeNumber)
      ->check(CLI::Range(0, 100));
  app.add_option("--sound-volume", o.sound_volume,
                 "Volume of the sound effects in percent (0 to 100)")
      ->check(kWholeNumber)
      ->check(CLI::Range(0, 100));
  app.add_option("--enemy-speed", o.enemy_speed,
                 "Passes per 30 ms tick while the computer plays its turn (1 to 8); "
                 "the headless run is unchanged")
      ->check(kWholeNumber)
      ->check(CLI::Range(1, 8));
  app.add_flag("--debug", o.debug,
               "Show the unit listing and its three buttons right of the picture (window only)");
  app.add_option("--seed", o.seed, "Seed of the random generator (default: the clock)")
      ->check(kWholeNumber)
      ->check(CLI::Range(0LL, 4294967295LL));
  app.add_option("--record", o.record, "Write the input of this game as an input script");
  app.add_flag("--headless", o.headless, "No window: run --ticks passes as fast as possible");
  app.add_option("--ticks", o.ticks, "Number of passes to run")
      ->check(kWholeNumber)
      ->check(CLI::Range(0L, 1L << 40));
  app.add_option("--input", o.input, "Input script for --headless");
  app.add_option("--screenshot", o.screenshot, "Write the picture as PNG after the last pass");
  app.add_option("--dump-state", o.dump_state, "Write the game state as JSON after the last pass");
  app.add_flag("--autoplay", o.autoplay,
               "Let the built-in player play the red side through the pointer (in place of the "
               "mouse, or of --input when headless)");
  app.add_option("--autoplay-battles", o.autoplay_battles,
                 "With --autoplay: stop after N battles, won or lost (default 0: play the "
                 "campaign to its ending)")
      ->check(kWholeNumber)
      ->check(CLI::Range(0, 1000000));
  app.add_flag("--assist", o.assist,
               "Assisted play: the attack forecast, the unit card, the enemy's threat (T), the "
               "path preview, the keyboard (arrows, Tab, Space, F11, M), and the battle in "
               "progress kept between sittings and resumed by Continue");
  app.add_flag("--fullscreen", o.fullscreen,
               "Fill the screen: the picture at the largest whole scale that fits, black round it "
               "(with --assist, F11 returns to the window); the headless run is unchanged");
  app.add_option("--lang", o.lang,
                 "Language of the texts: en for English (default: ja, the game's own Japanese); "
                 "the catalogue comes from the data folder's locale/LANG/LC_MESSAGES/nevalt.mo")
      ->type_name("LANG")
      ->check(kLanguageCode);
  CLI11_PARSE(app, argc, argv);

  if (o.autoplay && !o.input.empty())
    return fail("--autoplay plays in place of --input; give one of them");
  if (o.autoplay_battles != 0 && !o.autoplay) return fail("--autoplay-battles needs --autoplay");
  if (o.headless && o.ticks < 0) return fail("--headless needs --ticks N");
  if (!o.input.empty() && !o.headless) return fail("--input needs --headless");
  if (!o.record.empty() && o.headless)
    return fail(
        "--record records play in the window; "
        "it cannot be used with --headless");

  o.input = absolute(o.input);
  o.record = absolute(o.record);
  o.screenshot = absolute(o.screenshot);
  o.dump_state = absolute(o.dump_state);
  // Before any pass: a long run must not find out at its end that its output cannot be kept.
  const std::pair<const std::string*, const char*> outputs[] = {
      {&o.screenshot, "screenshot"}, {&o.dump_state, "state dump"}, {&o.record, "recording"}};
  for (const auto& [path, what] : outputs) {
    std::string error;
    if (!path->empty() && !check_output_path(*path, what, &error)) return fail(error);
  }

  std::string data_dir =
      o.data_dir.empty() ? default_data_dir(executable_dir(), NEVALT_INSTALLED_DATA) : o.data_dir;
  if (!data_dir.empty() && chdir(data_dir.c_str()) != 0) {
    return fail("cannot enter the data folder " + data_dir);
  }
  data_dir = std::filesystem::current_path().string();

  auto g = std::make_unique<Game>();
  g->flow.assist = o.assist;
  if (!o.lang.empty()) {
    std::string error;
    if (!use_language(*g, data_dir, o.lang, &error)) return fail("--lang: " + error);
  }
  // With --data the game saves in that folder, as it always did. Otherwise the data folder may
  // belong to the system, so saves go to the user's own folder; a save an older game left in the
  // data folder is still read there until the first new one is written.
  if (o.data_dir.empty()) {
    const std::string save_dir = user_save_dir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!save_dir.empty() && !set_save_location(*g, save_dir, data_dir)) {
      return fail("the name of the save folder is too long: " + save_dir);
    }
  }

  const unsigned seed =
      o.seed >= 0 ? static_cast<unsigned>(o.seed) : static_cast<unsigned>(std::time(nullptr));

  const int status = play(*g, o, data_dir, seed);
  release_form_assets(*g, kFormAssets);
  TTF_Quit();
  SDL_Quit();
  return status;
}
