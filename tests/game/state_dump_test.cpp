#include "game/state_dump.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "game/debug_list.h"
#include "state/game.h"

namespace {

TEST(StateDump, HoldsEveryFieldWithItsValue) {
  auto g = std::make_unique<Game>();
  g->flow.scene = 5031;
  g->flow.wait_ticks = 17;
  g->flow.stage_no = 3;
  g->flow.max_stage = 6;
  g->flow.turn_no = 9;
  g->flow.closed = true;
  g->rng.seed(4000000000u);
  debug_log_walk(*g, 12, 30);
  debug_log_damage(*g, -1);
  g->view.view_x = 44;
  g->view.view_y = 12;
  g->ui.hover_item = 2;
  g->world.selected_slot = 65535;
  g->world.player_units[0] = TUnit{1, 10, 11, 300, 250, 7, 1, 1, 0};
  g->world.enemy_units[59] = TUnit{12, 50, 51, 280, 90, 8, 2, 0, 1};
  HostLog log;
  log.caption = "ネヴァルト Stage 4";
  log.audio = {{0, "music", 1}, {3, "sound", 2}};
  log.messages = {{8, "Version 1.04", "バージョン番号"}};

  // Round trip through text, as a reader of the file sees it.
  const nlohmann::json d = nlohmann::json::parse(state_dump(*g, 123, log).dump());
  EXPECT_EQ(d["pass"], 123);
  EXPECT_EQ(d["scene"], 5031);
  EXPECT_EQ(d["wait_ticks"], 17);
  EXPECT_EQ(d["caption"], "ネヴァルト Stage 4");
  EXPECT_EQ(d["stage_no"], 3);
  EXPECT_EQ(d["max_stage"], 6);
  EXPECT_EQ(d["turn_no"], 9);
  EXPECT_EQ(d["rng"], 4000000000u) << "the generator's whole state, unsigned";
  EXPECT_EQ(d["view_x"], 44);
  EXPECT_EQ(d["view_y"], 12);
  EXPECT_EQ(d["hover_item"], 2);
  EXPECT_EQ(d["selected_slot"], 65535);
  EXPECT_EQ(d["closed"], true);
  EXPECT_EQ(d["debug_list"], (nlohmann::json{"pX 12 pY 30", "damage -1"}));

  ASSERT_EQ(d["player_units"].size(), 60u);
  ASSERT_EQ(d["enemy_units"].size(), 60u);
  const nlohmann::json p = d["player_units"][0];
  const nlohmann::json e = d["enemy_units"][59];
  const struct {
    const char* field;
    int player, enemy;
  } fields[] = {{"type", 1, 12},  {"x", 10, 50},   {"y", 11, 51},
                {"hp", 300, 280}, {"sp", 250, 90}, {"terrain", 7, 8},
                {"status", 1, 2}, {"ready", 1, 0}, {"moved", 0, 1}};
  for (const auto& f : fields) {
    EXPECT_EQ(p[f.field], f.player) << f.field;
    EXPECT_EQ(e[f.field], f.enemy) << f.field;
  }
  EXPECT_EQ(p.size(), 9u);
  EXPECT_EQ(d["player_units"][1]["type"], 0);

  ASSERT_EQ(d["audio"].size(), 2u);
  EXPECT_EQ(d["audio"][1], (nlohmann::json{{"pass", 3}, {"kind", "sound"}, {"n", 2}}));
  ASSERT_EQ(d["messages"].size(), 1u);
  EXPECT_EQ(d["messages"][0],
            (nlohmann::json{{"pass", 8}, {"text", "Version 1.04"}, {"caption", "バージョン番号"}}));
}

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("nevalt-dump-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

TEST_F(OutputFileTest, DumpIsWrittenAndAnUnwritablePathIsAnError) {
  auto g = std::make_unique<Game>();
  std::string error;
  const std::string path = (dir / "state.json").string();
  ASSERT_TRUE(write_state_dump(path, state_dump(*g, 4, HostLog{}), &error)) << error;
  std::ifstream in(path);
  EXPECT_EQ(nlohmann::json::parse(in)["pass"], 4);

  const std::string bad = (dir / "no" / "such" / "state.json").string();
  EXPECT_FALSE(write_state_dump(bad, state_dump(*g, 4, HostLog{}), &error));
  EXPECT_NE(error.find(bad), std::string::npos);
}

TEST_F(OutputFileTest, ScreenshotKeepsThePixelsOfThePicture) {
  Picture pic;
  pic.surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 24, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(pic.surface, nullptr);
  SDL_FillRect(pic.surface, nullptr, SDL_MapRGB(pic.surface->format, 10, 20, 30));
  SDL_Rect r{600, 400, 40, 80};
  SDL_FillRect(pic.surface, &r, SDL_MapRGB(pic.surface->format, 250, 128, 1));
  std::string error;
  const std::string path = (dir / "shot.png").string();
  ASSERT_TRUE(write_screenshot(path, pic, &error)) << error;
  SDL_FreeSurface(pic.surface);

  SDL_Surface* loaded = IMG_Load(path.c_str());
  ASSERT_NE(loaded, nullptr);
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  ASSERT_EQ(rgb->w, 640);
  ASSERT_EQ(rgb->h, 480);
  auto px = [&](int x, int y) {
    const auto* p = static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch + x * 3;
    return std::vector<int>{p[0], p[1], p[2]};
  };
  EXPECT_EQ(px(0, 0), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(px(639, 479), (std::vector<int>{250, 128, 1}));
  EXPECT_EQ(px(599, 479), (std::vector<int>{10, 20, 30}));
  SDL_FreeSurface(rgb);
}

TEST_F(OutputFileTest, ScreenshotOfAnEmptyPictureIsBlack) {
  Picture pic;
  std::string error;
  const std::string path = (dir / "blank.png").string();
  ASSERT_TRUE(write_screenshot(path, pic, &error)) << error;
  SDL_Surface* loaded = IMG_Load(path.c_str());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->w, 640);
  EXPECT_EQ(loaded->h, 480);
  SDL_FreeSurface(loaded);
  EXPECT_FALSE(write_screenshot((dir / "no" / "x.png").string(), pic, &error));
}

}  // namespace
