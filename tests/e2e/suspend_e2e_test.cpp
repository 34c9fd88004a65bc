// Suspend and resume through the real program with --assist: a battle played for a few turns,
// the program ended in the middle of the computer's turn and started again, "Continue" goes on
// from the last player turn's start; a damaged battle file gives its message and the ordinary
// "Continue"; the file lands beside the save.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "e2e/run_game.h"
#include "game/battle_suspend.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameRun;
using e2e::RunPlan;

// "Start", "セーブ" at the intermission (so "Continue" finds this campaign), its pause, "出撃".
// Then "ターン終了" from the map menu at pass 80 and again at pass 3000: by then the computer has
// long handed back, so the battle stands idle at the start of its fifth turn until pass 6000.
constexpr const char* kThreeTurns =
    "0    0   0   0 0\n"
    "2    300 340 1 0   # Start\n"
    "3    300 340 0 0\n"
    "5    500 120 1 0   # セーブ\n"
    "6    500 120 0 0\n"
    "70   630 185 1 0   # 出撃\n"
    "71   630 185 0 0\n"
    "80   320 240 0 1   # the map menu\n"
    "81   500 148 0 0\n"
    "83   500 148 1 0   # ターン終了\n"
    "84   500 148 0 0\n"
    "3000 320 240 0 1\n"
    "3001 500 148 0 0\n"
    "3003 500 148 1 0\n"
    "3004 500 148 0 0\n";
constexpr long kFifthTurnIdle = 6000;
// The turn ended once more; the program stops while the computer plays.
constexpr const char* kFifthTurnEnded =
    "6000 320 240 0 1\n"
    "6001 500 148 0 0\n"
    "6003 500 148 1 0\n"
    "6004 500 148 0 0\n";
constexpr long kInComputersTurn = 6150;

// "Continue" on the title, then the pointer where the battle left it. The run ends with as many
// passes as the first one modulo the 48 of the animation counters, so the same picture is drawn.
constexpr const char* kContinue =
    "0 0   0   0 0\n"
    "2 300 370 1 0   # Continue\n"
    "3 500 148 0 0\n";
constexpr long kResumedIdle = 3 * 48;
static_assert(kFifthTurnIdle % 48 == 0 && kResumedIdle % 48 == 0);

GameRun run(const std::string& script, long ticks, bool assist, const std::string& seed,
            std::function<void(const fs::path&)> prepare = nullptr) {
  RunPlan plan;
  plan.script = script;
  plan.ticks = ticks;
  plan.args = {"--seed", seed};
  if (assist) plan.args.push_back("--assist");
  plan.prepare = std::move(prepare);
  return e2e::run_game(plan);
}

// The files of a finished run's save folder, copied into a new run's data folder.
std::function<void(const fs::path&)> files_of(const GameRun& from, bool truncate = false) {
  return [&from, truncate](const fs::path& data) {
    fs::copy_file(from.data / "SAVE.TXT", data / "SAVE.TXT");
    std::string battle = e2e::read_text(from.data / "BATTLE.DAT");
    if (truncate) battle.resize(battle.size() / 2);
    std::ofstream(data / "BATTLE.DAT", std::ios::binary) << battle;
  };
}

bool same_pictures(const fs::path& a, const fs::path& b) {
  SDL_Surface* x = IMG_Load(a.string().c_str());
  SDL_Surface* y = IMG_Load(b.string().c_str());
  bool same = x != nullptr && y != nullptr && x->w == y->w && x->h == y->h &&
              x->format->format == y->format->format;
  for (int row = 0; same && row < x->h; ++row) {
    const auto* p = static_cast<const uint8_t*>(x->pixels) + row * x->pitch;
    const auto* q = static_cast<const uint8_t*>(y->pixels) + row * y->pitch;
    same = std::memcmp(p, q, static_cast<size_t>(x->w * x->format->BytesPerPixel)) == 0;
  }
  SDL_FreeSurface(x);
  SDL_FreeSurface(y);
  return same;
}

class Suspend : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    idle_ = new GameRun(run(kThreeTurns, kFifthTurnIdle, true, "7"));
    ended_ =
        new GameRun(run(std::string(kThreeTurns) + kFifthTurnEnded, kInComputersTurn, true, "7"));
  }
  static void TearDownTestSuite() {
    delete idle_;
    delete ended_;
  }
  // The battle at the start of its fifth player turn, and the same battle ended later, in the
  // middle of the computer's turn that follows.
  static GameRun* idle_;
  static GameRun* ended_;
};
GameRun* Suspend::idle_ = nullptr;
GameRun* Suspend::ended_ = nullptr;

