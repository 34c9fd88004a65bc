#include "game/campaign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "campaign_fixture.h"
#include "game/scenes.h"
#include "ui/screens.h"
#include "view/map_view.h"
#include "world/map_file.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world/tables.h"

using namespace campaign_test;

namespace {

struct StageRow {
  int32_t stage_no;
  int32_t max_sp, start_sp;
  int32_t bomber, fighter;  // the same for both sides
  int32_t player_aa, enemy_aa;
  int32_t player_income;
  const char* map;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const StageRow& c, std::ostream* os) {
  *os << "stage_no " << c.stage_no;
}

const StageRow kStageRows[] = {
    {0, 50, 50, 900, 900, 900, 900, 1, "map001.fmf"},
    {1, 100, 50, 900, 900, 900, 900, 1, "map002.fmf"},
    {2, 100, 50, 900, 900, 900, 900, 1, "map003.fmf"},
    {3, 100, 100, 900, 900, 900, 900, 2, "map004.fmf"},
    {4, 100, 100, 900, 900, 900, 900, 1, "map005.fmf"},
    {5, 100, 100, 900, 900, 900, 900, 3, "map006.fmf"},
    {6, 100, 100, 900, 900, 900, 900, 1, "map007.fmf"},
    {7, 100, 100, 900, 900, 900, 900, 1, "map008.fmf"},
    {8, 100, 100, 900, 900, 900, 900, 2, "map009.fmf"},
    {9, 100, 100, 15, 30, 2, 1, 1, "map010.fmf"},
    {-1, 100, 100, 900, 900, 900, 900, 1, "map001.fmf"},
    {10, 100, 100, 900, 900, 900, 900, 1, "map001.fmf"},
    {INT_MAX, 100, 100, 900, 900, 900, 900, 1, "map001.fmf"},
    {INT_MIN, 100, 100, 900, 900, 900, 900, 1, "map001.fmf"},
};

class StageSetup : public InOwnFolder, public testing::WithParamInterface<StageRow> {};

TEST_P(StageSetup, WritesTheStagesRowLoadsItsMapAndFramesTheFirstTurn) {
  const StageRow& c = GetParam();
  Game& g = *g_;
  scene_title_load(g);
  g.flow.stage_no = c.stage_no;
  g.flow.turn_no = 4;
  // What the previous stage left behind must not matter.
  g.world.unit_specs[kPlayerHq].max_sp = 7;
  g.world.unit_specs[kPlayerHq + 7].cost = 3;
  g.view.view_x = 40;
  g.world.focus_slot = 17;
  host_.audio.clear();

  stage_setup(g);

  const TUnitSpec* s = g.world.unit_specs;
  EXPECT_EQ(s[kPlayerHq].max_sp, c.max_sp);
  EXPECT_EQ(s[kEnemyHq].max_sp, c.max_sp);
  EXPECT_EQ(g.world.player_start_sp, c.start_sp);
  EXPECT_EQ(g.world.enemy_start_sp, c.start_sp);
  EXPECT_EQ(s[10].cost, c.bomber);
  EXPECT_EQ(s[11].cost, c.fighter);
  EXPECT_EQ(s[21].cost, c.bomber);
  EXPECT_EQ(s[22].cost, c.fighter);
  EXPECT_EQ(s[8].cost, c.player_aa);
  EXPECT_EQ(s[19].cost, c.enemy_aa);
  EXPECT_EQ(g.flow.player_income, c.player_income);
  EXPECT_EQ(g.flow.enemy_income, 1);
  EXPECT_EQ(g.flow.turn_no, 5);
  EXPECT_EQ(g.flow.scene, 100);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"music 2"});
  EXPECT_TRUE(host_.boxes.empty()) << host_.boxes[0].text;

  // The units are those of the stage's own map file, with HQ supply capped by the row.
  auto direct = std::make_unique<Game>();
  init_tables(*direct);
  direct->world.player_start_sp = c.start_sp;
  direct->world.enemy_start_sp = c.start_sp;
  direct->world.unit_specs[kPlayerHq].max_sp = c.max_sp;
  direct->world.unit_specs[kEnemyHq].max_sp = c.max_sp;
  const std::string bytes = read_file(c.map);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(kMapFileBytes));
  load_map_image(*direct, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& a = g.world.player_units[slot];
    const TUnit& b = direct->world.player_units[slot];
    EXPECT_TRUE(a.type == b.type && a.x == b.x && a.y == b.y && a.sp == b.sp) << slot;
    const TUnit& e = g.world.enemy_units[slot];
    const TUnit& f = direct->world.enemy_units[slot];
    EXPECT_TRUE(e.type == f.type && e.x == f.x && e.y == f.y && e.sp == f.sp) << slot;
  }
  int hqs = 0;
  for (const TUnit& hq : g.world.player_units) {
    if (hq.type != kPlayerHq) continue;
    ++hqs;
    EXPECT_EQ(hq.sp, std::min(c.max_sp, c.start_sp));
    EXPECT_EQ(hq.ready, 1);
  }
  EXPECT_GE(hqs, 1);
  EXPECT_EQ(s[kPlayerHq].count, hqs) << "types are recounted";

  // The view is on the first unit of the roster, kept on the map.
  const TUnit& first = g.world.player_units[0];
  ASSERT_NE(first.type, 0);
  EXPECT_EQ(g.world.focus_slot, 0);
  EXPECT_EQ(g.view.view_x, std::clamp(first.x - 10, 0, 44));
  EXPECT_EQ(g.view.view_y, std::clamp(first.y - 8, 0, 49));
}

