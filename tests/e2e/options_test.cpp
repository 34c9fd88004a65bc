// The player's options on the command line: volumes, the pace of the computer's turn and the
// debug listing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/run_game.h"

namespace {

using e2e::Data;
using e2e::GameRun;
using e2e::run_game;
using e2e::RunPlan;

TEST(Options, ValuesOutOfRangeAreRefusedNamingTheOption) {
  const struct {
    std::vector<std::string> args;
    const char* option;
  } cases[] = {
      {{"--music-volume", "101"}, "--music-volume"}, {{"--music-volume", "-1"}, "--music-volume"},
      {{"--sound-volume", "101"}, "--sound-volume"}, {{"--sound-volume", "loud"}, "--sound-volume"},
      {{"--enemy-speed", "0"}, "--enemy-speed"},     {{"--enemy-speed", "9"}, "--enemy-speed"},
  };
  for (const auto& c : cases) {
    RunPlan plan;
    plan.data = Data::kSynthetic;
    plan.args = c.args;
    const GameRun run = run_game(plan);
    const std::string said = run.err + run.out;
    EXPECT_NE(run.exit_code, 0) << c.args[0] << " " << c.args[1];
    EXPECT_NE(said.find(c.option), std::string::npos) << said;
    EXPECT_TRUE(run.dump.is_null()) << "no pass may run";
  }
}

TEST(Options, HeadlessRunsTheSamePassesWithAnyPaceVolumeOrDebugListing) {
  RunPlan plan;
  plan.ticks = 120;
  plan.args = {"--seed", "99"};
  // "Start" on the title (sound and music), then a click on the intermission screen.
  plan.script = "0 300 350 0 0\n10 300 350 1 0\n11 300 350 0 0\n40 450 194 1 0\n41 450 194 0 0\n";
  const GameRun plain = run_game(plan);
  ASSERT_EQ(plain.exit_code, 0) << plain.err;

  plan.args = {"--seed",         "99", "--enemy-speed",  "8",  "--debug",
               "--music-volume", "0",  "--sound-volume", "100"};
  const GameRun optioned = run_game(plan);
  ASSERT_EQ(optioned.exit_code, 0) << optioned.err;
  EXPECT_EQ(plain.dump, optioned.dump);
  EXPECT_EQ(e2e::read_text(plain.png), e2e::read_text(optioned.png));
}

}  // namespace
