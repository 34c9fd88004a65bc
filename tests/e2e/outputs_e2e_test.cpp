// What the program writes and reads besides the game's own files: the screenshot, the state dump,
// the save under a file-size limit, the input script, and the numbers on the command line. A
// failure is never reported as success, the outputs that can be written still are, and an
// output that cannot be written at all stops the run before its first pass.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/background_game.h"
#include "e2e/run_game.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameRun;
using e2e::RunPlan;

bool has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

TEST(Outputs, AnOutputThatCannotBeWrittenFailsTheRunAndTheOtherOutputIsStillWritten) {
  const struct {
    const char* name;
    bool screenshot_full;  // the screenshot goes to /dev/full, else the state dump does
  } cases[] = {{"screenshot on a full device", true}, {"state dump on a full device", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunPlan plan;
    plan.data = e2e::Data::kSynthetic;
    plan.ticks = 5;
    plan.screenshot = !c.screenshot_full;
    plan.dump = c.screenshot_full;
    plan.args = {c.screenshot_full ? "--screenshot" : "--dump-state", "/dev/full"};
    const GameRun run = e2e::run_game(plan);
    EXPECT_NE(run.exit_code, 0);
    EXPECT_TRUE(has(run.err, "/dev/full")) << run.err;
    if (c.screenshot_full) {
      ASSERT_FALSE(run.dump.is_null()) << "the state dump was not written";
      EXPECT_EQ(run.dump["pass"], 5);
    } else {
      EXPECT_FALSE(run.png.empty()) << "the screenshot was not written";
      EXPECT_GT(fs::file_size(run.png), 0u);
    }
  }
}

TEST(Outputs, AnOutputPathThatCannotBeWrittenStopsTheRunBeforeItsFirstPass) {
  const fs::path scratch = e2e::make_temp_dir();
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string said;
  } cases[] = {
      {"screenshot in a missing folder", {"--screenshot", "/nonexistent/x.png"}, "/nonexistent"},
      {"state dump in a missing folder", {"--dump-state", "/nonexistent/x.json"}, "/nonexistent"},
      {"state dump onto a folder", {"--dump-state", scratch.string()}, "folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunPlan plan;
    plan.data = e2e::Data::kSynthetic;
    plan.ticks = 3000;
    // Only the faulty output in its place; the other one shows whether any pass ran.
    const bool shot_is_faulty = c.args[0] == "--screenshot";
    plan.screenshot = !shot_is_faulty;
    plan.dump = shot_is_faulty;
    plan.args = c.args;
    const GameRun run = e2e::run_game(plan);
    EXPECT_NE(run.exit_code, 0);
    EXPECT_TRUE(has(run.err, c.said)) << run.err;
    EXPECT_TRUE(run.dump.is_null()) << "passes ran before the output was checked";
    EXPECT_TRUE(run.png.empty()) << "passes ran before the output was checked";
  }
  std::error_code ec;
  fs::remove_all(scratch, ec);
}

TEST(Outputs, AnInputScriptThatIsAFolderIsRefusedLikeAMissingOne) {
  const fs::path scratch = e2e::make_temp_dir();
  for (const fs::path& script : {scratch, scratch / "missing.txt"}) {
    SCOPED_TRACE(script.string());
    RunPlan plan;
    plan.data = e2e::Data::kSynthetic;
    plan.args = {"--input", script.string()};
    const GameRun run = e2e::run_game(plan);
    EXPECT_NE(run.exit_code, 0);
    EXPECT_TRUE(has(run.err, "input script " + script.string())) << run.err;
    EXPECT_TRUE(run.dump.is_null());
  }
  std::error_code ec;
  fs::remove_all(scratch, ec);
}

TEST(Outputs, ANumberOptionGivenSomethingElseSaysANumberIsExpected) {
  const struct {
    const char* option;
    const char* value;
  } cases[] = {{"--scale", "abc"},         {"--ticks", "12x"},       {"--seed", "-"},
               {"--music-volume", "half"}, {"--enemy-speed", "2.5"}, {"--autoplay-battles", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.option) + " '" + c.value + "'");
    RunPlan plan;
    plan.data = e2e::Data::kSynthetic;
    plan.args = {c.option, c.value};
    const GameRun run = e2e::run_game(plan);
    const std::string said = run.err + run.out;
    EXPECT_NE(run.exit_code, 0);
    EXPECT_TRUE(has(said, c.option)) << said;
    EXPECT_TRUE(has(said, "whole number")) << said;
    EXPECT_FALSE(has(said, "not in range")) << said;
    EXPECT_TRUE(run.dump.is_null());
  }
}

// Past a file-size limit (ulimit -f) the writes fail instead of the program ending by SIGXFSZ:
// the save says it could not save, keeps the old file whole and leaves no temporary file; a
// screenshot that cannot be finished is not left behind cut short.
TEST(Outputs, AFileSizeLimitFailsTheWritesWithoutEndingTheGame) {
  e2e::Workspace w;
  std::ofstream(w.data / "SAVE.TXT", std::ios::binary) << "4,6";
  // "Continue", then "セーブ" on the intermission.
  std::ofstream(w.dir / "input.txt") << "0 320 368 0 0\n5 320 368 1 0\n7 320 368 0 0\n"
                                        "15 500 120 0 0\n20 500 120 1 0\n22 500 120 0 0\n";
  const fs::path fifo = w.dir / "state.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  e2e::ChildSetup setup;
  setup.file_size_limit = 0;
  e2e::Child game;
  ASSERT_TRUE(game.start(NEVALT_BINARY,
                         {"--headless", "--ticks", "100", "--data", w.data.string(), "--input",
                          (w.dir / "input.txt").string(), "--dump-state", fifo.string(),
                          "--screenshot", (w.dir / "shot.png").string()},
                         setup));
  game.read_fifo(fifo);
  const e2e::ChildResult r = game.wait(120);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.signal, 0) << "ended by signal " << r.signal;
  EXPECT_EQ(r.exit_code, 1) << "the screenshot cannot be written: " << r.err;
  EXPECT_TRUE(has(r.err, "shot.png")) << r.err;
  EXPECT_FALSE(fs::exists(w.dir / "shot.png")) << "a cut-off screenshot was left";

  EXPECT_EQ(e2e::read_text(w.data / "SAVE.TXT"), "4,6");
  EXPECT_FALSE(fs::exists(w.data / "SAVE.TXT.tmp"));
  const nlohmann::json dump = nlohmann::json::parse(game.fifo_text(), nullptr, false);
  ASSERT_FALSE(dump.is_discarded()) << game.fifo_text().substr(0, 200);
  EXPECT_EQ(dump["pass"], 100);
  ASSERT_EQ(dump["messages"].size(), 1u) << dump["messages"];
  EXPECT_TRUE(has(dump["messages"][0]["text"].get<std::string>(), "セーブできませんでした"))
      << dump["messages"][0];
}

}  // namespace