// The player opens every stage looking at home: the view the stage start centres on the first
// unit holds the player's HQ.
TEST_P(StageSetup, OpensWithThePlayersHqOnTheFirstScreen) {
  Game& g = *g_;
  scene_title_load(g);
  g.flow.stage_no = GetParam().stage_no;
  g.view.view_x = 40;
  g.view.view_y = 40;
  g.world.focus_slot = 17;

  stage_setup(g);

  int hqs = 0;
  for (const TUnit& hq : g.world.player_units) {
    if (hq.type != kPlayerHq) continue;
    ++hqs;
    EXPECT_TRUE(hq.x >= g.view.view_x && hq.x < g.view.view_x + kViewColumns &&
                hq.y >= g.view.view_y && hq.y < g.view.view_y + kViewRows)
        << "HQ at " << hq.x << "," << hq.y << ", view from " << g.view.view_x << ","
        << g.view.view_y;
  }
  EXPECT_GE(hqs, 1);
}

INSTANTIATE_TEST_SUITE_P(Stages, StageSetup, testing::ValuesIn(kStageRows),
                         [](const testing::TestParamInfo<StageRow>& info) {
                           const int32_t n = info.param.stage_no;
                           if (n == INT_MAX) return std::string("IntMax");
                           if (n == INT_MIN) return std::string("IntMin");
                           return (n < 0 ? "Minus" : "") + std::to_string(n < 0 ? -n : n);
                         });

TEST(SetAirPrices, AntiAircraftOnlyWhereTheOtherSideFlies) {
  const struct {
    int32_t a, b, c, d;
    int32_t player_aa, enemy_aa;
  } cases[] = {
      {900, 900, 900, 900, 900, 900}, {15, 30, 15, 30, 2, 1},      {900, 900, 15, 30, 2, 900},
      {15, 30, 900, 900, 900, 1},     {900, 40, 900, 900, 900, 1}, {900, 900, 900, 899, 2, 900},
  };
  for (const auto& c : cases) {
    auto g = std::make_unique<Game>();
    form_create(*g, 1);
    set_air_prices(*g, c.a, c.b, c.c, c.d);
    const TUnitSpec* s = g->world.unit_specs;
    EXPECT_EQ(s[10].cost, c.a);
    EXPECT_EQ(s[11].cost, c.b);
    EXPECT_EQ(s[21].cost, c.c);
    EXPECT_EQ(s[22].cost, c.d);
    EXPECT_EQ(s[8].cost, c.player_aa) << c.a << " " << c.b << " " << c.c << " " << c.d;
    EXPECT_EQ(s[19].cost, c.enemy_aa) << c.a << " " << c.b << " " << c.c << " " << c.d;
    EXPECT_EQ(s[20].cost, 5) << "other rows keep their price";
  }
}

TEST(SetAirPrices, UsesThePricesRememberedAtStartUpNotTheCurrentOnes) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  g->world.unit_specs[5].cost = 77;
  g->world.unit_specs[13].cost = 66;
  set_air_prices(*g, 15, 30, 15, 30);
  EXPECT_EQ(g->world.unit_specs[8].cost, 2);
  EXPECT_EQ(g->world.unit_specs[19].cost, 1);
}

