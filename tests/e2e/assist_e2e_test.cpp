// Assisted play through the real program: the move and the attack of e2e/stage_one_attack.h
// played again with --assist, and what it shows on the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/stage_one_attack.h"

namespace {

using namespace e2e::stage_one;
using e2e::GameRun;

using Assisted = StageOneAttack;

// The pixels of `rect` that differ between two screenshots.
int differing(const Png& a, const Png& b, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, 480); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, 640); ++x) n += a.at(x, y) != b.at(x, y);
  }
  return n;
}

TEST_F(Assisted, TheTargetChoiceShowsTheForecastCardBesideTheEnemy) {
  // The walk has arrived and the pointer rests on the enemy tank, not yet clicked.
  const GameRun plain = play(kAttackPass);
  const GameRun assisted = play(kAttackPass, {"--assist"});
  ASSERT_EQ(assisted.exit_code, 0) << assisted.err;
  ASSERT_EQ(assisted.dump["scene"], 371);
  keep_snapshot(assisted, "assist_forecast");

  // The tank has moved, so it aims at half its 80; the enemy tank dodges 20 in 100: 41 of 100
  // numbers pass the aim and 80 of 100 the dodge. Its damage is the one the attack below deals.
  const nlohmann::json& f = assisted.dump["assist"]["forecast"];
  ASSERT_TRUE(f.is_object()) << assisted.dump["assist"].dump();
  EXPECT_EQ(f["hit_percent"], 33);
  EXPECT_EQ(f["damage"], 47);
  EXPECT_EQ(f["target_hp_after"], 53);
  EXPECT_EQ(f["destroyed"], false);
  EXPECT_FALSE(plain.dump.contains("assist")) << "without --assist the dump is as it was";

  // The card is the one change to the picture, right of the enemy's cell or left of it when
  // the picture ends first.
  const Png with(assisted.png);
  const Png without(plain.png);
  ASSERT_TRUE(with.ok() && without.ok());
  const int ex = 32 * (plan_.enemy.x - plan_.view_x);
  const int ey = 32 * (plan_.enemy.y - plan_.view_y);
  int left = ex + 32 + 160 <= 640 ? ex + 32 : ex - 160;
  left = std::clamp(left, 0, 640 - 160);
  const int top = std::clamp(ey - 32, 0, 480 - 96);
  EXPECT_GT(differing(with, without, left, top, left + 160, top + 96), 160 * 96 / 2);
  EXPECT_GT(with.in_rect(left + 8, top + 8, left + 152, top + 88, kWhite), 60) << "its text";
  EXPECT_EQ(differing(with, without, 0, 0, 640, top), 0);
  EXPECT_EQ(differing(with, without, 0, top + 96, 640, 480), 0);
  EXPECT_EQ(differing(with, without, 0, top, left, top + 96), 0);
  EXPECT_EQ(differing(with, without, left + 160, top, 640, top + 96), 0);
}

