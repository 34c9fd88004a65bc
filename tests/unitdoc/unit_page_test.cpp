// The page of unit types and terrains: its rows are read from the tables the game plays with,
// its prices are the stage set-up's, and the check of a committed page finds any change.
#include "unit_page.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_tick.h"
#include "state/game.h"
#include "world/text.h"

namespace {

namespace fs = std::filesystem;

// The cells of the page's table row that starts with `key` (its first cell), or none.
std::vector<std::string> row_cells(const std::string& page, const std::string& key) {
  std::istringstream lines(page);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("| " + key + " | ", 0) != 0) continue;
    std::vector<std::string> cells;
    size_t at = 2;
    for (size_t bar = line.find(" | ", at); bar != std::string::npos; bar = line.find(" | ", at)) {
      cells.push_back(line.substr(at, bar - at));
      at = bar + 3;
    }
    cells.push_back(line.substr(at, line.size() - at - 2));
    return cells;
  }
  return {};
}

// Column numbers of the unit tables and of the terrain table.
enum UnitColumn {
  kRow,
  kName,
  kEnglish,
  kModel,
  kHp,
  kPrice,
  kMove,
  kRange,
  kSight,
  kFlies,
  kSoft,
  kArmour,
  kAir,
  kDefGround,
  kDefAir,
  kAim,
  kEvasion,
  kTarget,
  kEnters,
  kUnitColumns
};
enum TerrainColumn {
  kCode,
  kTerrain,
  kTerrainEnglish,
  kGround,
  kAircraft,
  kCover,
  kTerrainColumns
};

class UnitsPage : public ::testing::Test {
 protected:
  void SetUp() override { form_create(*g_, 1); }
  std::unique_ptr<Game> g_ = std::make_unique<Game>();
};

TEST_F(UnitsPage, RowsCarryTheFiguresOfTheTablesAndTheStagesPrices) {
  const std::string page = units_page(*g_);
  const struct {
    const char* row;
    const char* name;
    const char* price;
    const char* move;
    const char* flies;
    const char* target;
    const char* enters;
  } cases[] = {
      {"1", "司令部", "—", "0", "no", "soft", "stage map; an enemy HQ you take"},
      {"9", "戦車", "5", "12", "no", "armour", "stage map; your HQs build it (スキル)"},
      // Aircraft and the guns against them are sold in the last stage only, and the guns at
      // the price remembered at start-up, not their own row's.
      {"8", "対空砲", "2 (Stage 10)", "8", "no", "armour", "stage map; your HQs build it (スキル)"},
      {"10", "爆撃機", "15 (Stage 10)", "14", "yes", "air",
       "stage map; your HQs build it (スキル)"},
      {"19", "対空砲", "1 (Stage 10)", "8", "no", "armour",
       "stage map; the computer's HQs build it"},
      {"22", "戦闘機", "30 (Stage 10)", "16", "yes", "air",
       "stage map; the computer's HQs build it"},
      {"23", "守備陣地", "—", "0", "no", "soft", "stage map"},
      {"25", "ロスヴァイク", "—", "12", "no", "soft", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("row ") + c.row);
    const std::vector<std::string> cells = row_cells(page, c.row);
    ASSERT_EQ(cells.size(), static_cast<size_t>(kUnitColumns));
    EXPECT_EQ(cells[kName], c.name);
    EXPECT_EQ(cells[kEnglish], c.name) << "no language chosen: the English column is the text";
    EXPECT_EQ(cells[kPrice], c.price);
    EXPECT_EQ(cells[kMove], c.move);
    EXPECT_EQ(cells[kFlies], c.flies);
    EXPECT_EQ(cells[kTarget], c.target);
    if (c.enters != nullptr) {
      EXPECT_EQ(cells[kEnters], c.enters);
    } else {
      EXPECT_EQ(cells[kEnters].rfind("reserve: ", 0), 0u) << cells[kEnters];
    }
  }
  const std::vector<std::string> tank = row_cells(page, "9");
  ASSERT_EQ(tank.size(), static_cast<size_t>(kUnitColumns));
  EXPECT_EQ((std::vector<std::string>(tank.begin() + kHp, tank.begin() + kTarget)),
            (std::vector<std::string>{"100", "5", "12", "5", "6", "no", "50", "50", "0", "50", "10",
                                      "80", "20"}));
  EXPECT_TRUE(row_cells(page, "0").empty()) << "no unit has row 0";
  EXPECT_TRUE(row_cells(page, "26").empty()) << "nor the spare rows";
}