struct AdvanceCase {
  const char* name;
  int32_t stage_no, max_stage;
  int32_t want_stage, want_max;
  int scene;
  const char* music;
  const char* picture;
};

void PrintTo(const AdvanceCase& c, std::ostream* os) {
  *os << c.name;
}

class AdvanceStage : public InOwnFolder, public testing::WithParamInterface<AdvanceCase> {};

TEST_P(AdvanceStage, NextStageOrTheEnding) {
  const AdvanceCase& c = GetParam();
  Game& g = *g_;
  scene_title_load(g);
  host_.audio.clear();
  g.flow.stage_no = c.stage_no;
  g.flow.max_stage = c.max_stage;
  g.flow.scene = 374;
  g.flow.wait_ticks = 0;
  scene_victory_pause(g);
  EXPECT_EQ(g.flow.stage_no, c.want_stage);
  EXPECT_EQ(g.flow.max_stage, c.want_max);
  EXPECT_EQ(g.flow.scene, c.scene);
  EXPECT_EQ(host_.audio, std::vector<std::string>{c.music});
  Picture picture;
  ASSERT_TRUE(load_picture(picture, c.picture));
  EXPECT_EQ(read_pixel(g.form.img_main, 320, 240), read_pixel(picture, 320, 240));
  EXPECT_EQ(read_pixel(g.form.img_main, 600, 20), read_pixel(picture, 600, 20));
  free_picture(picture);
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT")) << "nothing is saved by itself";
}

INSTANTIATE_TEST_SUITE_P(
    Wins, AdvanceStage,
    testing::Values(AdvanceCase{"FirstWin", 0, 0, 1, 1, 11, "music 4", "BG1.bmp"},
                    AdvanceCase{"ReplayKeepsMax", 4, 6, 5, 6, 11, "music 4", "BG1.bmp"},
                    AdvanceCase{"ReachesMax", 5, 5, 6, 6, 11, "music 4", "BG1.bmp"},
                    AdvanceCase{"Penultimate", 8, 8, 9, 9, 11, "music 4", "BG1.bmp"},
                    AdvanceCase{"LastStage", 9, 9, 9, 9, 375, "music 5", "BG2.bmp"},
                    AdvanceCase{"LastStageKeepsALowMax", 9, 3, 9, 3, 375, "music 5", "BG2.bmp"},
                    AdvanceCase{"BeyondTheLast", 12, 2, 9, 2, 375, "music 5", "BG2.bmp"},
                    AdvanceCase{"TopOfTheRange", INT_MAX, 0, 9, 0, 375, "music 5", "BG2.bmp"},
                    AdvanceCase{"Negative", -5, 0, -4, 0, 11, "music 4", "BG1.bmp"}),
    [](const testing::TestParamInfo<AdvanceCase>& info) { return info.param.name; });

TEST_F(InOwnFolder, VictoryPauseLastsSixtyOnePassesThenAdvances) {
  scene_title_load(*g_);
  g_->flow.scene = 374;
  g_->flow.wait_ticks = 60;
  input(0, 0, false);
  passes(60);
  EXPECT_EQ(g_->flow.scene, 374);
  EXPECT_EQ(g_->flow.stage_no, 0);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 11);
  EXPECT_EQ(g_->flow.stage_no, 1);
}

TEST_F(InOwnFolder, EndingWaitsForTheLeftButtonThenTheIntermissionWithTheLastStage) {
  Game& g = *g_;
  scene_title_load(g);
  g.flow.stage_no = 9;
  g.flow.max_stage = 9;
  g.flow.scene = 374;
  input(300, 300, false, true);
  passes(5);
  EXPECT_EQ(g.flow.scene, 375);
  EXPECT_EQ(g.flow.stage_no, 9);
  host_.audio.clear();
  passes(3);  // the right button does nothing here
  EXPECT_EQ(g.flow.scene, 375);
  EXPECT_TRUE(host_.audio.empty());

  input(300, 300, true);
  passes(1);
  EXPECT_EQ(g.flow.scene, 11);
  EXPECT_EQ(g.flow.stage_no, 9);
  EXPECT_EQ(g.flow.max_stage, 9);
  EXPECT_EQ((std::vector<std::string>{"sound 1", "music 4"}), host_.audio);
  Picture bg1;
  ASSERT_TRUE(load_picture(bg1, "BG1.bmp"));
  EXPECT_EQ(read_pixel(g.form.img_main, 20, 460), read_pixel(bg1, 20, 460));
  free_picture(bg1);
}

