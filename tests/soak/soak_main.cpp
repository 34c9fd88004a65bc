// nevalt_soak: the built-in player plays the whole campaign several times in one process,
// headless, as `nevalt --headless --autoplay` plays it. At every stage start the program notes
// its resident memory. The first campaign warms the caches (rendered texts, fonts, the mixer),
// so its highest stage start is the baseline; the program fails when a stage start of a later
// campaign lies more than the allowed margin above it, or when the game's invariants break.
//   nevalt_soak [--campaigns N] [--seed S] [--margin-kb K] [--max-passes P]
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bot/autoplay.h"
#include "game/campaign.h"
#include "game/game_tick.h"
#include "platform/headless_host.h"
#include "state/game.h"
#include "support/data_copy.h"
#include "support/invariants.h"
#include "ui/surface.h"

namespace {

// One field of /proc/self/status in kB, -1 when there is none.
long status_kb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(field);
  while (std::getline(in, line)) {
    if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') {
      return std::strtol(line.c_str() + n + 1, nullptr, 10);
    }
  }
  return -1;
}

// The processor time this thread has used, in microseconds: unlike the wall clock it does not
// grow while the shared machine runs something else, so a pass's figure is the pass's own.
double thread_cpu_us() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Hands the built-in player's samples to the host and notes when each was given, so the time
// of the pass that follows can be told apart from the player's own thinking.
class TimedPlayer : public PointerDriver {
 public:
  explicit TimedPlayer(Autoplay& bot) : bot_(bot) {}
  PointerSample next_sample(const Game& g) override {
    const PointerSample s = bot_.next_sample(g);
    sampled_us_ = thread_cpu_us();
    return s;
  }
  bool finished() const override { return bot_.finished(); }
  // Processor time since the last sample: after a one-pass run, the time of that pass.
  double pass_us() const { return thread_cpu_us() - sampled_us_; }

 private:
  Autoplay& bot_;
  double sampled_us_ = thread_cpu_us();
};

// The passes of one group of scenes: how many, the longest, and how many took over 3 ms.
struct PassTimes {
  const char* name;
  long count = 0;
  double longest_us = 0;
  long longest_pass = 0;
  int longest_scene = 0;
  long over_3ms = 0;
  void add(double us, long pass, int scene) {
    count += 1;
    if (us > 3000) over_3ms += 1;
    if (us > longest_us) {
      longest_us = us;
      longest_pass = pass;
      longest_scene = scene;
    }
  }
};

struct StageStart {
  int campaign;
  int stage;  // 1 to 10
  long pass;
  long rss_kb;
  long peak_kb;
};

}  // namespace