// The page is read from the tables as they stand, not from a copy of them; and writing it leaves
// the game as it was, though it runs the stage set-up of every stage.
TEST_F(UnitsPage, FollowsTheTablesAndLeavesThemAsTheyWere) {
  g_->world.unit_specs[9].move = 7;
  g_->world.unit_specs[9].cost = 6;
  g_->world.terrain_specs[8].defense = 9;
  g_->world.terrain_specs[8].ground_cost = 255;
  g_->flow.stage_no = 4;
  auto before = std::make_unique<Game>(*g_);
  const std::string page = units_page(*g_);
  EXPECT_EQ(row_cells(page, "9")[kMove], "7");
  EXPECT_EQ(row_cells(page, "9")[kPrice], "6");
  const std::vector<std::string> plain = row_cells(page, "8");
  ASSERT_GE(plain.size(), static_cast<size_t>(kTerrainColumns));
  // Rows "8" of both kinds: the unit table's comes first.
  std::istringstream lines(page.substr(page.find("## Terrain")));
  const std::vector<std::string> terrain = row_cells(lines.str(), "8");
  ASSERT_EQ(terrain.size(), static_cast<size_t>(kTerrainColumns));
  EXPECT_EQ(terrain[kTerrain], "地形　平野");
  EXPECT_EQ(terrain[kGround], "whole move");
  EXPECT_EQ(terrain[kAircraft], "1");
  EXPECT_EQ(terrain[kCover], "9");
  EXPECT_EQ(row_cells(lines.str(), "1")[kGround], "—") << "the sea";

  EXPECT_EQ(
      std::memcmp(g_->world.unit_specs, before->world.unit_specs, sizeof g_->world.unit_specs), 0);
  EXPECT_EQ(g_->flow.stage_no, 4);
  EXPECT_EQ(g_->world.player_start_sp, before->world.player_start_sp);
  EXPECT_EQ(units_page(*g_), page) << "the same page again";
}

TEST_F(UnitsPage, EnglishComesFromTheGamesCatalogue) {
  std::string error;
  ASSERT_TRUE(use_language(*g_, NEVALT_DATA_DIR, "en", &error)) << error;
  const std::string page = units_page(*g_);
  const std::vector<std::string> tank = row_cells(page, "20");
  ASSERT_EQ(tank.size(), static_cast<size_t>(kUnitColumns));
  EXPECT_EQ(tank[kName], "戦車");
  EXPECT_EQ(tank[kEnglish], tr(*g_, "戦車"));
  EXPECT_EQ(tank[kModel], std::string("Ⅳ号戦車 (") + tr(*g_, "Ⅳ号戦車") + ")");
  EXPECT_NE(tank[kEnglish], "戦車");
  EXPECT_EQ(row_cells(page, "9")[kModel], "T34") << "a model the same in English once";
}

class PageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("nevalt-unitdoc-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string write(const std::string& text) const {
    const fs::path p = dir_ / "units.md";
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  fs::path dir_;
};

TEST_F(PageFile, DifferenceNamesTheFirstLineThatIsNotThePage) {
  const std::string page = "# Units\n\n| 9 | 戦車 | 12 |\n| 10 | 爆撃機 | 14 |\n";
  EXPECT_EQ(page_difference(write(page), page), "");
  const struct {
    const char* what;
    std::string file;
    const char* said;
  } cases[] = {
      {"a figure changed", "# Units\n\n| 9 | 戦車 | 11 |\n| 10 | 爆撃機 | 14 |\n",
       "line 3:\n  has   | 9 | 戦車 | 11 |\n  wants | 9 | 戦車 | 12 |"},
      {"a row missing", "# Units\n\n| 9 | 戦車 | 12 |\n", "ends at line 4"},
      {"a row too many", page + "| 11 | 戦闘機 | 16 |\n", "goes on past"},
      {"no last line end", page.substr(0, page.size() - 1), "line ends"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string said = page_difference(write(c.file), page);
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
  }
  EXPECT_NE(page_difference((dir_ / "none.md").string(), page).find("cannot read"),
            std::string::npos);
}

// The drift check of the suite (units_doc_current) through the real tool: the committed page
// passes, a copy with one figure changed fails and says how to write the page again.
TEST_F(PageFile, TheToolFailsOnAPageThatIsNotTheTablesAndTellsHowToMendIt) {
  std::ifstream in(std::string(NEVALT_SOURCE_DIR) + "/docs/units.md", std::ios::binary);
  std::ostringstream committed;
  committed << in.rdbuf();
  const std::string text = committed.str();
  const size_t tank = text.find("| 9 | 戦車 |");
  ASSERT_NE(tank, std::string::npos);
  std::string changed = text;
  changed.replace(changed.find("| 12 |", tank), 6, "| 13 |");

  const auto check = [&](const std::string& file, std::string* err) {
    const fs::path errors = dir_ / "stderr.txt";
    const std::string cmd = std::string(UNITDOC_BINARY) + " --data '" + NEVALT_DATA_DIR +
                            "' --check '" + file + "' 2>'" + errors.string() + "'";
    const int status = std::system(cmd.c_str());
    std::ifstream e(errors);
    std::ostringstream s;
    s << e.rdbuf();
    *err = s.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  std::string err;
  EXPECT_EQ(check(write(text), &err), 0) << err;
  EXPECT_EQ(check(write(changed), &err), 1);
  EXPECT_NE(err.find("make units-doc"), std::string::npos) << err;
  EXPECT_NE(err.find("| 9 | 戦車 |"), std::string::npos) << "names the line: " << err;
}

}  // namespace
