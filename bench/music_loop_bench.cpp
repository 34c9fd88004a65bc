// How long the music falls silent where a track ends and starts again. A steady tone is looped
// through a real window (SDL's dummy video and audio drivers) while the mixer's output is
// watched; every run of silent frames between two stretches of tone is one restart's gap.
//
//   build/bench/music_loop_bench [--benchmark_repetitions=N]
//   SDL_VIDEODRIVER=x11 xvfb-run -a -s "-noreset" build/bench/music_loop_bench
//
// Counters: gaps seen (restarts); the gap's mean, smallest and largest length in milliseconds of
// output; notices, the end-of-track notices the host was sent, and notify_ms, the wall time from
// such a notice to the new play. The window's player hands a track the game loops to the mixer
// to repeat, so a seamless loop shows no gaps and no notices. When the host restarted it from
// the main thread instead, each end cost the rest of the mixer buffer in which the track ended
// (a buffer is 2048 frames, 46 ms at 44.1 kHz): 28.6 ms at every joint of this bench.
#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "game/game_tick.h"
#include "platform/sdl_host.h"
#include "platform/sdl_media_player.h"
#include "state/game.h"

namespace {

constexpr int kRate = 44100;
constexpr int kToneMs = 250;

// A mono 16-bit WAV file holding one constant non-zero level, so any zero in the output is a
// gap and not part of the sound.
void write_tone(const std::string& path) {
  const uint32_t samples = kRate * kToneMs / 1000;
  const uint32_t bytes = samples * 2;
  std::ofstream f(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  f.write("RIFF", 4);
  u32(36 + bytes);
  f.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  f.write("data", 4);
  u32(bytes);
  for (uint32_t i = 0; i < samples; ++i) u16(12000);
}

// Filled on the audio thread; read once the post-mix hook is removed (which takes the audio
// lock).
struct GapMeter {
  static constexpr int kMaxGaps = 256;
  bool heard = false;  // the tone has sounded at least once
  long silent = 0;     // frames of silence since the tone last sounded
  long gaps[kMaxGaps] = {};
  int count = 0;
};

void SDLCALL measure(void* udata, Uint8* stream, int len) {
  auto* m = static_cast<GapMeter*>(udata);
  const auto* s = reinterpret_cast<const Sint16*>(stream);
  const int frames = len / 4;  // 16-bit stereo
  for (int i = 0; i < frames; ++i) {
    if (s[2 * i] == 0 && s[2 * i + 1] == 0) {
      if (m->heard) ++m->silent;
      continue;
    }
    if (m->silent > 0 && m->count < GapMeter::kMaxGaps) m->gaps[m->count++] = m->silent;
    m->silent = 0;
    m->heard = true;
  }
}

// Times the host's answer to each end-of-track notice: the notice is stamped as it is posted
// (on the audio thread), and a watcher thread sees the music playing again.
class NotifyTimer {
 public:
  NotifyTimer() {
    SDL_AddEventWatch(stamp, this);
    watcher_ = std::thread([this] { watch(); });
  }
  ~NotifyTimer() { finish(); }
  // Stops watching; the figures are read after this.
  void finish() {
    if (!watcher_.joinable()) return;
    stop_ = true;
    watcher_.join();
    SDL_DelEventWatch(stamp, this);
  }
  long count() const { return count_; }
  double mean_ms() const { return count_ > 0 ? total_ms_ / count_ : 0; }
  double max_ms() const { return max_ms_; }

 private:
  static int SDLCALL stamp(void* udata, SDL_Event* event) {
    auto* t = static_cast<NotifyTimer*>(udata);
    if (event->type == SdlMusicPlayer::event_type() &&
        event->user.code == static_cast<Sint32>(MediaPlayer::Notify::kCompleted)) {
      t->posted_at_.store(SDL_GetPerformanceCounter());
    }
    return 1;
  }
  void watch() {
    const double per_ms = static_cast<double>(SDL_GetPerformanceFrequency()) / 1000.0;
    while (!stop_) {
      const Uint64 posted = posted_at_.load();
      if (posted != 0 && Mix_PlayingMusic()) {
        const double ms = static_cast<double>(SDL_GetPerformanceCounter() - posted) / per_ms;
        posted_at_.store(0);
        total_ms_ += ms;
        max_ms_ = std::max(max_ms_, ms);
        ++count_;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }

  std::atomic<Uint64> posted_at_{0};
  std::atomic<bool> stop_{false};
  std::thread watcher_;
  long count_ = 0;
  double total_ms_ = 0;
  double max_ms_ = 0;
};

void BM_MusicLoopRestart(benchmark::State& state) {
  // Unless told otherwise, e.g. SDL_VIDEODRIVER=x11 under xvfb-run for a real event loop.
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::string error;
  if (!init_video(&error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("nevalt-gap-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string tone = (dir / "tone.wav").string();
  write_tone(tone);

  auto timer = std::make_unique<NotifyTimer>();
  long restarts = 0;
  double total_ms = 0;
  double least_ms = 1e9;
  double most_ms = 0;
  for (auto _ : state) {
    auto g = std::make_unique<Game>();
    form_create(*g, 1);
    g->flow.scene = 375;  // the ending picture: draws nothing, waits for a click
    SdlHostOptions o;
    o.mute = true;
    o.max_passes = static_cast<long>(state.range(0));
    std::unique_ptr<SdlHost> host = SdlHost::create(*g, o, &error);
    if (host == nullptr) {
      state.SkipWithError(error.c_str());
      break;
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS || channels != 2) {
      state.SkipWithError("the mixer is not 16-bit stereo");
      break;
    }
    GapMeter meter;
    Mix_SetPostMix(measure, &meter);
    host->music_player().open(tone.c_str());
    host->music_player().play(true);
    host->run();
    Mix_SetPostMix(nullptr, nullptr);
    for (int i = 0; i < meter.count; ++i) {
      const double ms = meter.gaps[i] * 1000.0 / rate;
      total_ms += ms;
      least_ms = std::min(least_ms, ms);
      most_ms = std::max(most_ms, ms);
    }
    restarts += meter.count;
    host.reset();
  }
  timer->finish();
  const long notified = timer->count();
  const double notify_mean = timer->mean_ms();
  const double notify_max = timer->max_ms();
  timer.reset();
  std::filesystem::remove_all(dir);
  SDL_Quit();

  state.counters["restarts"] = static_cast<double>(restarts);
  state.counters["gap_ms_mean"] = restarts > 0 ? total_ms / restarts : 0;
  state.counters["gap_ms_min"] = restarts > 0 ? least_ms : 0;
  state.counters["gap_ms_max"] = most_ms;
  state.counters["notices"] = static_cast<double>(notified);
  state.counters["notify_ms_mean"] = notify_mean;
  state.counters["notify_ms_max"] = notify_max;
}
// 100 passes: three seconds of play, about a dozen restarts per iteration.
BENCHMARK(BM_MusicLoopRestart)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
