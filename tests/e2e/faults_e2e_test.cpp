// The real program with one of its files missing or damaged: it tells the player and goes on
// where the game can go on, and stops with a clear message where it cannot.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "e2e/run_game.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameRun;
using e2e::RunPlan;

// Title: "Start" at pass 2; intermission: "出撃" at pass 6, at the right end of its row (in the
// map's scroll frame, so the map that opens under the held button does nothing with it).
constexpr const char* kStartSortie =
    "0   0   0   0 0\n"
    "2   300 340 1 0\n"
    "3   300 340 0 0\n"
    "6   630 185 1 0\n"
    "7   630 185 0 0\n";

void remove_file(const fs::path& p) {
  fs::remove(p);
}

void write_bytes(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

std::string read_bytes(const fs::path& p) {
  return e2e::read_text(p);
}

struct FileFault {
  const char* name;
  const char* file;
  std::function<void(const fs::path&)> damage;
  // The message boxes of the run, in order: {pass, a piece of the text}.
  std::vector<std::pair<long, std::string>> boxes;
  int player_units;  // units of the player on the map at the end; -1: any number
  int scene = 100;   // where the run ends: on the map, or back at the intermission (11)
};

constexpr const char* kMapMissing = "ファイルが見つかりませんでした\n";

TEST(Faults, AMissingOrDamagedFileOfTheFirstStageIsToldOrPassedOverAndTheStageStarts) {
  const std::string map001 = read_bytes(fs::path(NEVALT_DATA_DIR) / "map001.fmf");
  const auto cut_to = [&](size_t bytes) {
    return [&map001, bytes](const fs::path& p) { write_bytes(p, map001.substr(0, bytes)); };
  };
  const FileFault cases[] = {
      {"title music missing",
       "tatsumakinotourai.mp3",
       remove_file,
       {{0, "tatsumakinotourai.mp3"}},
       -1},
      {"intermission music missing", "senka.mp3", remove_file, {{2, "senka.mp3"}}, -1},
      {"battle music missing", "seisen.mp3", remove_file, {{6, "seisen.mp3"}}, -1},
      {"confirm sound missing", "se01.wav", remove_file, {}, -1},
      // A stage without its map never starts on an empty board that can be neither won nor
      // lost: the message, and after the pause the intermission again.
      {"map missing", "map001.fmf", remove_file, {{6, kMapMissing}}, 0, 11},
      {"map is a folder",
       "map001.fmf",
       [](const fs::path& p) {
         fs::remove(p);
         fs::create_directory(p);
       },
       {{6, kMapMissing}},
       0,
       11},
      {"map empty", "map001.fmf", cut_to(0), {{6, "map001.fmf"}}, 0, 11},
      {"map of the header and the terrain only", "map001.fmf", cut_to(4116), {{6, "4116"}}, 0, 11},
      {"map cut inside the objects",
       "map001.fmf",
       cut_to(4116 + 64 * 30),
       {{6, "map001.fmf"}},
       0,
       11},
      {"map one byte short", "map001.fmf", cut_to(8211), {{6, "8211"}}, 0, 11},
      {"map with every cell an HQ",
       "map001.fmf",
       [&](const fs::path& p) {
         std::string bytes = map001;
         for (size_t i = 4116; i < bytes.size(); ++i) bytes[i] = (i % 2) ? 16 : 48;
         write_bytes(p, bytes);
       },
       {},
       60},
      {"map of random bytes",
       "map001.fmf",
       [](const fs::path& p) {
         std::string bytes(9000, '\0');
         uint32_t x = 99;
         for (char& c : bytes) {
           x = x * 1664525u + 1013904223u;
           c = static_cast<char>(x >> 24);
         }
         write_bytes(p, bytes);
       },
       {},
       -1},
  };
  for (const FileFault& c : cases) {
    SCOPED_TRACE(c.name);
    RunPlan plan;
    plan.script = kStartSortie;
    plan.ticks = 80;
    plan.screenshot = false;
    plan.prepare = [&](const fs::path& data) { c.damage(data / c.file); };
    const GameRun run = e2e::run_game(plan);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.dump["scene"], c.scene);
    if (c.scene != 100) {
      // The battle never began: no battle music, no turn.
      EXPECT_EQ(run.dump["turn_no"], 0);
      for (const auto& a : run.dump["audio"]) EXPECT_FALSE(a["kind"] == "music" && a["n"] == 2);
    }
    const auto& messages = run.dump["messages"];
    ASSERT_EQ(messages.size(), c.boxes.size()) << messages;
    for (size_t i = 0; i < c.boxes.size(); ++i) {
      EXPECT_EQ(messages[i]["pass"], c.boxes[i].first);
      EXPECT_NE(messages[i]["text"].get<std::string>().find(c.boxes[i].second), std::string::npos)
          << messages[i];
    }
    if (c.player_units >= 0) {
      int placed = 0;
      for (const auto& u : run.dump["player_units"]) placed += u["type"] != 0;
      EXPECT_EQ(placed, c.player_units);
    }
  }
}

// Without a Japanese font nothing can be written on the screen: the program says which font it
// needs and stops before opening anything else.
TEST(Faults, NoJapaneseFontStopsWithTheFontToInstall) {
  const fs::path dir = e2e::make_temp_dir();
  ASSERT_FALSE(dir.empty());
  const fs::path conf = dir / "fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                         "<fontconfig><dir>"
                      << (dir / "no-fonts").string() << "</dir><cachedir>"
                      << (dir / "cache").string() << "</cachedir></fontconfig>\n";
  const char* old = std::getenv("FONTCONFIG_FILE");
  const std::string saved = old != nullptr ? old : "";
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  RunPlan plan;
  plan.data = e2e::Data::kSynthetic;
  const GameRun run = e2e::run_game(plan);
  if (old != nullptr) {
    setenv("FONTCONFIG_FILE", saved.c_str(), 1);
  } else {
    unsetenv("FONTCONFIG_FILE");
  }
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_NE(run.err.find("Japanese font"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("fonts-ipafont-gothic"), std::string::npos) << run.err;
  EXPECT_TRUE(run.dump.is_null());
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

namespace {

// The built-in player at a stage whose map cannot be read: it is told once, never plays a battle
// on an empty board, and stops instead of trying the same sortie again and again.
TEST(Faults, TheBuiltInPlayerStopsAtAStageThatCannotStart) {
  RunPlan plan;
  plan.ticks = 20000;
  plan.screenshot = false;
  plan.args = {"--autoplay", "--seed", "3"};
  plan.prepare = [](const fs::path& data) {
    fs::remove(data / "map001.fmf");
    fs::create_directory(data / "map001.fmf");
  };
  const GameRun run = e2e::run_game(plan);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto& bot = run.dump["autoplay"];
  EXPECT_TRUE(bot["finished"].get<bool>());
  EXPECT_TRUE(bot["battles"].empty()) << bot["battles"];
  EXPECT_LT(run.dump["pass"].get<long>(), 20000);
  ASSERT_EQ(run.dump["messages"].size(), 1u) << run.dump["messages"];
  EXPECT_EQ(run.dump["messages"][0]["text"], kMapMissing);
}

}  // namespace
