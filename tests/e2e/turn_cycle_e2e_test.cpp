// Whole turns through the real program: an HQ of stage 1 buys a unit, the player ends the turn,
// the computer plays its turn and hands back; an army without an HQ loses and the game returns
// to the title.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "e2e/screenshot.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameRun;
using e2e::keep_snapshot;
using e2e::Png;
using e2e::RunPlan;

// Title "Start", intermission "出撃" (stage 1 from pass 6), the map menu by the right button at
// pass 10 and its second row, "ターン終了", at pass 15.
constexpr const char* kEndFirstTurn =
    "0   0   0   0 0\n"
    "2   300 340 1 0\n"
    "3   300 340 0 0\n"
    "6   630 185 1 0\n"
    "7   630 185 0 0\n"
    "10  320 240 0 1\n"
    "11  320 240 0 0\n"
    "15  500 148 1 0   # ターン終了\n"
    "16  500 148 0 0\n";
constexpr long kEndTurnPass = 15;
// Title "Start" and intermission "出撃": stage 1 is on the map from pass 6.
constexpr const char* kSortie =
    "0   0   0   0 0\n"
    "2   300 340 1 0\n"
    "3   300 340 0 0\n"
    "6   630 185 1 0\n"
    "7   630 185 0 0\n";

constexpr int kMapFileBytes = 8212;
constexpr int kTerrainOffset = 20;
constexpr int kObjectOffset = 4116;
constexpr int kPlayerHqCode = 16;
constexpr int kEnemyRifleCode = 56;

// Rewrites stage 1's object layer through `edit(terrain, objects)`, both indexed 64 * y + x.
void edit_stage_one(const fs::path& data,
                    const std::function<void(const uint8_t*, uint8_t*)>& edit) {
  const fs::path map = data / "map001.fmf";
  std::string bytes = e2e::read_text(map);
  ASSERT_GE(bytes.size(), static_cast<size_t>(kMapFileBytes));
  auto* raw = reinterpret_cast<uint8_t*>(bytes.data());
  edit(raw + kTerrainOffset, raw + kObjectOffset);
  std::ofstream(map, std::ios::binary | std::ios::trunc) << bytes;
}

bool is_unit_code(int code) {
  return (code >= 16 && code <= 26) || (code >= 48 && code <= 61);
}

GameRun play(const std::string& script, long ticks, std::function<void(const fs::path&)> prepare,
             std::vector<std::string> args = {"--seed", "7"}) {
  RunPlan plan;
  plan.script = script;
  plan.ticks = ticks;
  plan.prepare = std::move(prepare);
  plan.args = std::move(args);
  return e2e::run_game(plan);
}

int scene_of(const GameRun& run) {
  return run.dump["scene"];
}

long first_pass_of(const nlohmann::json& dump, const char* kind, int n) {
  for (const auto& a : dump["audio"]) {
    if (a["kind"] == kind && a["n"] == n) return a["pass"];
  }
  return -1;
}

std::string at_pass(long pass, int x, int y, bool left) {
  return std::to_string(pass) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
         (left ? "1" : "0") + " 0\n";
}

