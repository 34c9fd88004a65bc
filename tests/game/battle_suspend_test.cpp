// Suspend and resume with --assist, through the scenes: when the battle file is written, what
// "Continue" makes of it, what removes it, and that without --assist none of it happens.
#include "game/battle_suspend.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "game/battle_file.h"
#include "game/campaign.h"
#include "game/campaign_fixture.h"
#include "game/save_folder.h"
#include "game/scenes.h"
#include "platform/startup.h"
#include "support/invariants.h"
#include "world/roster_queries.h"

namespace {

using campaign_test::InOwnFolder;
using campaign_test::read_file;
using campaign_test::write_file;
namespace fs = campaign_test::fs;

constexpr int kTitleRowX = 300;
constexpr int kStartY = 340;
constexpr int kContinueY = 370;

class BattleSuspend : public InOwnFolder {
 protected:
  void SetUp() override {
    InOwnFolder::SetUp();
    g_->flow.assist = true;
  }

  fs::path battle() const { return dir_ / kBattleFileName; }

  // Stage `stage` set up from the intermission, as "出撃" does: the battle's first player turn.
  void start_stage(int stage) {
    Game& g = *g_;
    scene_title_load(g);
    g.flow.stage_no = stage;
    g.flow.scene = kSceneStageStart;
    passes(1);
    ASSERT_EQ(g.flow.scene, kSceneMap);
  }

  // The title, as Escape leaves it, with the pointer away from its rows.
  void to_title() {
    host_.escape = true;
    input(0, 0, false);
    passes(1);
    host_.escape = false;
    passes(1);
    ASSERT_EQ(g_->flow.scene, kSceneTitleMenu);
  }

  void click_title_row(int y) {
    input(kTitleRowX, y, true);
    passes(1);
    input(kTitleRowX, y, false);
  }

  // Runs passes until the scene is `scene`, at most `limit` of them.
  void run_until(int scene, int limit) {
    for (int i = 0; i < limit && g_->flow.scene != scene; ++i) passes(1);
    ASSERT_EQ(g_->flow.scene, scene);
  }

  // The battle file as the game reads it.
  SuspendedBattle file_battle() {
    const std::string bytes = read_file(battle());
    SuspendedBattle b{};
    std::string error;
    EXPECT_TRUE(decode_battle(*g_, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &b,
                              &error))
        << error;
    return b;
  }
};

bool same_rosters(const TUnit* a, const TUnit* b) {
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& u = a[slot];
    const TUnit& v = b[slot];
    if (u.type != v.type || u.x != v.x || u.y != v.y || u.hp != v.hp || u.sp != v.sp ||
        u.terrain != v.terrain || u.status != v.status || u.ready != v.ready ||
        u.moved != v.moved) {
      return false;
    }
  }
  return true;
}

TEST_F(BattleSuspend, ContinueTakesUpTheBattleAtTheStartOfTheLastPlayerTurn) {
  Game& g = *g_;
  write_file(dir_ / "SAVE.TXT", "0,0");
  start_stage(0);
  EXPECT_EQ(file_battle().turn_no, 1) << "the stage start is the first player turn's start";

  // "ターン終了": the computer plays its turn and hands back.
  mark_all_acted(g, kSidePlayer);
  g.flow.scene = kSceneEnemyTurnPause;
  run_until(kSceneMap, 5000);
  ASSERT_EQ(g.flow.turn_no, 3);
  EXPECT_EQ(file_battle().turn_no, 3);
  // Plain data all through; the pictures are shared, not owned, by the copy.
  const auto at_turn_start = std::make_unique<Game>(g);

  // Away from the battle, the game changes what it holds: the title, draws, another turn.
  to_title();
  for (int i = 0; i < 5; ++i) g.rng.next();
  g.world.player_units[0].hp = 1;
  g.flow.turn_no += 4;
  host_.audio.clear();

  click_title_row(kContinueY);
  EXPECT_EQ(g.flow.scene, kScenePlayerBannerPause) << "the turn's banner first";
  EXPECT_EQ(host_.audio, (std::vector<std::string>{"sound 1", "music 2"}));
  run_until(kSceneMap, 200);
  EXPECT_TRUE(host_.boxes.empty()) << host_.boxes[0].text;
  EXPECT_EQ(g.flow.stage_no, 0);
  EXPECT_EQ(g.flow.turn_no, 3);
  EXPECT_EQ(g.rng.state, at_turn_start->rng.state);
  EXPECT_EQ(g.view.view_x, at_turn_start->view.view_x);
  EXPECT_EQ(g.view.view_y, at_turn_start->view.view_y);
  EXPECT_TRUE(same_rosters(g.world.player_units, at_turn_start->world.player_units));
  EXPECT_TRUE(same_rosters(g.world.enemy_units, at_turn_start->world.enemy_units));
  passes(1);
  std::string why;
  EXPECT_TRUE(check_invariants(g, OccupancyCheck::kCurrent, &why)) << why;
}

