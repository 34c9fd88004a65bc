// Whole campaigns through the real program: title, intermission, stage select, the map of stage 1
// with its panel and menu, and the save file between runs.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "e2e/run_game.h"
#include "e2e/screenshot.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameRun;
using e2e::keep_snapshot;
using e2e::Png;
using e2e::run_game;
using e2e::RunPlan;

// Title: "Start"; intermission: "出撃", clicked at the right end of its row, which lies in the
// map's scroll frame: the map that opens under the held button in the same pass neither scrolls
// (the pass is off the scroll beat) nor opens a unit's menu. Stage 1 starts in pass 6.
constexpr const char* kStartSortie =
    "0   0   0   0 0\n"
    "2   300 340 1 0   # Start\n"
    "3   300 340 0 0\n"
    "6   630 185 1 0   # 出撃\n"
    "7   630 185 0 0\n";
// The map menu opened with the right button at pass 10, ready from pass 11.
constexpr const char* kOpenMenu =
    "10  320 240 0 1\n"
    "11  320 240 0 0\n";

struct Pt {
  int x = 0;
  int y = 0;
};

// Where things are on the first map as the program shows it after the sortie, found from its
// state rather than assumed, so a redrawn map keeps the tests meaningful.
struct Layout {
  int view_x = 0, view_y = 0;
  int first_x = 0, first_y = 0, first_type = 0;
  Pt first;                      // pointer on the first unit of the roster
  std::optional<Pt> empty_seen;  // a free cell two steps from it, which its sight covers
  std::optional<Pt> fog;         // a free cell far beyond the sight of every player unit
};

Layout layout_of(const nlohmann::json& d) {
  Layout l;
  l.view_x = d["view_x"];
  l.view_y = d["view_y"];
  const nlohmann::json& first = d["player_units"][0];
  l.first_x = first["x"];
  l.first_y = first["y"];
  l.first_type = first["type"];
  const auto screen = [&](int x, int y) {
    return Pt{32 * (x - l.view_x) + 16, 32 * (y - l.view_y) + 16};
  };
  l.first = screen(l.first_x, l.first_y);
  const auto occupied = [&](int x, int y) {
    for (const char* side : {"player_units", "enemy_units"}) {
      for (const auto& u : d[side]) {
        if (u["type"] != 0 && u["x"] == x && u["y"] == y) return true;
      }
    }
    return false;
  };
  // Inside the map area, away from the scroll frame.
  const auto inner = [&](int x, int y) {
    const int c = x - l.view_x, r = y - l.view_y;
    return c >= 1 && c <= 18 && r >= 1 && r <= 13;
  };
  for (Pt o : {Pt{0, -2}, Pt{0, 2}, Pt{-2, 0}, Pt{2, 0}, Pt{-1, -1}, Pt{1, 1}}) {
    const int x = l.first_x + o.x, y = l.first_y + o.y;
    if (inner(x, y) && !occupied(x, y)) {
      l.empty_seen = screen(x, y);
      break;
    }
  }
  for (int y = l.view_y + 1; y <= l.view_y + 13 && !l.fog; ++y) {
    for (int x = l.view_x + 1; x <= l.view_x + 18 && !l.fog; ++x) {
      bool far = !occupied(x, y);
      for (const auto& u : d["player_units"]) {
        if (u["type"] == 0) continue;
        const int dist = std::abs(int(u["x"]) - x) + std::abs(int(u["y"]) - y);
        far = far && dist > 12;
      }
      if (far) l.fog = screen(x, y);
    }
  }
  return l;
}

std::string at_pass(int pass, Pt p, bool left = false, bool right = false) {
  return std::to_string(pass) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + " " +
         (left ? "1" : "0") + " " + (right ? "1" : "0") + "\n";
}

// A BMP of the data folder as a PNG-comparable picture.
fs::path as_png(const fs::path& bmp, const fs::path& dir) {
  SDL_Surface* s = SDL_LoadBMP(bmp.string().c_str());
  const fs::path out = dir / (bmp.stem().string() + ".png");
  if (s != nullptr) IMG_SavePNG(s, out.string().c_str());
  SDL_FreeSurface(s);
  return out;
}

GameRun play(const std::string& script, long ticks,
             std::function<void(const fs::path&)> prepare = nullptr) {
  RunPlan plan;
  plan.script = script;
  plan.ticks = ticks;
  plan.prepare = std::move(prepare);
  return run_game(plan);
}

bool heard(const nlohmann::json& dump, long pass, const char* kind, int n) {
  for (const auto& a : dump["audio"]) {
    if (a["pass"] == pass && a["kind"] == kind && a["n"] == n) return true;
  }
  return false;
}

// The map as the sortie leaves it, before any pointer move of the test.
Layout probe_layout() {
  const GameRun run = play(kStartSortie, 8);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  return layout_of(run.dump);
}