TEST(HqProduction, AnHqOfStageOneBuysAScoutBesideItselfAndPaysForIt) {
  const GameRun probe = play(kSortie, 8, nullptr);
  ASSERT_EQ(probe.exit_code, 0) << probe.err;
  const nlohmann::json& d = probe.dump;
  const int vx = d["view_x"], vy = d["view_y"];
  int hq = -1;
  for (int slot = 0; slot < 60 && hq < 0; ++slot) {
    if (d["player_units"][slot]["type"] == 1) hq = slot;
  }
  ASSERT_GE(hq, 0) << "stage 1 has no player HQ";
  const int hx = d["player_units"][hq]["x"], hy = d["player_units"][hq]["y"];
  const int32_t sp = d["player_units"][hq]["sp"];
  // A scout costs 1 SP times the number of scouts once the new one stands.
  int32_t price = 1;
  for (const auto& u : d["player_units"]) price += u["type"] == 2 ? 1 : 0;
  const int c = hx - vx, r = hy - vy;
  if (c < 1 || c > 18 || r < 1 || r > 13) GTEST_SKIP() << "the HQ is not in the first view";

  // The first neighbour, above, right, below, left, that is free land.
  const std::string map = e2e::read_text(probe.data / "map001.fmf");
  const auto free_land = [&](int x, int y) {
    const int terrain = static_cast<uint8_t>(map[kTerrainOffset + 64 * y + x]);
    if (terrain < 4 || terrain > 11) return false;
    for (const char* side : {"player_units", "enemy_units"}) {
      for (const auto& u : d[side]) {
        if (u["type"] != 0 && u["x"] == x && u["y"] == y) return false;
      }
    }
    return true;
  };
  int nx = -1, ny = -1;
  for (const auto& o : {std::pair{0, -1}, std::pair{1, 0}, std::pair{0, 1}, std::pair{-1, 0}}) {
    if (free_land(hx + o.first, hy + o.second)) {
      nx = hx + o.first;
      ny = hy + o.second;
      break;
    }
  }
  ASSERT_GE(nx, 0) << "the HQ is walled in";

  // The HQ menu and the list open on the half of the screen away from the HQ.
  const int menu_x = c < 10 ? 480 : 0;
  const int list_x = c < 10 ? 320 : 0;
  const int hq_px = 32 * c + 16, hq_py = 32 * r + 16;
  const std::string script = std::string(kSortie) + at_pass(8, hq_px, hq_py, true) +
                             at_pass(9, menu_x + 80, 148, false) +  // "スキル"
                             at_pass(10, menu_x + 80, 148, true) +
                             at_pass(11, list_x + 80, 125, false) +  // "斥候"
                             at_pass(12, list_x + 80, 125, true) +
                             at_pass(13, 32 * (nx - vx) + 16, 32 * (ny - vy) + 16, false) +
                             at_pass(14, 32 * (nx - vx) + 16, 32 * (ny - vy) + 16, true) +
                             at_pass(15, 32 * (nx - vx) + 16, 32 * (ny - vy) + 16, false);
  const GameRun list = play(script, 12, nullptr);
  ASSERT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(scene_of(list), 130);
  EXPECT_EQ(list.dump["hover_item"], 1);
  keep_snapshot(list, "production_list");

  const GameRun bought = play(script, 18, nullptr);
  ASSERT_EQ(bought.exit_code, 0) << bought.err;
  const nlohmann::json& b = bought.dump;
  EXPECT_EQ(scene_of(bought), 100);
  bool found = false;
  for (const auto& u : b["player_units"]) {
    if (u["type"] == 2 && u["x"] == nx && u["y"] == ny) found = u["ready"] == 1;
  }
  EXPECT_TRUE(found) << "no ready scout at " << nx << "," << ny;
  EXPECT_EQ(b["player_units"][hq]["sp"], sp - price);
  EXPECT_EQ(b["player_units"][hq]["ready"], 0);
  for (const auto& u : b["player_units"]) {
    if (u["type"] == 1) {
      EXPECT_EQ(u["sp"], sp - price) << "every HQ pays from the one purse";
    }
  }
  for (long pass : {8L, 10L, 12L, 14L}) {
    bool confirm = false;
    for (const auto& a : b["audio"]) {
      confirm = confirm || (a["pass"] == pass && a["kind"] == "sound" && a["n"] == 1);
    }
    EXPECT_TRUE(confirm) << "no confirm sound at pass " << pass;
  }
}

TEST(TurnCycle, EndingTheFirstTurnRunsTheComputersTurnAndHandsBack) {
  const GameRun run = play(kEndFirstTurn, 1500, nullptr);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json& d = run.dump;
  EXPECT_EQ(scene_of(run), 100);
  EXPECT_EQ(d["turn_no"], 3);
  EXPECT_EQ(first_pass_of(d, "sound", 1), 2);
  EXPECT_TRUE(d["messages"].empty()) << d["messages"];
  // Every computer unit has acted; every player unit may act again.
  for (const auto& u : d["enemy_units"]) {
    if (u["type"] != 0) {
      EXPECT_EQ(u["ready"], 0) << u;
    }
  }
  for (const auto& u : d["player_units"]) {
    if (u["type"] != 0) {
      EXPECT_EQ(u["ready"], 1) << u;
    }
  }

  // Before the hand-over is done: the banner over the map during its pause.
  const GameRun banner = play(kEndFirstTurn, kEndTurnPass + 31 + 20, nullptr);
  ASSERT_EQ(banner.exit_code, 0) << banner.err;
  EXPECT_EQ(scene_of(banner), 5020);
  EXPECT_EQ(banner.dump["turn_no"], 2);
  EXPECT_GT(Png(banner.png).in_rect(16, 192, 624, 288, 0xffffff), 500) << "no banner text";
  keep_snapshot(banner, "enemy_turn_banner");
}