TEST_F(BattleSuspend, StagesUnlockedSinceTheSaveAreKept) {
  write_file(dir_ / "SAVE.TXT", "1,1");
  g_->flow.max_stage = 4;
  start_stage(1);
  to_title();
  write_file(dir_ / "SAVE.TXT", "1,2");
  click_title_row(kContinueY);
  EXPECT_EQ(g_->flow.scene, kScenePlayerBannerPause);
  EXPECT_EQ(g_->flow.max_stage, 4);
  to_title();
  write_file(dir_ / "SAVE.TXT", "1,7");
  click_title_row(kContinueY);
  EXPECT_EQ(g_->flow.max_stage, 7);
}

TEST_F(BattleSuspend, AFileThatDoesNotHoldUpIsToldAndTheOrdinaryContinueFollows) {
  start_stage(0);
  const std::string good = read_file(battle());
  ASSERT_EQ(good.size(), kBattleFileBytes);
  const struct {
    const char* name;
    const char* save;
    std::function<void(const fs::path&)> damage;
  } cases[] = {
      {"empty", "0,0", [](const fs::path& p) { write_file(p, ""); }},
      {"header only", "0,0",
       [&](const fs::path& p) { write_file(p, good.substr(0, kBattleHeaderBytes)); }},
      {"cut at 100 bytes", "0,0", [&](const fs::path& p) { write_file(p, good.substr(0, 100)); }},
      {"one byte short", "0,0",
       [&](const fs::path& p) { write_file(p, good.substr(0, good.size() - 1)); }},
      {"foreign", "0,0", [](const fs::path& p) { write_file(p, "0,0"); }},
      {"another format", "0,0",
       [&](const fs::path& p) {
         std::string bytes = good;
         bytes[8] = 9;
         write_file(p, bytes);
       }},
      {"bad checksum", "0,0",
       [&](const fs::path& p) {
         std::string bytes = good;
         bytes[kBattleFileBytes - 100] ^= 1;
         write_file(p, bytes);
       }},
      {"of another stage", "2,2", [&](const fs::path& p) { write_file(p, good); }},
      {"a folder", "0,0", [](const fs::path& p) { fs::create_directory(p); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    to_title();
    std::error_code ec;
    fs::remove_all(battle(), ec);
    c.damage(battle());
    const std::string left = fs::is_regular_file(battle()) ? read_file(battle()) : "";
    write_file(dir_ / "SAVE.TXT", c.save);
    g_->world.player_units[0].hp = 1;  // what the battle would have put right
    host_.boxes.clear();

    click_title_row(kContinueY);
    EXPECT_EQ(g_->flow.scene, kSceneIntermission);
    ASSERT_EQ(host_.boxes.size(), 1u);
    EXPECT_EQ(host_.boxes[0].text.rfind(kResumeFailedText, 0), 0u) << host_.boxes[0].text;
    EXPECT_NE(host_.boxes[0].text.find(kBattleFileName), std::string::npos);
    EXPECT_EQ(host_.boxes[0].caption, kSaveCaption);
    EXPECT_EQ(g_->flow.stage_no, c.save[0] - '0') << "the save's numbers, as without a battle";
    EXPECT_EQ(g_->world.player_units[0].hp, 1);
    if (fs::is_regular_file(battle())) {
      EXPECT_EQ(read_file(battle()), left) << "left as it was";
    }
  }
}

// A battle played without ever saving: "Continue" says the save could not be read and goes on
// with the numbers in memory, which are the battle's.
TEST_F(BattleSuspend, WithoutASaveTheBattleOfTheStageInMemoryIsTakenUp) {
  start_stage(0);
  to_title();
  click_title_row(kContinueY);
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].text.rfind(kLoadFailedText, 0), 0u) << host_.boxes[0].text;
  EXPECT_EQ(g_->flow.scene, kScenePlayerBannerPause);
}

TEST_F(BattleSuspend, NoBattleFileIsAnOrdinaryContinue) {
  write_file(dir_ / "SAVE.TXT", "3,5");
  passes(1);
  click_title_row(kContinueY);
  EXPECT_EQ(g_->flow.scene, kSceneIntermission);
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(g_->flow.stage_no, 3);
}