// Saving.

int failing_rename(const char*, const char*) {
  errno = EXDEV;
  return -1;
}

TEST_F(InOwnFolder, ProgressFileHoldsExactlyTheTwoNumbers) {
  std::string error;
  const struct {
    int32_t stage_no, max_stage;
    const char* text;
  } cases[] = {{1, 1, "1,1"},
               {0, 0, "0,0"},
               {9, 3, "9,3"},
               {-3, 12, "-3,12"},
               {INT_MAX, INT_MIN, "2147483647,-2147483648"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(write_progress_file("SAVE.TXT", c.stage_no, c.max_stage, std::rename, &error))
        << error;
    EXPECT_EQ(save_text(), c.text);
  }
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();
  }
}

TEST_F(InOwnFolder, AFailedReplaceKeepsTheOldSaveWhole) {
  write_file(dir_ / "SAVE.TXT", "4,6");
  std::string error;
  EXPECT_FALSE(write_progress_file("SAVE.TXT", 1, 7, failing_rename, &error));
  EXPECT_EQ(save_text(), "4,6");
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT.tmp"));
  EXPECT_NE(error.find("SAVE.TXT"), std::string::npos) << error;

  // Without an old save there is still none afterwards, rather than an empty one.
  fs::remove(dir_ / "SAVE.TXT");
  EXPECT_FALSE(write_progress_file("SAVE.TXT", 1, 7, failing_rename, &error));
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT"));
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT.tmp"));
}

TEST_F(InOwnFolder, ProgressFileInAMissingFolderFails) {
  std::string error;
  EXPECT_FALSE(write_progress_file("no/such/folder/SAVE.TXT", 1, 1, std::rename, &error));
  EXPECT_NE(error.find("no/such/folder"), std::string::npos) << error;
}

TEST_F(InOwnFolder, SaveProgressWritesTheCurrentNumbers) {
  g_->flow.stage_no = 1;
  g_->flow.max_stage = 1;
  EXPECT_TRUE(save_progress(*g_));
  EXPECT_EQ(save_text(), "1,1");
  EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(InOwnFolder, ASaveThatCannotBeWrittenIsReportedNotNoticed) {
  // A folder in the way of SAVE.TXT: nothing can replace it, whoever runs the test.
  fs::create_directory(dir_ / "SAVE.TXT");
  write_file(dir_ / "SAVE.TXT" / "keep", "x");
  Game& g = *g_;
  scene_title_load(g);
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  g.flow.scene = 11;
  g.flow.stage_no = 2;
  input(500, 120, true);  // "セーブ"
  host_.audio.clear();
  scene_intermission(g);
  EXPECT_EQ(g.flow.scene, 12);
  EXPECT_EQ(g.flow.wait_ticks, 60);
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].text.rfind(kSaveFailedText, 0), 0u) << host_.boxes[0].text;
  EXPECT_EQ(host_.boxes[0].caption, kSaveCaption);
  EXPECT_TRUE(fs::is_directory(dir_ / "SAVE.TXT"));
  EXPECT_EQ(read_file(dir_ / "SAVE.TXT" / "keep"), "x");
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT.tmp"));
  // No "saved" notice: where it would stand, the intermission picture.
  Picture bg1;
  ASSERT_TRUE(load_picture(bg1, "BG1.bmp"));
  EXPECT_EQ(read_pixel(g.form.img_main, 40, 40), read_pixel(bg1, 40, 40));
  EXPECT_EQ(read_pixel(g.form.img_main, 280, 90), read_pixel(bg1, 280, 90));
  free_picture(bg1);
}

TEST_F(InOwnFolder, IntermissionSaveShowsTheNoticeThroughTheWholePause) {
  Game& g = *g_;
  scene_title_load(g);
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  g.flow.scene = 11;
  g.flow.stage_no = 1;
  g.flow.max_stage = 1;
  input(500, 120, true);
  host_.audio.clear();
  passes(1);
  EXPECT_EQ(save_text(), "1,1");
  EXPECT_EQ(g.flow.scene, 12);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 1"});
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(read_pixel(g.form.img_main, 32, 32), read_pixel(g.form.img_window, 0, 0))
      << "the notice's frame";
  input(100, 100, false);
  passes(59);
  EXPECT_EQ(g.flow.scene, 12);
  EXPECT_EQ(read_pixel(g.form.img_main, 32, 32), read_pixel(g.form.img_window, 0, 0));
  passes(1);
  EXPECT_EQ(g.flow.scene, 11) << "61 passes in all";
  Picture bg1;
  ASSERT_TRUE(load_picture(bg1, "BG1.bmp"));
  EXPECT_EQ(read_pixel(g.form.img_main, 32, 32), read_pixel(bg1, 32, 32));
  free_picture(bg1);
}

