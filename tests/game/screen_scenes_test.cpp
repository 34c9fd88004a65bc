// The screens between stages played pass by pass: title, intermission, stage select, stage start.
#include <gtest/gtest.h>

#include <climits>

#include "campaign_fixture.h"
#include "game/campaign.h"
#include "game/scenes.h"
#include "ui/screens.h"

using namespace campaign_test;

namespace {

// Pointer positions of the rows of the three menus.
constexpr Point kStart{300, 340};
constexpr Point kContinue{300, 370};
constexpr Point kSaveRow{500, 120};
constexpr Point kReplayRow{500, 150};
// "出撃" and the stage rows are clicked where their rows lie in the map's scroll frame, so the
// map that opens in the same pass under the held button never opens a unit's menu.
constexpr Point kSortieRow{630, 185};
Point stage_row(int k) {
  return Point{20, 32 * k - 16};
}

class Screens : public InOwnFolder {
 protected:
  void click(Point p, int hold = 1) {
    input(p.x, p.y, true);
    passes(hold);
    input(p.x, p.y, false);
    passes(1);
  }
  void right_click(Point p) {
    input(p.x, p.y, false, true);
    passes(1);
    input(p.x, p.y, false, false);
    passes(1);
  }
  // From the title into the intermission, by "Start" or "Continue".
  void to_intermission(Point row) {
    input(0, 0, false);
    passes(1);
    ASSERT_EQ(g_->flow.scene, 10);
    click(row);
    ASSERT_EQ(g_->flow.scene, 11);
  }
  std::string caption() const { return host_.captions.empty() ? "" : host_.captions.back(); }
};

TEST_F(Screens, FreshStartPlaysStageOneWithItsLowCeiling) {
  write_file(dir_ / "SAVE.TXT", "6,8");
  to_intermission(kStart);
  EXPECT_EQ(g_->flow.stage_no, 0);
  EXPECT_EQ(g_->flow.max_stage, 0);
  EXPECT_EQ(save_text(), "6,8") << "Start does not touch the save";
  host_.audio.clear();
  input(kSortieRow.x, kSortieRow.y, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 100) << "the stage starts in the pass of the click";
  EXPECT_EQ(host_.audio, (std::vector<std::string>{"sound 1", "music 2"}));
  EXPECT_EQ(g_->world.unit_specs[kPlayerHq].max_sp, 50);
  int hqs = 0;
  for (const TUnit& hq : g_->world.player_units) {
    if (hq.type != kPlayerHq) continue;
    ++hqs;
    EXPECT_EQ(hq.sp, 50);
  }
  EXPECT_GE(hqs, 1);
  EXPECT_EQ(g_->flow.turn_no, 1);
  input(kSortieRow.x, kSortieRow.y, false);
  passes(1);
  EXPECT_EQ(caption(), "ネヴァルト Stage 1");
  EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(Screens, ContinueReadsTheSaveAndTheCaptionFollows) {
  const struct {
    const char* file;
    int32_t stage_no, max_stage;
    const char* caption;
    size_t boxes;
  } cases[] = {
      {"4,6", 4, 6, "ネヴァルト Stage 5", 0},
      {"7", 7, 0, "ネヴァルト Stage 8", 0},  // max_stage as it was: 0 at start-up
      {"12,-2", 12, -2, "ネヴァルト Stage 13", 0},
      {"2147483647,3", INT_MAX, 3, "ネヴァルト Stage 2147483648", 0},
      {nullptr, 0, 0, "ネヴァルト Stage 1", 1},
      {"garbage", 0, 0, "ネヴァルト Stage 1", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "(no file)");
    fs::remove(dir_ / "SAVE.TXT");
    if (c.file != nullptr) write_file(dir_ / "SAVE.TXT", c.file);
    g_->flow = FlowState{};
    g_->flow.player_aa_price = 2;
    g_->flow.enemy_aa_price = 1;
    host_.boxes.clear();
    host_.audio.clear();
    to_intermission(kContinue);
    EXPECT_EQ(g_->flow.stage_no, c.stage_no);
    EXPECT_EQ(g_->flow.max_stage, c.max_stage);
    EXPECT_EQ(caption(), c.caption);
    EXPECT_EQ(host_.boxes.size(), c.boxes);
    EXPECT_EQ(host_.audio, (std::vector<std::string>{"music 1", "sound 1", "music 4"}));
  }
}

TEST_F(Screens, AStageOutsideTheCampaignPlaysTheFirstMapWithTheSharedRow) {
  write_file(dir_ / "SAVE.TXT", "12,-2");
  to_intermission(kContinue);
  click(kSortieRow);
  EXPECT_EQ(g_->flow.scene, 100);
  EXPECT_EQ(caption(), "ネヴァルト Stage 13");
  EXPECT_EQ(g_->world.unit_specs[kPlayerHq].max_sp, 100);
  EXPECT_EQ(g_->world.player_start_sp, 100);

  auto first = std::make_unique<Game>();
  form_create(*first, 1);
  first->flow.stage_no = 0;
  stage_setup(*first);
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    EXPECT_EQ(g_->world.player_units[slot].x, first->world.player_units[slot].x) << slot;
    EXPECT_EQ(g_->world.enemy_units[slot].type, first->world.enemy_units[slot].type) << slot;
  }
}

TEST_F(Screens, StageSelectAcceptsOnlyTheClearedStages) {
  const struct {
    int32_t max_stage;
    int row;
    bool accepted;
  } cases[] = {{3, 1, true}, {3, 3, true},  {3, 4, false},  {3, 5, false},  {0, 1, false},
               {1, 1, true}, {1, 2, false}, {10, 10, true}, {12, 10, true}, {-2, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE("max " + std::to_string(c.max_stage) + " row " + std::to_string(c.row));
    g_->flow = FlowState{};
    g_->flow.player_aa_price = 2;
    g_->flow.enemy_aa_price = 1;
    to_intermission(kStart);
    g_->flow.max_stage = c.max_stage;
    g_->flow.stage_no = 6;
    click(kReplayRow);
    ASSERT_EQ(g_->flow.scene, 13);
    host_.audio.clear();
    click(stage_row(c.row));
    if (c.accepted) {
      EXPECT_EQ(g_->flow.scene, 100);
      EXPECT_EQ(g_->flow.stage_no, c.row - 1);
      EXPECT_EQ(host_.audio, (std::vector<std::string>{"sound 1", "music 2"}));
    } else {
      EXPECT_EQ(g_->flow.scene, 13);
      EXPECT_EQ(g_->flow.stage_no, 6);
      EXPECT_TRUE(host_.audio.empty());
    }
  }
}

TEST_F(Screens, StageSelectRightButtonGoesBackAndErasesTheList) {
  to_intermission(kStart);
  click(kReplayRow);
  ASSERT_EQ(g_->flow.scene, 13);
  host_.audio.clear();
  right_click(Point{100, 50});
  EXPECT_EQ(g_->flow.scene, 11);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 2"});
  Picture bg1;
  ASSERT_TRUE(load_picture(bg1, "BG1.bmp"));
  EXPECT_EQ(read_pixel(g_->form.img_main, 10, 10), read_pixel(bg1, 10, 10));
  EXPECT_EQ(read_pixel(g_->form.img_main, 100, 300), read_pixel(bg1, 100, 300));
  free_picture(bg1);
}

TEST_F(Screens, BothButtonsOnAStageRowPickItButTheRightButtonDecidesTheScene) {
  to_intermission(kStart);
  g_->flow.max_stage = 3;
  click(kReplayRow);
  host_.audio.clear();
  const Point row = stage_row(2);
  input(row.x, row.y, true, true);
  passes(1);
  EXPECT_EQ(g_->flow.stage_no, 1);
  EXPECT_EQ(g_->flow.scene, 11);
  EXPECT_EQ(host_.audio, (std::vector<std::string>{"sound 1", "sound 2"}));
}

TEST_F(Screens, SaveAfterTheFirstWinWritesOneOne) {
  to_intermission(kStart);
  click(kSortieRow);
  ASSERT_EQ(g_->flow.scene, 100);
  g_->flow.scene = 374;
  g_->flow.wait_ticks = 0;
  input(0, 0, false);
  passes(1);
  ASSERT_EQ(g_->flow.scene, 11);
  EXPECT_EQ(g_->flow.stage_no, 1);
  EXPECT_EQ(g_->flow.max_stage, 1);
  click(kSaveRow);
  EXPECT_EQ(save_text(), "1,1");
  EXPECT_EQ(g_->flow.scene, 12);
}

TEST_F(Screens, IntermissionRowsNeedTheLeftButtonOnTheirBand) {
  to_intermission(kStart);
  host_.audio.clear();
  for (Point p : {Point{500, 132}, Point{383, 150}, Point{500, 196}, Point{200, 120}}) {
    input(p.x, p.y, true);
    passes(1);
    EXPECT_EQ(g_->flow.scene, 11) << p.x << ", " << p.y;
  }
  input(kSortieRow.x, kSortieRow.y, false, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 11) << "the right button does nothing here";
  EXPECT_TRUE(host_.audio.empty());
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT"));
}

}  // namespace
