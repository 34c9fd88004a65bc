// The player's options on the command line: volumes, the pace of the computer's turn and the
// debug listing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "game/input.h"

namespace {

using e2e::Data;
using e2e::GameRun;
using e2e::run_game;
using e2e::RunPlan;
namespace fs = std::filesystem;

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

TEST(Options, VersionPrintsTheVersionTheCtrlBoxShows) {
  const fs::path dir = e2e::make_temp_dir();
  std::string out;
  std::string err;
  EXPECT_EQ(e2e::run_command(dir, dir, {"--version"}, &out, &err), 0) << err;
  EXPECT_EQ(out, std::string("nevalt ") + NEVALT_VERSION + "\n");
  EXPECT_EQ(std::string(kVersionText), std::string("Version ") + NEVALT_VERSION)
      << "the project's version and the box's text have drifted apart";
  EXPECT_EQ(e2e::run_command(dir, dir, {"--help"}, &out, &err), 0) << err;
  EXPECT_NE(out.find("--version"), std::string::npos) << out;
  fs::remove_all(dir);
}

}  // namespace