TEST_F(Suspend, ContinueAfterARestartGoesOnFromTheLastPlayerTurnStart) {
  const nlohmann::json& at_start = idle_->dump;
  ASSERT_EQ(idle_->exit_code, 0) << idle_->err;
  ASSERT_EQ(at_start["scene"], 100);
  ASSERT_EQ(at_start["turn_no"], 5);
  ASSERT_EQ(ended_->exit_code, 0) << ended_->err;
  const int scene = ended_->dump["scene"];
  ASSERT_TRUE(scene >= 5000 && scene < 6000) << "ended in the computer's turn, scene " << scene;
  ASSERT_TRUE(ended_->dump["rng"] != at_start["rng"] ||
              ended_->dump["enemy_units"] != at_start["enemy_units"])
      << "the computer's turn changed nothing, so the test would prove nothing";

  // Another seed: the generator's state must come from the file.
  const GameRun resumed = run(kContinue, kResumedIdle, true, "12345", files_of(*ended_));
  ASSERT_EQ(resumed.exit_code, 0) << resumed.err;
  const nlohmann::json& d = resumed.dump;
  EXPECT_TRUE(d["messages"].empty()) << d["messages"];
  EXPECT_EQ(d["scene"], 100);
  for (const char* field : {"stage_no", "max_stage", "turn_no", "rng", "view_x", "view_y",
                            "player_units", "enemy_units", "caption"}) {
    EXPECT_EQ(d[field], at_start[field]) << field;
  }
  EXPECT_TRUE(same_pictures(resumed.png, idle_->png)) << "the map drawn again from the state";
}

TEST_F(Suspend, ATruncatedBattleFileIsToldAndTheOrdinaryContinueFollows) {
  const GameRun resumed = run(kContinue, 10, true, "7", files_of(*ended_, true));
  ASSERT_EQ(resumed.exit_code, 0) << resumed.err;
  const nlohmann::json& d = resumed.dump;
  EXPECT_EQ(d["scene"], 11) << "the intermission";
  EXPECT_EQ(d["stage_no"], 0);
  EXPECT_EQ(d["turn_no"], 0);
  ASSERT_EQ(d["messages"].size(), 1u) << d["messages"];
  const std::string text = d["messages"][0]["text"];
  EXPECT_EQ(text.rfind(kResumeFailedText, 0), 0u) << text;
  EXPECT_NE(text.find("BATTLE.DAT"), std::string::npos) << text;
  EXPECT_NE(text.find("cut short"), std::string::npos) << text;
}

TEST_F(Suspend, WithoutAssistNoBattleFileIsWrittenOrRead) {
  const GameRun plain = run(kThreeTurns, 75, false, "7");
  ASSERT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_EQ(plain.dump["scene"], 100);
  EXPECT_FALSE(fs::exists(plain.data / "BATTLE.DAT"));

  const GameRun resumed = run(kContinue, 10, false, "7", files_of(*ended_));
  EXPECT_EQ(resumed.dump["scene"], 11);
  EXPECT_TRUE(resumed.dump["messages"].empty());
}

// The user's folder for saves, given to the program as XDG_DATA_HOME for one test.
class UserFolder {
 public:
  UserFolder() : dir_(e2e::make_temp_dir()) {
    const char* old = std::getenv("XDG_DATA_HOME");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("XDG_DATA_HOME", dir_.c_str(), 1);
  }
  ~UserFolder() {
    if (had_) {
      setenv("XDG_DATA_HOME", old_.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path saves() const { return dir_ / "nevalt"; }

 private:
  fs::path dir_;
  std::string old_;
  bool had_ = false;
};

constexpr const char* kSortie =
    "0 0   0   0 0\n"
    "2 300 340 1 0\n"
    "3 300 340 0 0\n"
    "6 630 185 1 0\n"
    "7 630 185 0 0\n";

TEST(SuspendFolder, WithDataTheBattleFileIsInThatFolderWithoutItInTheUsersSaveFolder) {
  const UserFolder user;
  const GameRun with_data = run(kSortie, 10, true, "7");
  ASSERT_EQ(with_data.exit_code, 0) << with_data.err;
  EXPECT_TRUE(fs::is_regular_file(with_data.data / "BATTLE.DAT"));
  EXPECT_FALSE(fs::exists(user.saves()));

  // Without --data the program reads the build's data folder and must not write into it.
  const fs::path built = fs::path(NEVALT_DATA_DIR) / "BATTLE.DAT";
  ASSERT_FALSE(fs::exists(built));
  const fs::path dir = e2e::make_temp_dir();
  std::ofstream(dir / "input.txt") << kSortie;
  std::string out;
  std::string err;
  const int code = e2e::run_command(
      dir, dir,
      {"--headless", "--ticks", "10", "--input", (dir / "input.txt").string(), "--assist"}, &out,
      &err);
  EXPECT_EQ(code, 0) << err;
  EXPECT_TRUE(fs::is_regular_file(user.saves() / "BATTLE.DAT"));
  EXPECT_FALSE(fs::exists(built));
  EXPECT_FALSE(fs::exists(dir / "BATTLE.DAT"));
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