// Loading.

TEST(ParseProgress, ReadsLikePercentDCommaPercentD) {
  const struct {
    const char* text;
    int count;
    int32_t stage_no, max_stage;  // from 3, 5
  } cases[] = {
      {"1,1", 2, 1, 1},
      {"4,6", 2, 4, 6},
      {"7", 1, 7, 5},
      {"7,", 1, 7, 5},
      {"7,x", 1, 7, 5},
      {"7 ,8", 1, 7, 5},
      {"7, 8", 2, 7, 8},
      {"  \n 2,3", 2, 2, 3},
      {"+2,-3", 2, 2, -3},
      {"-0,+0", 2, 0, 0},
      {"12,-2", 2, 12, -2},
      {"2,3\n", 2, 2, 3},
      {"2,3,4", 2, 2, 3},
      {"2.5,3", 1, 2, 5},
      {"", 0, 3, 5},
      {"x,1", 0, 3, 5},
      {"-", 0, 3, 5},
      {"+,1", 0, 3, 5},
      {",1", 0, 3, 5},
      {"99999999999,1", 2, INT_MAX, 1},
      {"-99999999999999999999999,2147483648", 2, INT_MIN, INT_MAX},
      {"2147483647,-2147483648", 2, INT_MAX, INT_MIN},
      {"0000000000000000000000042,1", 2, 42, 1},
  };
  for (const auto& c : cases) {
    int32_t stage_no = 3;
    int32_t max_stage = 5;
    EXPECT_EQ(parse_progress(c.text, &stage_no, &max_stage), c.count) << '"' << c.text << '"';
    EXPECT_EQ(stage_no, c.stage_no) << '"' << c.text << '"';
    EXPECT_EQ(max_stage, c.max_stage) << '"' << c.text << '"';
  }
}

struct LoadCase {
  const char* name;
  const char* file;  // nullptr: no save file
  bool ok;
  int32_t stage_no, max_stage;  // from 3, 5
};

void PrintTo(const LoadCase& c, std::ostream* os) {
  *os << c.name;
}

class LoadProgress : public InOwnFolder, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadProgress, TakesWhatTheFileSaysOrKeepsTheNumbersAndTells) {
  const LoadCase& c = GetParam();
  if (c.file != nullptr) write_file(dir_ / "SAVE.TXT", c.file);
  g_->flow.stage_no = 3;
  g_->flow.max_stage = 5;
  EXPECT_EQ(load_progress(*g_), c.ok);
  EXPECT_EQ(g_->flow.stage_no, c.stage_no);
  EXPECT_EQ(g_->flow.max_stage, c.max_stage);
  ASSERT_EQ(host_.boxes.size(), c.ok ? 0u : 1u);
  if (!c.ok) {
    EXPECT_EQ(host_.boxes[0].text.rfind(kLoadFailedText, 0), 0u) << host_.boxes[0].text;
    EXPECT_NE(host_.boxes[0].text.find("SAVE.TXT"), std::string::npos) << host_.boxes[0].text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadProgress,
    testing::Values(LoadCase{"BothNumbers", "1,1", true, 1, 1},
                    LoadCase{"OneNumberSetsOnlyTheStage", "8", true, 8, 5},
                    LoadCase{"OutOfRangeTakenAsTheyAre", "12,-2", true, 12, -2},
                    LoadCase{"NotANumber", "hello", false, 3, 5},
                    LoadCase{"Empty", "", false, 3, 5}, LoadCase{"Missing", nullptr, false, 3, 5}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST_F(InOwnFolder, AnUnreadableSaveIsToldAndTheNumbersKept) {
  fs::create_directory(dir_ / "SAVE.TXT");  // opens, but reading fails
  g_->flow.stage_no = 3;
  g_->flow.max_stage = 5;
  EXPECT_FALSE(load_progress(*g_));
  EXPECT_EQ(g_->flow.stage_no, 3);
  EXPECT_EQ(g_->flow.max_stage, 5);
  EXPECT_EQ(host_.boxes.size(), 1u);
}

}  // namespace