TEST(Campaign, StartAndSortieShowStageOneOnItsFirstUnit) {
  const Layout l = probe_layout();
  const GameRun run = play(std::string(kStartSortie) + at_pass(8, l.first), 10);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json& d = run.dump;
  EXPECT_EQ(d["scene"], 100);
  EXPECT_EQ(d["caption"], "ネヴァルト Stage 1");
  EXPECT_EQ(d["stage_no"], 0);
  EXPECT_EQ(d["turn_no"], 1);
  EXPECT_NE(l.first_type, 0);
  EXPECT_EQ(d["view_x"], std::clamp(l.first_x - 10, 0, 44)) << "centred on the first unit";
  EXPECT_EQ(d["view_y"], std::clamp(l.first_y - 8, 0, 49));
  EXPECT_TRUE(heard(d, 6, "sound", 1));
  EXPECT_TRUE(heard(d, 6, "music", 2));
  EXPECT_TRUE(d["messages"].empty()) << d["messages"];
  EXPECT_EQ(d["selected_slot"], 0) << "the first unit is under the pointer";
  keep_snapshot(run, "map_unit_panel");

  // The panel keeps to the half of the picture the pointer is not in.
  const int top = l.first.y < 240 ? 384 : 0;
  const Png shot(run.png);
  const Png skin(as_png(run.data / "Window.bmp", run.dir));
  ASSERT_TRUE(shot.ok() && skin.ok());
  EXPECT_TRUE(shot.same(0, top, skin, 0, 0, 16)) << "frame corner at y " << top;
  EXPECT_FALSE(shot.same(0, 384 - top, skin, 0, 0, 16));
  const int portrait_left = l.first_type == 1 ? 0 : 64;
  EXPECT_TRUE(shot.same(16, top + 16, skin, portrait_left, 32, 64)) << "the player's portrait";
}

TEST(Campaign, NoUnitPanelOverFogOrAnEmptyCell) {
  const Layout l = probe_layout();
  ASSERT_TRUE(l.empty_seen.has_value()) << "no free cell beside the first unit";
  const struct {
    const char* name;
    std::optional<Pt> at;
  } cases[] = {{"Fog", l.fog}, {"EmptyCell", l.empty_seen}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.at) continue;  // the first view has no cell that far from every unit
    const GameRun run = play(std::string(kStartSortie) + at_pass(8, *c.at), 10);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.dump["scene"], 100);
    EXPECT_EQ(run.dump["selected_slot"], -1);
    const Png shot(run.png);
    const Png skin(as_png(run.data / "Window.bmp", run.dir));
    ASSERT_TRUE(shot.ok() && skin.ok());
    EXPECT_FALSE(shot.same(0, 0, skin, 0, 0, 16));
    EXPECT_FALSE(shot.same(0, 384, skin, 0, 0, 16));
  }
}

TEST(Campaign, RightClickOpensTheMapMenuWithTheConfirmSound) {
  const GameRun run = play(std::string(kStartSortie) + kOpenMenu + "13  500 244 0 0\n", 15);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["scene"], 390);
  EXPECT_EQ(run.dump["hover_item"], 5);
  EXPECT_TRUE(heard(run.dump, 10, "sound", 1));
  EXPECT_FALSE(heard(run.dump, 10, "sound", 2));
  keep_snapshot(run, "map_menu");
  const Png shot(run.png);
  const Png skin(as_png(run.data / "Window.bmp", run.dir));
  EXPECT_TRUE(shot.same(384, 100, skin, 0, 0, 16));
}

TEST(Campaign, UnitListAndVictoryConditionFromTheMenu) {
  const struct {
    const char* name;
    const char* lines;
    int scene;
    int hover;
  } cases[] = {
      {"unit_list", "15  500 116 1 0\n16  100 125 0 0\n", 410, 3},
      {"victory_condition", "15  500 212 1 0\n16  500 212 0 0\n", 420, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GameRun run = play(std::string(kStartSortie) + kOpenMenu + c.lines, 20);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.dump["scene"], c.scene);
    EXPECT_EQ(run.dump["hover_item"], c.hover);
    keep_snapshot(run, c.name);
  }
}