int main(int argc, char** argv) {
  int campaigns = 3;
  unsigned seed = 1;
  long margin_kb = 2048;
  long max_passes = 20000000;
  for (int i = 1; i < argc; ++i) {
    const bool value = i + 1 < argc;
    if (std::strcmp(argv[i], "--campaigns") == 0 && value) {
      campaigns = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--seed") == 0 && value) {
      seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--margin-kb") == 0 && value) {
      margin_kb = std::strtol(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--max-passes") == 0 && value) {
      max_passes = std::strtol(argv[++i], nullptr, 10);
    } else {
      std::fprintf(stderr,
                   "usage: nevalt_soak [--campaigns N] [--seed S] [--margin-kb K] "
                   "[--max-passes P]\n");
      return 2;
    }
  }

  std::string error;
  FontCache* fonts = open_fonts(&error);
  if (fonts == nullptr) {
    std::fprintf(stderr, "nevalt_soak: %s\n", error.c_str());
    return 1;
  }
  test_files::DataCopy data("nevalt-soak");
  if (data.dir().empty()) return 1;
  const std::filesystem::path old_dir = std::filesystem::current_path();
  std::filesystem::current_path(data.dir());

  auto g = std::make_unique<Game>();
  form_create(*g, seed);
  g->form.fonts = fonts;
  std::vector<StageStart> starts;
  std::string failure;
  // The screens between battles, the player's map and menus, the computer's turn.
  PassTimes times[3] = {{"screens (scenes below 100)"},
                        {"map, menus and commands (100 to 420)"},
                        {"the computer's turn (5000 and above)"}};
  {
    // As `nevalt --headless --autoplay` without a state dump: nothing is logged.
    HeadlessHost host(*g, false);
    const InputScript none;
    for (int campaign = 1; campaign <= campaigns && failure.empty(); ++campaign) {
      // Each campaign from "Start": no save, and the title as Escape brings it back.
      std::error_code ec;
      std::filesystem::remove(kSaveFileName, ec);
      g->flow.scene = 0;
      Autoplay bot(AutoplayOptions{});
      TimedPlayer player(bot);
      while (!bot.finished() && host.pass_number() < max_passes) {
        const int before = g->flow.scene;
        host.run(none, host.pass_number() + 1, &player);
        times[before < 100    ? 0
              : before < 5000 ? 1
                              : 2]
            .add(player.pass_us(), host.pass_number(), before);
        if (g->flow.closed) {
          failure = "the game closed its window";
          break;
        }
        if (!check_invariants(*g, &error)) {
          failure = "pass " + std::to_string(host.pass_number()) + ", scene " +
                    std::to_string(g->flow.scene) + ": " + error;
          break;
        }
        if ((before == 11 || before == 13) && g->flow.scene >= 100) {
          starts.push_back(StageStart{campaign, g->flow.stage_no + 1, host.pass_number(),
                                      status_kb("VmRSS"), status_kb("VmHWM")});
          const StageStart& s = starts.back();
          std::printf("campaign %d, stage %2d at pass %9ld: resident %ld kB, peak %ld kB\n",
                      s.campaign, s.stage, s.pass, s.rss_kb, s.peak_kb);
          std::fflush(stdout);
        }
      }
      if (!bot.finished() && failure.empty()) failure = "the campaign did not end in time";
      int won = 0;
      int lost = 0;
      for (int b = 0; b < bot.battle_count(); ++b) {
        won += bot.battle(b).outcome == BattleRecord::kVictory;
        lost += bot.battle(b).outcome == BattleRecord::kDefeat;
      }
      std::printf("campaign %d: %ld passes so far, %d battles won, %d lost\n", campaign,
                  host.pass_number(), won, lost);
    }
  }
  free_picture(g->form.img_main);
  free_picture(g->form.img_window);
  free_picture(g->form.img_tile);
  free_sprite_sheet(g->form.ImageList1);
  close_fonts(fonts);
  std::filesystem::current_path(old_dir);

  // Processor time of each pass; a report for reading beside the benchmarks, not a test.
  for (const PassTimes& t : times) {
    std::printf("passes of %s: %ld, the longest %.2f ms (pass %ld, scene %d), %ld over 3 ms\n",
                t.name, t.count, t.longest_us / 1000, t.longest_pass, t.longest_scene, t.over_3ms);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory of the whole run: %ld kB\n", usage.ru_maxrss);
  if (!failure.empty()) {
    std::fprintf(stderr, "nevalt_soak: %s\n", failure.c_str());
    return 1;
  }
  long baseline_kb = 0;
  long later_kb = 0;
  for (const StageStart& s : starts) {
    long& highest = s.campaign == 1 ? baseline_kb : later_kb;
    if (s.rss_kb > highest) highest = s.rss_kb;
  }
  if (baseline_kb == 0 || later_kb == 0) {
    std::fprintf(stderr, "nevalt_soak: no stage start after the first campaign to compare\n");
    return 1;
  }
  std::printf(
      "highest resident memory at a stage start: %ld kB in the first campaign, %ld kB in the "
      "later ones (%+ld kB, allowed %ld)\n",
      baseline_kb, later_kb, later_kb - baseline_kb, margin_kb);
  if (later_kb - baseline_kb > margin_kb) {
    std::fprintf(stderr, "nevalt_soak: the memory grew by %ld kB after the first campaign\n",
                 later_kb - baseline_kb);
    return 1;
  }
  return 0;
}
