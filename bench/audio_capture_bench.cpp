// What a player hears at the default volumes. The real program plays a session in a window
// (SDL's dummy video driver) with the built-in player at the mouse, from the title through the
// start of stage 1 and on into the battle, while SDL's disk audio driver writes the mixed output
// to a file (SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE). The session lasts until the battle track
// has looped at least once. The capture is then read back:
//
//   peak_dbfs        the loudest sample of the whole session, music and effects mixed
//   clipped          samples at full scale (the mixer clamps a sum that overflows), and
//   clip_bursts      how many separate moments they make
//   joint_silence_ms the longest silence (both channels under -60 dBFS) within 3 s of the
//                    battle track's first loop joint
//   battle_silence_ms the longest silence anywhere while the battle track plays
//   battle_track_s   the battle track's length; effects: the effects started in the session
//
//   build/bench/audio_capture_bench
//
// It runs in real time: about three minutes. To listen to another build, for a figure before a
// change: LISTEN_PROGRAM names its program, LISTEN_DATA a copy of its data folder (used as it
// is, and written to), and LISTEN_SECONDS makes the session at least that long.
#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/data_copy.h"
#include "support/mixed_output.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr double kPassSeconds = 0.030;
constexpr int kBattleTrack = 2;

// The length of a track as SDL_mixer decodes it, in seconds; 0 when it cannot be read.
double track_seconds(const fs::path& file) {
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  double seconds = 0;
  if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, 2048) == 0) {
    Mix_Init(MIX_INIT_MP3);
    if (Mix_Music* m = Mix_LoadMUS(file.string().c_str())) {
      seconds = Mix_MusicDuration(m);
      Mix_FreeMusic(m);
    }
    Mix_CloseAudio();
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return seconds;
}

std::string from_env(const char* name, const std::string& otherwise) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::string(v) : otherwise;
}

void BM_ListenToASession(benchmark::State& state) {
  test_files::DataCopy copy("nevalt-listen", test_files::DataCopy::Maps::kLinked);
  const fs::path data = from_env("LISTEN_DATA", copy.dir().string());
  if (data.empty()) {
    state.SkipWithError("no data folder");
    return;
  }
  const double battle_s = track_seconds(data / "seisen.mp3");
  if (battle_s <= 0) {
    state.SkipWithError("the battle track cannot be read");
    return;
  }
  const fs::path capture = copy.dir() / "capture.raw";
  const fs::path dump = copy.dir() / "state.json";
  // The battle starts within the first ten seconds; then one loop and some time beyond it.
  const double seconds =
      std::max(10.0 + battle_s + 6.0, std::atof(from_env("LISTEN_SECONDS", "0").c_str()));
  const long ticks = static_cast<long>(seconds / kPassSeconds);

  for (auto _ : state) {
    const bool ok = test_files::run_program(
        from_env("LISTEN_PROGRAM", NEVALT_BINARY),
        {"--data", data.string(), "--autoplay", "--seed", "1", "--ticks", std::to_string(ticks),
         "--dump-state", dump.string()},
        {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + capture.string()},
        (copy.dir() / "stderr.txt").string());
    if (!ok) {
      state.SkipWithError("the program failed");
      return;
    }
  }

  std::ifstream in(dump);
  const nlohmann::json d = nlohmann::json::parse(in, nullptr, false);
  std::vector<int16_t> samples;
  if (d.is_discarded() || !mixed_output::read_capture(capture.string(), &samples)) {
    state.SkipWithError("no capture or no state dump");
    return;
  }
  // When the battle track started and, if another followed, when it stopped.
  long battle_pass = -1, after_pass = -1;
  int effects = 0;
  for (const auto& a : d["audio"]) {
    if (a["kind"] == "sound") ++effects;
    if (a["kind"] != "music") continue;
    if (a["n"] == kBattleTrack && battle_pass < 0) {
      battle_pass = a["pass"];
    } else if (battle_pass >= 0 && after_pass < 0) {
      after_pass = a["pass"];
    }
  }
  const size_t frames = samples.size() / 2;
  if (battle_pass < 0) {
    state.SkipWithError("the battle track never started");
    return;
  }
  // Passes follow the wall clock, and so does the disk driver, to within a buffer or two.
  const auto frame_at = [](double seconds) { return static_cast<size_t>(seconds * kRate); };
  const size_t battle_start = frame_at(static_cast<double>(battle_pass) * kPassSeconds);
  const size_t battle_end =
      after_pass < 0 ? frames : frame_at(static_cast<double>(after_pass) * kPassSeconds);
  const size_t joint = battle_start + frame_at(battle_s);
  if (joint + frame_at(3.0) > battle_end) {
    state.SkipWithError("the session ended before the battle track looped");
    return;
  }

  const mixed_output::Levels levels = mixed_output::levels(samples, 0, frames);
  const mixed_output::Silence at_joint =
      mixed_output::longest_silence(samples, joint - frame_at(3.0), joint + frame_at(3.0));
  const mixed_output::Silence in_battle =
      mixed_output::longest_silence(samples, battle_start + frame_at(1.0), battle_end);
  const auto ms = [](size_t n) { return static_cast<double>(n) * 1000.0 / kRate; };
  state.counters["peak_dbfs"] = mixed_output::dbfs(levels.peak);
  state.counters["clipped"] = static_cast<double>(levels.clipped);
  state.counters["clip_bursts"] = levels.clip_bursts;
  state.counters["joint_silence_ms"] = ms(at_joint.frames);
  state.counters["battle_silence_ms"] = ms(in_battle.frames);
  state.counters["battle_track_s"] = battle_s;
  state.counters["session_s"] = static_cast<double>(frames) / kRate;
  state.counters["effects"] = effects;
}
BENCHMARK(BM_ListenToASession)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