TEST(TurnCycle, AComputerUnitInRangeAttacksWithSoundPopupAndDebugLine) {
  // A computer rifleman two cells from the player's first unit in the file, on open land.
  const auto add_rifle = [](const fs::path& data) {
    edit_stage_one(data, [](const uint8_t* terrain, uint8_t* objects) {
      for (int cell = 64; cell < 64 * 63; ++cell) {
        if (objects[cell] < 16 || objects[cell] > 26) continue;
        const int x = cell % 64, y = cell / 64;
        for (const int dx : {2, -2, 0}) {
          const int dy = dx == 0 ? 2 : 0;
          const int c = 64 * (y + dy) + x + dx;
          if (terrain[c] >= 4 && terrain[c] <= 11 && !is_unit_code(objects[c])) {
            objects[c] = kEnemyRifleCode;
            return;
          }
        }
      }
    });
  };
  const GameRun whole = play(kEndFirstTurn, 1500, add_rifle);
  ASSERT_EQ(whole.exit_code, 0) << whole.err;
  const long attack = first_pass_of(whole.dump, "sound", 3);
  ASSERT_GT(attack, kEndTurnPass) << "no computer attack";
  ASSERT_FALSE(whole.dump["debug_list"].empty());
  const std::string line = whole.dump["debug_list"][0];
  EXPECT_EQ(line.rfind("damage ", 0), 0u) << line;

  // The pass of the attack: the popup is on the picture and its pause has begun.
  const GameRun popup = play(kEndFirstTurn, attack + 1, add_rifle);
  ASSERT_EQ(popup.exit_code, 0) << popup.err;
  EXPECT_EQ(scene_of(popup), 5060);
  EXPECT_EQ(popup.dump["wait_ticks"], 29);
  keep_snapshot(popup, "enemy_attack_popup");
}

TEST(TurnCycle, AnArmyWithoutHqLosesAtTheComputersFirstChoiceAndReturnsToTheTitle) {
  const auto no_player_hq = [](const fs::path& data) {
    edit_stage_one(data, [](const uint8_t*, uint8_t* objects) {
      for (int cell = 0; cell < 64 * 64; ++cell) {
        if (objects[cell] == kPlayerHqCode) objects[cell] = 0;
      }
    });
  };
  // The computer's turn starts 31 passes after "ターン終了"; the banner's 61 passes and the
  // repairs follow, then the first unit finds the player without an HQ.
  const GameRun lost = play(kEndFirstTurn, 400, no_player_hq);
  ASSERT_EQ(lost.exit_code, 0) << lost.err;
  EXPECT_EQ(scene_of(lost), 10) << "back on the title";
  EXPECT_EQ(lost.dump["stage_no"], 0);
  EXPECT_EQ(lost.dump["max_stage"], 0);
  const long title_music = [&] {
    long last = -1;
    for (const auto& a : lost.dump["audio"]) {
      if (a["kind"] == "music" && a["n"] == 1) last = a["pass"];
    }
    return last;
  }();
  ASSERT_GT(title_music, kEndTurnPass);

  // Sixty passes before the title: "Game over" over the map.
  const GameRun banner = play(kEndFirstTurn, title_music - 30, no_player_hq);
  ASSERT_EQ(banner.exit_code, 0) << banner.err;
  EXPECT_EQ(scene_of(banner), 5070);
  EXPECT_GT(Png(banner.png).in_rect(16, 192, 624, 288, 0xffffff), 500) << "no banner text";
  keep_snapshot(banner, "game_over");
}

}  // namespace