TEST_F(Assisted, TheAttackDealsWhatTheCardSaidAndTheCardGoes) {
  const GameRun run = play(kAttackPass + 2, {"--assist"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["scene"], 372);
  EXPECT_FALSE(run.dump["assist"].contains("forecast"));
  const int target = slot_at(run.dump["enemy_units"], plan_.enemy);
  ASSERT_GE(target, 0);
  EXPECT_EQ(run.dump["enemy_units"][target]["hp"], 53);
}

// The destination choice with the pointer on the destination: the straight walk of the plan.
TEST_F(Assisted, TheDestinationChoiceShowsTheWayThere) {
  const GameRun run = play(kPickPass, {"--assist"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_EQ(run.dump["scene"], 360);
  keep_snapshot(run, "assist_path");
  nlohmann::json want = nlohmann::json::array();
  for (int j = 1; j <= plan_.cells; ++j) {
    want.push_back({plan_.tank.x + j * plan_.step.x, plan_.tank.y + j * plan_.step.y});
  }
  EXPECT_EQ(run.dump["assist"]["path"], want);

  const Png shot(run.png);
  ASSERT_TRUE(shot.ok());
  constexpr uint32_t kPath = 0x00e0ff;
  for (int j = 0; j <= plan_.cells; ++j) {
    const Cell c{plan_.tank.x + j * plan_.step.x, plan_.tank.y + j * plan_.step.y};
    EXPECT_EQ(shot.at(px(plan_, c), py(plan_, c)), kPath) << "cell " << j << " of the walk";
  }
  const Cell beyond{plan_.destination.x + plan_.step.x, plan_.destination.y + plan_.step.y};
  EXPECT_NE(shot.at(px(plan_, beyond), py(plan_, beyond)), kPath);
}

// The keys through the input script: T, an arrow, then Tab on the opening map of stage 1.
std::string keys_script() {
  return std::string(kStartSortie) +
         "8  320 240 0 0 0 0 t       # the threat overlay\n"
         "9  320 240 0 0 0 0 -\n"
         "10 320 240 0 0 0 0 right   # the view one cell right\n"
         "11 320 240 0 0 0 0 -\n"
         "12 320 240 0 0 0 0 tab     # the first unit that can act\n"
         "13 320 240 0 0 0 0 -\n";
}

TEST_F(Assisted, KeysOfTheScriptReachTheGame) {
  e2e::RunPlan before;
  before.script = keys_script();
  before.ticks = 11;  // up to the arrow
  before.args = {"--seed", "3", "--assist"};
  const GameRun moved = e2e::run_game(before);
  ASSERT_EQ(moved.exit_code, 0) << moved.err;
  const nlohmann::json& m = moved.dump;
  EXPECT_EQ(m["scene"], 100);
  EXPECT_EQ(m["assist"]["threat"]["shown"], true);
  EXPECT_TRUE(m["assist"]["threat"].contains("cells"));

  e2e::RunPlan after = before;
  after.ticks = 14;
  const GameRun tabbed = e2e::run_game(after);
  ASSERT_EQ(tabbed.exit_code, 0) << tabbed.err;
  const nlohmann::json& t = tabbed.dump;
  // The first slot of stage 1 that can act: its command menu, as a click on it opens it.
  const nlohmann::json& first = t["player_units"][0];
  EXPECT_EQ(t["selected_slot"], 0);
  EXPECT_EQ(t["scene"], first["type"] == 1 ? 110 : 310);
  int view_x = first["x"].get<int>() - 10;
  view_x = std::clamp(view_x, 0, 44);
  EXPECT_EQ(t["view_x"], view_x);
  // Before Tab brought the view to the unit, the arrow had moved it one cell.
  e2e::RunPlan plain = before;
  plain.script = kStartSortie;
  const GameRun start = e2e::run_game(plain);
  EXPECT_EQ(m["view_x"], start.dump["view_x"].get<int>() + 1);
}

// --fullscreen starts assisted play with the full screen on, so that F11 returns to the window;
// the headless picture is the same either way, and without --assist nothing changes at all.
TEST_F(Assisted, FullscreenStartsTheFullScreenOnAndF11TurnsItOff) {
  const std::string f11 = std::string(kStartSortie) +
                          "8  320 240 0 0 0 0 f11\n"
                          "9  320 240 0 0 0 0 -\n";
  const struct {
    std::vector<std::string> args;
    const char* script;
    long ticks;
    bool full;
  } cases[] = {
      {{"--assist"}, kStartSortie, 10, false},
      {{"--assist", "--fullscreen"}, kStartSortie, 10, true},
      {{"--assist", "--fullscreen"}, f11.c_str(), 10, false},
      {{"--assist"}, f11.c_str(), 10, true},
  };
  std::string picture;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args) + (c.script == kStartSortie ? "" : " F11"));
    e2e::RunPlan plan;
    plan.script = c.script;
    plan.ticks = c.ticks;
    plan.args = c.args;
    plan.args.insert(plan.args.end(), {"--seed", "3"});
    const GameRun run = e2e::run_game(plan);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.dump["scene"], 100);
    EXPECT_EQ(run.dump["assist"]["fullscreen"], c.full);
    const std::string png = e2e::read_text(run.png);
    if (picture.empty()) picture = png;
    EXPECT_EQ(png, picture) << "the headless picture does not depend on the full screen";
  }

  e2e::RunPlan plain;
  plain.script = f11;
  plain.ticks = 10;
  plain.args = {"--seed", "3"};
  const GameRun windowed = e2e::run_game(plain);
  plain.args.push_back("--fullscreen");
  const GameRun full = e2e::run_game(plain);
  ASSERT_EQ(full.exit_code, 0) << full.err;
  EXPECT_FALSE(full.dump.contains("assist"));
  EXPECT_EQ(full.dump, windowed.dump);
  EXPECT_EQ(e2e::read_text(full.png), e2e::read_text(windowed.png));
}

// Without --assist the keys of a script change nothing: the same picture and the same dump as
// the script without them.
TEST_F(Assisted, KeysDoNothingWithoutAssist) {
  e2e::RunPlan with_keys;
  with_keys.script = keys_script();
  with_keys.ticks = 14;
  with_keys.args = {"--seed", "3"};
  e2e::RunPlan without_keys = with_keys;
  without_keys.script = kStartSortie;
  const GameRun a = e2e::run_game(with_keys);
  const GameRun b = e2e::run_game(without_keys);
  ASSERT_EQ(a.exit_code, 0) << a.err;
  EXPECT_EQ(a.dump, b.dump);
  EXPECT_EQ(e2e::read_text(a.png), e2e::read_text(b.png));
}

}  // namespace
