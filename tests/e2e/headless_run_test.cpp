// The program as a whole, driven headless through its command line.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "e2e/run_game.h"

namespace {

using e2e::Data;
using e2e::GameRun;
using e2e::run_game;
using e2e::RunPlan;

// How a PNG looks: its size and whether any pixel is not black.
struct PngFacts {
  int w = 0;
  int h = 0;
  bool any_colour = false;
};

PngFacts png_facts(const std::filesystem::path& p) {
  PngFacts f;
  SDL_Surface* loaded = IMG_Load(p.string().c_str());
  if (loaded == nullptr) return f;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  f.w = rgb->w;
  f.h = rgb->h;
  for (int y = 0; y < rgb->h && !f.any_colour; ++y) {
    const auto* row = static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch;
    for (int i = 0; i < rgb->w * 3; ++i) {
      if (row[i] != 0) {
        f.any_colour = true;
        break;
      }
    }
  }
  SDL_FreeSurface(rgb);
  return f;
}

RunPlan synthetic(long ticks = 1) {
  RunPlan plan;
  plan.data = Data::kSynthetic;
  plan.ticks = ticks;
  return plan;
}

TEST(Headless, RunsThePassesAndWritesTheDumpAndScreenshot) {
  RunPlan plan;
  plan.data = Data::kSynthetic;
  plan.ticks = 20;
  const GameRun run = run_game(plan);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_TRUE(run.dump.is_object()) << run.err;
  const nlohmann::json& d = run.dump;
  EXPECT_EQ(d["pass"], 20);
  EXPECT_EQ(d["caption"], "ネヴァルト Stage 1");
  EXPECT_EQ(d["closed"], false);
  EXPECT_EQ(d["stage_no"], 0);
  EXPECT_EQ(d["player_units"].size(), 60u);
  EXPECT_EQ(d["enemy_units"].size(), 60u);
  for (const char* key : {"scene", "wait_ticks", "max_stage", "turn_no", "view_x", "view_y",
                          "hover_item", "selected_slot", "audio", "messages", "debug_list"}) {
    EXPECT_TRUE(d.contains(key)) << key;
  }
  ASSERT_FALSE(run.png.empty());
  const PngFacts png = png_facts(run.png);
  EXPECT_EQ(png.w, 640);
  EXPECT_EQ(png.h, 480);
}

TEST(Headless, CtrlInTheScriptShowsTheVersionAtThatPass) {
  RunPlan plan;
  plan.data = Data::kSynthetic;
  plan.ticks = 10;
  plan.script = "# version key twice\n2 100 100 0 0 0 1\n3 100 100 0 0\n7 0 0 0 0 0 1\n";
  const GameRun run = run_game(plan);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["messages"],
            (nlohmann::json{
                {{"pass", 2}, {"text", "Version 1.04"}, {"caption", "バージョン番号"}},
                {{"pass", 7}, {"text", "Version 1.04"}, {"caption", "バージョン番号"}},
            }));
}

TEST(Headless, BadInputScriptsStopWithTheLineNumber) {
  const struct {
    const char* script;
    const char* expect;
  } cases[] = {
      {"0 1 1 0 0\n# fine so far\n4 1 1 0\n", "line 3"},
      {"0 1 1 0 0\n1 1 1 7 0\n", "line 2"},
      {"5 1 1 0 0\n2 1 1 0 0\n", "line 2"},
  };
  for (const auto& c : cases) {
    RunPlan plan;
    plan.data = Data::kSynthetic;
    plan.script = c.script;
    const GameRun run = run_game(plan);
    EXPECT_NE(run.exit_code, 0) << c.script;
    EXPECT_NE(run.err.find(c.expect), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("input.txt"), std::string::npos) << run.err;
    EXPECT_TRUE(run.dump.is_null());
  }
}

TEST(Headless, MissingOrBrokenPicturesStopWithTheFileAndFolder) {
  const struct {
    const char* file;
    bool remove;
  } cases[] = {{"Title.bmp", true},
               {"BG1.bmp", true},
               {"BG2.bmp", false},
               {"Window.bmp", true},
               {"TileA.bmp", false}};
  for (const auto& c : cases) {
    RunPlan plan;
    plan.data = Data::kSynthetic;
    plan.prepare = [&](const std::filesystem::path& data) {
      if (c.remove) {
        std::filesystem::remove(data / c.file);
      } else {
        std::ofstream(data / c.file, std::ios::trunc) << "not a picture";
      }
    };
    const GameRun run = run_game(plan);
    EXPECT_EQ(run.exit_code, 1) << c.file << run.err;
    EXPECT_NE(run.err.find(c.file), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(run.data.string()), std::string::npos) << run.err;
  }
}