TEST(Campaign, MenuSaveReplacesTheSaveAndContinueReadsItBack) {
  const GameRun saved =
      play(std::string(kStartSortie) + kOpenMenu + "15  500 180 1 0\n16  500 180 0 0\n", 20,
           [](const fs::path& data) { std::ofstream(data / "SAVE.TXT") << "5,7"; });
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  EXPECT_EQ(saved.dump["scene"], 391);
  EXPECT_EQ(e2e::read_text(saved.data / "SAVE.TXT"), "0,0");
  for (const auto& entry : fs::directory_iterator(saved.data)) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
  EXPECT_TRUE(saved.dump["messages"].empty()) << saved.dump["messages"];
  keep_snapshot(saved, "map_save_notice");

  const std::string text = e2e::read_text(saved.data / "SAVE.TXT");
  const GameRun resumed = play(
      "0 0 0 0 0\n2 300 370 1 0   # Continue\n3 300 370 0 0\n", 5,
      [&](const fs::path& data) { std::ofstream(data / "SAVE.TXT", std::ios::binary) << text; });
  ASSERT_EQ(resumed.exit_code, 0) << resumed.err;
  EXPECT_EQ(resumed.dump["scene"], 11);
  EXPECT_EQ(resumed.dump["stage_no"], 0);
  EXPECT_EQ(resumed.dump["max_stage"], 0);
  EXPECT_TRUE(resumed.dump["messages"].empty());
}

TEST(Campaign, ASaveThatCannotBeWrittenIsToldAndTheOldOneKept) {
  // A folder where the save should go: no file can take its place.
  const GameRun run = play("0 0 0 0 0\n2 300 340 1 0\n3 300 340 0 0\n5 500 120 1 0   # セーブ\n", 8,
                           [](const fs::path& data) {
                             fs::create_directory(data / "SAVE.TXT");
                             std::ofstream(data / "SAVE.TXT" / "old") << "4,6";
                           });
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["scene"], 12);
  ASSERT_EQ(run.dump["messages"].size(), 1u) << run.dump["messages"];
  EXPECT_EQ(run.dump["messages"][0]["pass"], 5);
  EXPECT_EQ(run.dump["messages"][0]["caption"], "セーブ");
  EXPECT_EQ(e2e::read_text(run.data / "SAVE.TXT" / "old"), "4,6");
  EXPECT_FALSE(fs::exists(run.data / "SAVE.TXT.tmp"));
  const Png shot(run.png);
  const Png skin(as_png(run.data / "Window.bmp", run.dir));
  EXPECT_FALSE(shot.same(32, 32, skin, 0, 0, 16)) << "no notice that it was saved";
}

TEST(Campaign, ContinueWithoutASaveSaysSoAndStartsFromStageOne) {
  const GameRun run = play("0 0 0 0 0\n2 300 370 1 0\n3 300 370 0 0\n", 5);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["scene"], 11);
  EXPECT_EQ(run.dump["stage_no"], 0);
  ASSERT_EQ(run.dump["messages"].size(), 1u);
  EXPECT_EQ(run.dump["messages"][0]["caption"], "セーブ");
}

TEST(Campaign, StageSelectTakesOnlyTheClearedStages) {
  const std::string to_select =
      "0 0 0 0 0\n"
      "2 300 370 1 0   # Continue\n"
      "3 300 370 0 0\n"
      "5 500 150 1 0   # 再戦\n"
      "6 500 150 0 0\n";
  const auto save = [](const fs::path& data) { std::ofstream(data / "SAVE.TXT") << "2,2"; };

  const GameRun refused =
      play(to_select + "8 20 80 1 0   # Stage 3\n9 20 80 0 0\n11 20 80 0 0\n", 12, save);
  ASSERT_EQ(refused.exit_code, 0) << refused.err;
  EXPECT_EQ(refused.dump["scene"], 13);
  EXPECT_EQ(refused.dump["hover_item"], 3);
  EXPECT_EQ(refused.dump["stage_no"], 2);
  EXPECT_FALSE(heard(refused.dump, 8, "sound", 1));
  keep_snapshot(refused, "stage_select");

  const GameRun accepted = play(to_select + "8 20 40 1 0   # Stage 2\n9 20 40 0 0\n", 12, save);
  ASSERT_EQ(accepted.exit_code, 0) << accepted.err;
  EXPECT_EQ(accepted.dump["scene"], 100);
  EXPECT_EQ(accepted.dump["stage_no"], 1);
  EXPECT_EQ(accepted.dump["caption"], "ネヴァルト Stage 2");
  EXPECT_TRUE(heard(accepted.dump, 8, "sound", 1));
  EXPECT_TRUE(heard(accepted.dump, 8, "music", 2));
}

TEST(Campaign, TitleAndIntermissionScreens) {
  const GameRun title = play("0 300 370 0 0\n", 3);
  ASSERT_EQ(title.exit_code, 0) << title.err;
  EXPECT_EQ(title.dump["hover_item"], 2);
  keep_snapshot(title, "title");

  const GameRun intermission = play("0 0 0 0 0\n2 300 340 1 0\n3 500 185 0 0\n", 5);
  ASSERT_EQ(intermission.exit_code, 0) << intermission.err;
  EXPECT_EQ(intermission.dump["scene"], 11);
  EXPECT_EQ(intermission.dump["hover_item"], 3);
  keep_snapshot(intermission, "intermission");
}

}  // namespace
