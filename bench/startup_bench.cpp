// From starting the program to its first title frame: the whole program run for one pass, the
// title's pass included, then closed. Headless always; in the window only where there is a
// display (run it under xvfb-run). The time of closing is counted too, so the figure is an
// upper bound.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

void BM_StartToFirstTitleFrameHeadless(benchmark::State& state) {
  for (auto _ : state) {
    if (!test_files::run_program(NEVALT_BINARY, {"--headless", "--ticks", "1", "--data",
                                                 NEVALT_DATA_DIR, "--seed", "1"})) {
      state.SkipWithError("the program failed");
      return;
    }
  }
}
BENCHMARK(BM_StartToFirstTitleFrameHeadless)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StartToFirstTitleFrameWindow(benchmark::State& state) {
  if (std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  for (auto _ : state) {
    if (!test_files::run_program(
            NEVALT_BINARY, {"--ticks", "1", "--mute", "--data", NEVALT_DATA_DIR, "--seed", "1"})) {
      state.SkipWithError("the program failed");
      return;
    }
  }
}
BENCHMARK(BM_StartToFirstTitleFrameWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