TEST_F(BattleSuspend, StartVictoryAndDefeatRemoveTheFileEscapeKeepsIt) {
  Game& g = *g_;
  start_stage(0);
  to_title();
  EXPECT_TRUE(fs::exists(battle())) << "Escape only leaves the battle";
  click_title_row(kStartY);
  EXPECT_FALSE(fs::exists(battle())) << "Start";

  start_stage(0);
  for (TUnit& u : g.world.enemy_units) u = TUnit{};
  g.world.selected_slot = 0;
  g.flow.scene = kSceneAttackAftermath;
  passes(1);
  EXPECT_EQ(g.flow.scene, kSceneVictoryPause);
  EXPECT_FALSE(fs::exists(battle())) << "victory";

  start_stage(0);
  for (TUnit& u : g.world.player_units) u = TUnit{};
  g.flow.scene = kSceneEnemyUnitPause;
  g.flow.wait_ticks = 0;
  run_until(kSceneDefeatPause, 3);
  EXPECT_FALSE(fs::exists(battle())) << "defeat";
  EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(BattleSuspend, ClosingTheWindowKeepsTheBattleAsItStandsDuringThePlayersTurnOnly) {
  Game& g = *g_;
  start_stage(0);
  const std::string at_start = read_file(battle());
  // An action done since the turn began.
  g.world.player_units[0].ready = 0;
  g.world.player_units[0].moved = 1;
  const struct {
    int scene;
    bool written;
  } cases[] = {
      {kSceneMap, true},
      {kSceneMapMenu, true},
      {kSceneUnitList, true},
      {kSceneUnitMenu, true},
      {kSceneMoveTarget, true},
      {kSceneAttackTarget, true},
      {kSceneProductionList, true},
      {kSceneWalk, false},
      {kSceneAttackPause, false},
      {kSceneAttackAftermath, false},
      {kSceneEnemyStrategy, false},
      {kScenePlayerBannerPause, false},
      {kSceneVictoryPause, false},
      {kSceneTitleMenu, false},
      {kSceneIntermission, false},
  };
  for (const auto& c : cases) {
    write_file(battle(), at_start);
    g.flow.scene = c.scene;
    FormClose(g);
    EXPECT_EQ(file_battle().player_units[0].ready, c.written ? 0 : 1) << c.scene;
  }

  // The close box and the quit after it: the first one writes.
  write_file(battle(), at_start);
  g.flow.scene = kSceneMap;
  g.flow.closed = true;
  FormClose(g);
  EXPECT_EQ(read_file(battle()), at_start);
}

TEST_F(BattleSuspend, AFileThatCannotBeWrittenIsToldAndTheLastOneKept) {
  start_stage(0);
  const std::string at_start = read_file(battle());
  // A folder in the way of the rename.
  std::error_code ec;
  fs::remove(battle(), ec);
  fs::create_directories(battle() / "in the way");
  host_.boxes.clear();
  EXPECT_FALSE(suspend_battle(*g_));
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].text.rfind(kSuspendFailedText, 0), 0u) << host_.boxes[0].text;
  EXPECT_TRUE(fs::is_directory(battle() / "in the way"));
  EXPECT_FALSE(fs::exists(dir_ / "BATTLE.DAT.tmp"));

  // A save folder that cannot be made.
  write_file(dir_ / "blocker", "x");
  ASSERT_TRUE(set_save_location(*g_, (dir_ / "blocker" / "nevalt").string(), ""));
  host_.boxes.clear();
  EXPECT_FALSE(suspend_battle(*g_));
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_NE(host_.boxes[0].text.find("blocker"), std::string::npos) << host_.boxes[0].text;
}

TEST_F(BattleSuspend, TheFileLivesBesideTheSaveAndNotInTheOldDataFolder) {
  const fs::path user = dir_ / "home" / "nevalt";
  const fs::path legacy = dir_ / "data";
  fs::create_directories(legacy);
  ASSERT_TRUE(set_save_location(*g_, user.string(), legacy.string()));
  start_stage(0);
  EXPECT_TRUE(fs::is_regular_file(user / kBattleFileName)) << "the folder made on the way";
  EXPECT_FALSE(fs::exists(dir_ / kBattleFileName));

  // An old game's save is still read from the data folder; a battle file there is not.
  fs::rename(user / kBattleFileName, legacy / kBattleFileName);
  write_file(legacy / "SAVE.TXT", "0,0");
  to_title();
  click_title_row(kContinueY);
  EXPECT_EQ(g_->flow.scene, kSceneIntermission);
  EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(BattleSuspend, WithoutAssistNoBattleFileIsWrittenReadOrRemoved) {
  Game& g = *g_;
  start_stage(0);
  const std::string file = read_file(battle());
  std::error_code ec;
  fs::remove(battle(), ec);
  g.flow.assist = false;

  start_stage(0);
  g.flow.scene = kScenePlayerTurnStart;
  passes(1);
  g.flow.scene = kSceneMap;
  FormClose(g);
  EXPECT_FALSE(fs::exists(battle()));

  write_file(battle(), file);
  write_file(dir_ / "SAVE.TXT", "0,0");
  to_title();
  click_title_row(kContinueY);
  EXPECT_EQ(g.flow.scene, kSceneIntermission);
  EXPECT_TRUE(host_.boxes.empty());
  to_title();
  click_title_row(kStartY);
  EXPECT_EQ(read_file(battle()), file);
}

}  // namespace