TEST(Headless, CommandLineMistakesAreRefused) {
  const struct {
    std::vector<std::string> args;
    const char* expect;
  } cases[] = {
      {{"--record", "x.txt"}, "--record"},
      {{"--scale", "0"}, "scale"},
      {{"--seed", "-4"}, "seed"},
  };
  for (const auto& c : cases) {
    RunPlan plan;
    plan.data = Data::kSynthetic;
    plan.args = c.args;
    const GameRun run = run_game(plan);
    EXPECT_NE(run.exit_code, 0) << c.args[0];
    EXPECT_NE((run.err + run.out).find(c.expect), std::string::npos) << run.err << run.out;
  }
}

TEST(Headless, NeedsTicksAndInputNeedsHeadless) {
  const GameRun dir = run_game(synthetic());
  std::string out, err;
  EXPECT_NE(
      e2e::run_command(dir.dir, dir.dir, {"--headless", "--data", dir.data.string()}, &out, &err),
      0);
  EXPECT_NE(err.find("--ticks"), std::string::npos) << err;
  EXPECT_NE(
      e2e::run_command(dir.dir, dir.dir, {"--input", "x", "--data", dir.data.string()}, &out, &err),
      0);
  EXPECT_NE(err.find("--input needs --headless"), std::string::npos) << err;
}

TEST(Headless, OutputPathsAreTakenFromWhereTheProgramStarted) {
  const GameRun run = run_game(synthetic());
  std::ofstream(run.dir / "in.txt") << "0 5 5 0 0 0 1\n";
  std::string out, err;
  const int code = e2e::run_command(run.dir, run.dir,
                                    {"--headless", "--ticks", "2", "--data", "data", "--input",
                                     "in.txt", "--dump-state", "s.json", "--screenshot", "p.png"},
                                    &out, &err);
  ASSERT_EQ(code, 0) << err;
  EXPECT_TRUE(std::filesystem::exists(run.dir / "s.json"));
  EXPECT_TRUE(std::filesystem::exists(run.dir / "p.png"));
  EXPECT_FALSE(std::filesystem::exists(run.data / "s.json"));
  const auto d = nlohmann::json::parse(e2e::read_text(run.dir / "s.json"));
  EXPECT_EQ(d["messages"].size(), 1u) << d["messages"];
}

// What the built game shows; these need the generated pictures and the title scenes.

TEST(BuiltGame, FirstPassShowsTheTitleWithItsMusic) {
  const GameRun run = run_game(RunPlan{});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["caption"], "ネヴァルト Stage 1");
  EXPECT_EQ(run.dump["scene"], 10);
  EXPECT_EQ(run.dump["audio"], (nlohmann::json{{{"pass", 0}, {"kind", "music"}, {"n", 1}}}));
  EXPECT_TRUE(run.dump["messages"].empty()) << run.dump["messages"];
  EXPECT_TRUE(png_facts(run.png).any_colour);
}

TEST(BuiltGame, EscapeRestartsTheTitleMusicOnEveryPassItIsHeld) {
  RunPlan plan;
  plan.ticks = 8;
  plan.script = "3 320 240 0 0 1\n6 320 240 0 0\n";
  const GameRun run = run_game(plan);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::vector<long> music_passes;
  for (const auto& a : run.dump["audio"]) {
    if (a["kind"] == "music") {
      EXPECT_EQ(a["n"], 1);
      music_passes.push_back(a["pass"]);
    }
  }
  EXPECT_EQ(music_passes, (std::vector<long>{0, 3, 4, 5}));
  EXPECT_EQ(run.dump["scene"], 10);
}

TEST(BuiltGame, TheSameSeedAndScriptGiveTheSameGame) {
  RunPlan plan;
  plan.ticks = 120;
  plan.args = {"--seed", "4242"};
  plan.script = "0 320 240 0 0\n30 200 300 1 0\n31 200 300 0 0\n60 400 100 0 1\n61 0 0 0 0\n";
  const GameRun a = run_game(plan);
  const GameRun b = run_game(plan);
  ASSERT_EQ(a.exit_code, 0) << a.err;
  EXPECT_EQ(a.dump, b.dump);
  EXPECT_EQ(e2e::read_text(a.png), e2e::read_text(b.png));
}

}  // namespace
