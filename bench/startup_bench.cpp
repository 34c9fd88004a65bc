// From starting the program to its first title frame: the whole program run for one pass, the
// title's pass included, then closed. Headless always; in the window only where there is a
// display (run it under xvfb-run). The time of closing is counted too, so the figure is an
// upper bound.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the program with the arguments; false when it could not be started or failed.
bool run_program(std::vector<std::string> args) {
  args.insert(args.begin(), NEVALT_BINARY);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 0, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, NEVALT_BINARY, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_StartToFirstTitleFrameHeadless(benchmark::State& state) {
  for (auto _ : state) {
    if (!run_program({"--headless", "--ticks", "1", "--data", NEVALT_DATA_DIR, "--seed", "1"})) {
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
    if (!run_program({"--ticks", "1", "--mute", "--data", NEVALT_DATA_DIR, "--seed", "1"})) {
      state.SkipWithError("the program failed");
      return;
    }
  }
}
BENCHMARK(BM_StartToFirstTitleFrameWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
