// Composes and renders the game's music and sound effects into the data folder:
//   audiogen OUT_DIR
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audiogen/analysis.h"
#include "audiogen/encode.h"
#include "audiogen/pieces.h"

namespace {

using namespace audiogen;

constexpr int kMusicKbps = 128;

struct Job {
  std::string file;
  std::string error;
  std::string report;
};

// One line of measurements per file, so a build log shows what was made.
std::string describe(const Pcm& pcm, bool loop) {
  char line[200];
  int n = std::snprintf(line, sizeof line, "%6.2f s  peak %.3f  rms %.3f",
                        static_cast<double>(pcm.frames()) / kSampleRate,
                        static_cast<double>(peak_level(pcm)), static_cast<double>(rms_level(pcm)));
  if (loop && n > 0) {
    const LoopJoint joint = measure_loop_joint(pcm);
    std::snprintf(line + n, sizeof line - static_cast<size_t>(n),
                  "  loop joint step %.4f (nearby %.4f)", static_cast<double>(joint.jump),
                  static_cast<double>(joint.local_step));
  }
  return line;
}

void make_track(Track track, const std::string& dir, Job& job) {
  try {
    job.file = track_file(track);
    const Pcm pcm = render_track(track);
    job.error = write_mp3(dir + "/" + job.file, pcm, kMusicKbps);
    job.report = describe(pcm, true);
  } catch (const std::exception& e) {
    job.error = e.what();
  }
}

void make_effect(Effect effect, const std::string& dir, Job& job) {
  try {
    job.file = effect_file(effect);
    const Pcm pcm = render_effect(effect);
    job.error = write_wav(dir + "/" + job.file, pcm);
    job.report = describe(pcm, false);
  } catch (const std::exception& e) {
    job.error = e.what();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  std::error_code made;
  std::filesystem::create_directories(dir, made);
  if (made) {
    std::fprintf(stderr, "audiogen: cannot create %s: %s\n", dir.c_str(), made.message().c_str());
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();

  std::vector<Job> jobs(std::size(kTracks) + std::size(kEffects));
  // The tracks take nearly all the time; two workers share them.
  std::vector<std::thread> workers;
  for (size_t w = 0; w < 2; ++w) {
    workers.emplace_back([&, w] {
      for (size_t i = w; i < std::size(kTracks); i += 2) make_track(kTracks[i], dir, jobs[i]);
    });
  }
  for (size_t i = 0; i < std::size(kEffects); ++i) {
    make_effect(kEffects[i], dir, jobs[std::size(kTracks) + i]);
  }
  for (std::thread& t : workers) t.join();

  int failures = 0;
  for (const Job& job : jobs) {
    if (!job.error.empty()) {
      std::fprintf(stderr, "audiogen: %s: %s\n", job.file.c_str(), job.error.c_str());
      ++failures;
    } else {
      std::printf("audiogen: %-22s %s\n", job.file.c_str(), job.report.c_str());
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (failures > 0) {
    std::fflush(stdout);
    std::fprintf(stderr, "audiogen: %d of %zu files failed\n", failures, jobs.size());
    return 1;
  }
  std::printf("audiogen: done in %.1f s\n", seconds);
  return 0;
}
