// The built-in player through the real program: the first stage from "Start" to "Your
// victory", headless, and what the command line accepts around it.
#include <gtest/gtest.h>

#include "e2e/run_game.h"

namespace {

using e2e::GameRun;
using e2e::run_game;
using e2e::RunPlan;

// Far more passes than the first stage takes: the run ends by itself at the intermission after
// the battle.
constexpr long kStageOnePasses = 200000;

TEST(AutoplayE2E, WinsTheFirstStageFromStart) {
  RunPlan plan;
  plan.ticks = kStageOnePasses;
  plan.screenshot = false;
  plan.args = {"--autoplay", "--autoplay-battles", "1", "--seed", "7"};
  const GameRun run = run_game(plan);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_TRUE(run.dump.is_object());
  const nlohmann::json& d = run.dump;
  const nlohmann::json& a = d["autoplay"];
  ASSERT_EQ(a["battles"].size(), 1u) << a.dump();
  const nlohmann::json& b = a["battles"][0];
  EXPECT_EQ(b["stage"], 1);
  EXPECT_EQ(b["outcome"], "victory") << b.dump();
  EXPECT_GE(b["hqs_taken"], 1);
  // Stopped of itself at the next intermission, well inside the pass limit.
  EXPECT_TRUE(a["finished"].get<bool>());
  EXPECT_LT(d["pass"].get<long>(), kStageOnePasses);
  EXPECT_EQ(d["scene"], 11);
  EXPECT_EQ(d["stage_no"], 1);
  EXPECT_EQ(d["max_stage"], 1);
  EXPECT_TRUE(d["messages"].empty()) << d["messages"].dump();
  // The game heard the victory: the intermission music after the battle music.
  bool battle_music = false;
  bool camp_music_after = false;
  for (const auto& e : d["audio"]) {
    if (e["kind"] != "music") continue;
    if (e["n"] == 2) battle_music = true;
    if (battle_music && e["n"] == 4) camp_music_after = true;
  }
  EXPECT_TRUE(camp_music_after);
  // It saved before the sortie, as "Continue" after a defeat needs.
  EXPECT_EQ(e2e::read_text(run.data / "SAVE.TXT"), "0,0");
}

TEST(AutoplayE2E, RefusesAnInputScriptBesideIt) {
  RunPlan plan;
  plan.data = e2e::Data::kSynthetic;
  plan.script = "0 0 0 0 0\n";
  plan.args = {"--autoplay"};
  const GameRun run = run_game(plan);
  EXPECT_NE(run.exit_code, 0);
  EXPECT_NE(run.err.find("--input"), std::string::npos) << run.err;
}

TEST(AutoplayE2E, TheBattleLimitNeedsAutoplay) {
  RunPlan plan;
  plan.data = e2e::Data::kSynthetic;
  plan.args = {"--autoplay-battles", "1"};
  const GameRun run = run_game(plan);
  EXPECT_NE(run.exit_code, 0);
  EXPECT_NE(run.err.find("--autoplay"), std::string::npos) << run.err;
}

}  // namespace
