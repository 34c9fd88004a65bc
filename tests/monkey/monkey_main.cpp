// nevalt_monkey: the long monkey run, outside the test suite.
//   nevalt_monkey [--passes N] [--seed S] [--bot] [--no-damage] [--progress N]
// --bot hands long stretches to the built-in player between the monkey's own.
// Exits 0 when every pass kept every invariant, 1 with the first broken one otherwise.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/monkey.h"
#include "ui/surface.h"

int main(int argc, char** argv) {
  monkey::Options o;
  o.passes = 200000;
  o.progress_every = 20000;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--passes") == 0 && has_value) {
      o.passes = std::strtol(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--seed") == 0 && has_value) {
      o.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--progress") == 0 && has_value) {
      o.progress_every = std::strtol(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--bot") == 0) {
      o.mix_bot = true;
    } else if (std::strcmp(argv[i], "--no-damage") == 0) {
      o.damage_files = false;
    } else {
      std::fprintf(
          stderr,
          "usage: nevalt_monkey [--passes N] [--seed S] [--bot] [--no-damage] [--progress N]\n");
      return 2;
    }
  }
  o.progress = [](const std::string& line) { std::printf("%s\n", line.c_str()); };

  std::string error;
  FontCache* fonts = open_fonts(&error);
  if (fonts == nullptr) {
    std::fprintf(stderr, "nevalt_monkey: %s\n", error.c_str());
    return 1;
  }
  const monkey::Result r = monkey::run(o, fonts);
  close_fonts(fonts);

  std::string scenes;
  // Not " " + std::to_string(s): GCC 12 warns falsely of overlapping copies there in Release.
  for (int s : r.scenes) {
    scenes += ' ';
    scenes += std::to_string(s);
  }
  std::printf(
      "%ld passes, seed %llu: %zu scenes seen (%s ), highest stage started %lld, highest turn %d, "
      "%ld restarts, %ld message boxes, %ld saves, %ld damaged files, %ld exact occupancy "
      "checks; %ld victories, %ld defeats, %ld HQs captured, at most %d player and %d computer "
      "units, %ld passes played by the built-in player\n",
      r.passes, static_cast<unsigned long long>(o.seed), r.scenes.size(), scenes.c_str(),
      static_cast<long long>(r.max_stage_started) + 1, r.max_turn, r.restarts, r.messages,
      r.saves_written, r.damages, r.strict_checks, r.victories, r.defeats, r.hq_captures,
      r.max_player_units, r.max_enemy_units, r.bot_passes);
  if (!r.ok) {
    std::fprintf(stderr, "nevalt_monkey: %s\n", r.failure.c_str());
    return 1;
  }
  return 0;
}
