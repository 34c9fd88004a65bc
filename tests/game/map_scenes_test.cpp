// The map of stage 1 and its menu, played pass by pass.
#include <gtest/gtest.h>

#include <optional>

#include "campaign_fixture.h"
#include "game/scenes.h"
#include "game/turn_cycle.h"
#include "view/map_view.h"
#include "world/roster_queries.h"

using namespace campaign_test;

namespace {

// Rows of the map menu.
constexpr Point kUnitListRow{500, 116};
constexpr Point kTurnEndRow{500, 148};
constexpr Point kSaveRow{500, 180};
constexpr Point kVictoryRow{500, 212};
constexpr Point kNextUnitRow{500, 244};

class MapScenes : public InOwnFolder {
 protected:
  void SetUp() override {
    InOwnFolder::SetUp();
    scene_title_load(*g_);
    g_->flow.stage_no = 0;
    g_->flow.scene = 20;
    input(0, 0, false);
    passes(1);
    ASSERT_EQ(g_->flow.scene, 100);
    host_.audio.clear();
  }

  const TUnit& player(int slot) const { return g_->world.player_units[slot]; }

  // The middle of the unit's cell on the screen.
  Point on(const TUnit& unit) const {
    return Point{32 * (unit.x - g_->view.view_x) + 16, 32 * (unit.y - g_->view.view_y) + 16};
  }

  // The picture holds the outer quarter of the skin's top-left corner piece, which no text,
  // portrait or highlight of a window reaches.
  bool frame_corner_at(int x, int y) const {
    for (int v = 0; v < 16; ++v) {
      for (int u = 0; u < 16; ++u) {
        if (!(read_pixel(g_->form.img_main, x + u, y + v) == read_pixel(g_->form.img_window, u, v)))
          return false;
      }
    }
    return true;
  }

  // The first slot of the player's roster holding the type.
  int slot_of(int type) const {
    for (int s = 0; s < kRosterSlots; ++s) {
      if (player(s).type == type) return s;
    }
    return -1;
  }

  // Centres the view on the unit as the game does; every cell of the map then lies inside the
  // map area, away from the scroll frame.
  void centre_on(const TUnit& unit) {
    g_->view.view_x = std::clamp(unit.x - 10, 0, 44);
    g_->view.view_y = std::clamp(unit.y - 8, 0, 49);
  }

  // A cell inside the map area of the view with no unit on it, seen or not by the player, and
  // not `besides`; none when the view has no such cell.
  std::optional<Point> free_cell(bool seen, Point besides = Point{-1, -1}) const {
    for (int r = 1; r <= 13; ++r) {
      for (int c = 1; c <= 18; ++c) {
        const int x = g_->view.view_x + c;
        const int y = g_->view.view_y + r;
        if (g_->world.occupancy[x][y] != kNoUnit) continue;
        if ((g_->world.vision[kSidePlayer][x][y] == 1) != seen) continue;
        if (x == besides.x && y == besides.y) continue;
        return Point{x, y};
      }
    }
    return std::nullopt;
  }

  void open_menu() {
    input(320, 240, false, true);
    passes(1);
    input(320, 240, false, false);
    passes(1);
    ASSERT_EQ(g_->flow.scene, 390);
    host_.audio.clear();
  }
};

TEST_F(MapScenes, StageOneStartsWithTheViewOnTheFirstUnitAndEveryUnitReady) {
  EXPECT_EQ(g_->flow.turn_no, 1);
  EXPECT_EQ(g_->view.view_x, std::clamp(player(0).x - 10, 0, 44));
  EXPECT_EQ(g_->view.view_y, std::clamp(player(0).y - 8, 0, 49));
  for (const TUnit& u : g_->world.player_units) {
    EXPECT_EQ(u.ready, u.type != 0 ? 1 : 0);
  }
}

TEST_F(MapScenes, UnitPanelOnlyOverASeenUnitAndAwayFromThePointer) {
  // One enemy beside the first unit, where it is seen, and one off in the fog if the view has
  // fog to hide it in.
  const std::optional<Point> beside = [&]() -> std::optional<Point> {
    for (Point o : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}}) {
      const int x = player(0).x + o.x, y = player(0).y + o.y;
      if (g_->world.occupancy[x][y] == kNoUnit) return Point{x, y};
    }
    return std::nullopt;
  }();
  ASSERT_TRUE(beside.has_value());
  TUnit& seen_enemy = g_->world.enemy_units[0];
  seen_enemy.x = beside->x;
  seen_enemy.y = beside->y;
  const std::optional<Point> fog = free_cell(false);
  TUnit& fogged_enemy = g_->world.enemy_units[1];
  if (fog) {
    fogged_enemy.x = fog->x;
    fogged_enemy.y = fog->y;
  }
  input(0, 0, false);
  passes(1);
  ASSERT_EQ(g_->world.vision[kSidePlayer][seen_enemy.x][seen_enemy.y], 1);
  const std::optional<Point> empty = free_cell(true);
  ASSERT_TRUE(empty.has_value());

  const Point unit = on(player(0));
  const struct {
    const char* name;
    std::optional<Point> at;
    int mouse_y;  // where the last mouse move was seen
    int top;      // -1: no panel
  } cases[] = {
      {"OwnUnitPointerLow", unit, 300, 0},
      {"OwnUnitPointerHigh", unit, 100, 384},
      {"SeenEnemy", on(seen_enemy), 300, 0},
      {"EnemyInFog", fog ? std::optional<Point>(on(fogged_enemy)) : std::nullopt, 300, -1},
      {"EmptyCell", on(TUnit{0, empty->x, empty->y, 0, 0, 0, 0, 0, 0}), 300, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.at) continue;
    input(c.at->x, c.at->y, false);
    g_->input.mouse_y = c.mouse_y;
    passes(1);
    EXPECT_EQ(g_->flow.scene, 100);
    EXPECT_EQ(frame_corner_at(0, 0), c.top == 0);
    EXPECT_EQ(frame_corner_at(0, 384), c.top == 384);
  }
}

TEST_F(MapScenes, LeftButtonOnAReadyUnitOpensItsMenu) {
  const int hq = slot_of(kPlayerHq);
  ASSERT_GE(hq, 0);
  const struct {
    const char* name;
    int slot;
    bool ready;
    int scene;
  } cases[] = {
      {"Unit", 0, true, 300},
      {"Hq", hq, true, 110},
      {"ActedUnit", 0, false, 100},
      {"ActedHq", hq, false, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_->flow.scene = 100;
    g_->world.player_units[c.slot].ready = c.ready;
    host_.audio.clear();
    centre_on(player(c.slot));
    const Point at = on(player(c.slot));
    input(at.x, at.y, true);
    g_->flow.anim_scroll = 1;  // the next pass does not scroll
    passes(1);
    EXPECT_EQ(g_->flow.scene, c.scene);
    EXPECT_EQ(host_.audio,
              c.scene == 100 ? std::vector<std::string>{} : std::vector<std::string>{"sound 1"});
    g_->world.player_units[c.slot].ready = 1;
  }
}

TEST_F(MapScenes, LeftButtonOnAnEnemyOrAnEmptyCellDoesNothing) {
  const std::optional<Point> empty = free_cell(true);
  ASSERT_TRUE(empty.has_value());
  TUnit& enemy = g_->world.enemy_units[0];
  enemy.x = empty->x;
  enemy.y = empty->y;
  enemy.ready = 1;
  input(0, 0, false);
  passes(1);
  const std::optional<Point> other = free_cell(true, *empty);
  ASSERT_TRUE(other.has_value());
  for (Point cell : {*empty, *other}) {
    const Point at = on(TUnit{0, cell.x, cell.y, 0, 0, 0, 0, 0, 0});
    input(at.x, at.y, true);
    g_->flow.anim_scroll = 1;
    passes(1);
    EXPECT_EQ(g_->flow.scene, 100);
    EXPECT_EQ(g_->world.selected_slot, cell.x == empty->x && cell.y == empty->y ? 0 : -1);
  }
  EXPECT_TRUE(host_.audio.empty());
}

TEST_F(MapScenes, RightButtonOpensTheMenuWithTheConfirmSoundOnlyInsideTheFrame) {
  for (Point at : {Point{32, 200}, Point{608, 200}, Point{300, 10}, Point{300, 470}}) {
    input(at.x, at.y, false, true);
    passes(1);
    EXPECT_EQ(g_->flow.scene, 100) << at.x << ", " << at.y;
  }
  EXPECT_TRUE(host_.audio.empty());

  input(33, 447, false, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 380);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 1"});
  passes(5);
  EXPECT_EQ(g_->flow.scene, 380) << "waits for the right button to be released";
  input(33, 447, false, false);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 390);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 1"});
  // The menu stands at its place wherever the pointer was.
  EXPECT_TRUE(frame_corner_at(384, 100));
}

TEST_F(MapScenes, HoldingTheLeftButtonInTheFrameScrollsEveryThirdPass) {
  const int x0 = g_->view.view_x;
  const int y0 = g_->view.view_y;
  input(620, 240, true);
  passes(9);
  EXPECT_EQ(g_->view.view_x, std::min(x0 + 3, 44));
  EXPECT_EQ(g_->view.view_y, y0);
  input(320, 5, true);
  passes(3);
  EXPECT_EQ(g_->view.view_y, std::max(y0 - 1, 0));
  EXPECT_EQ(g_->flow.scene, 100);
}

TEST_F(MapScenes, MenuRightButtonCancelsWithSoundTwo) {
  open_menu();
  input(100, 100, false, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 400);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 2"});
  passes(3);
  EXPECT_EQ(g_->flow.scene, 400);
  input(100, 100, false, false);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 100);
}

TEST_F(MapScenes, TurnEndMarksEveryUnitActedAndHandsOver) {
  open_menu();
  input(kTurnEndRow.x, kTurnEndRow.y, true);
  scene_map_menu(*g_);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 1"});
  for (const TUnit& u : g_->world.player_units) EXPECT_EQ(u.ready, 0);
  EXPECT_EQ(g_->flow.scene, 5000);
  EXPECT_EQ(g_->flow.wait_ticks, 30);
}

TEST_F(MapScenes, MenuSaveWritesTheNumbersAndReturnsAfterThePause) {
  g_->flow.max_stage = 2;
  open_menu();
  input(kSaveRow.x, kSaveRow.y, true);
  passes(1);
  EXPECT_EQ(save_text(), "0,2");
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT.tmp"));
  EXPECT_EQ(g_->flow.scene, 391);
  EXPECT_TRUE(frame_corner_at(32, 32)) << "the save notice";
  input(kSaveRow.x, kSaveRow.y, false);
  passes(59);
  EXPECT_EQ(g_->flow.scene, 391);
  EXPECT_TRUE(frame_corner_at(32, 32)) << "nothing redraws during the pause";
  passes(1);
  EXPECT_EQ(g_->flow.scene, 100);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 1"});
}

TEST_F(MapScenes, VictoryConditionStaysUntilTheRightButton) {
  open_menu();
  input(kVictoryRow.x, kVictoryRow.y, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 420);
  EXPECT_TRUE(frame_corner_at(0, 100));
  input(kVictoryRow.x, kVictoryRow.y, false);
  passes(10);
  EXPECT_EQ(g_->flow.scene, 420);
  EXPECT_TRUE(frame_corner_at(0, 100));
  input(300, 300, false, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 400);
  EXPECT_EQ(host_.audio, (std::vector<std::string>{"sound 1", "sound 2"}));
}

TEST_F(MapScenes, NextUnitMovesTheViewToTheFollowingUnit) {
  open_menu();
  input(kNextUnitRow.x, kNextUnitRow.y, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 100);
  EXPECT_EQ(g_->world.focus_slot, 1);
  EXPECT_EQ(g_->view.view_x, std::clamp(player(1).x - 10, 0, 44));
  EXPECT_EQ(g_->view.view_y, std::clamp(player(1).y - 8, 0, 49));
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 1"});
}

TEST_F(MapScenes, UnitListRowMovesTheViewSilentlyEmptyRowsDoNothing) {
  open_menu();
  input(kUnitListRow.x, 400, true);  // off the menu's rows
  passes(1);
  EXPECT_EQ(g_->flow.scene, 390);
  input(kUnitListRow.x, kUnitListRow.y, true);
  passes(1);
  // The list opens in the same pass, under the held button: the right column's row 1 is
  // slot 21, empty in this stage, so nothing is chosen.
  ASSERT_EQ(player(21).type, 0);
  EXPECT_EQ(g_->flow.scene, 410);
  EXPECT_EQ(g_->ui.hover_item, 22);
  input(kUnitListRow.x, kUnitListRow.y, false);
  passes(1);
  host_.audio.clear();

  // Slot 2, row 2 of the left column.
  g_->view.view_x = 30;
  g_->view.view_y = 0;
  input(100, 125, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 100);
  EXPECT_EQ(g_->view.view_x, std::clamp(player(2).x - 10, 0, 44));
  EXPECT_EQ(g_->view.view_y, std::clamp(player(2).y - 8, 0, 49));
  EXPECT_TRUE(host_.audio.empty());
}

TEST_F(MapScenes, UnitListRightButtonCancels) {
  open_menu();
  input(kUnitListRow.x, kUnitListRow.y, true);
  passes(1);
  input(200, 470, false);
  passes(1);
  ASSERT_EQ(g_->flow.scene, 410);
  EXPECT_TRUE(frame_corner_at(0, 0)) << "status panel";
  EXPECT_TRUE(frame_corner_at(0, 64)) << "unit list";
  host_.audio.clear();
  input(200, 470, false, true);
  passes(1);
  EXPECT_EQ(g_->flow.scene, 400);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"sound 2"});
}

TEST_F(MapScenes, BothButtonsOnAMenuRowDoItThenTheRightButtonLeaves) {
  g_->flow.max_stage = 4;
  open_menu();
  input(kSaveRow.x, kSaveRow.y, true, true);
  passes(1);
  EXPECT_EQ(save_text(), "0,4");
  EXPECT_EQ(g_->flow.scene, 400);
  EXPECT_EQ(host_.audio, (std::vector<std::string>{"sound 1", "sound 2"}));
}

TEST(TurnEndCheck, MapWhileAUnitCanActOtherwiseTheComputersTurn) {
  const struct {
    bool any_ready;
    int scene;
    int wait;
  } cases[] = {{true, 100, 7}, {false, 5000, 30}};
  for (const auto& c : cases) {
    auto g = std::make_unique<Game>();
    g->world.player_units[4] = TUnit{2, 10, 10, 20, 20, 8, 1, static_cast<uint8_t>(c.any_ready), 0};
    g->world.player_units[9] = TUnit{1, 12, 10, 200, 20, 8, 1, 0, 0};
    g->flow.scene = 390;
    g->flow.wait_ticks = 7;
    turn_end_check(*g);
    EXPECT_EQ(g->flow.scene, c.scene);
    EXPECT_EQ(g->flow.wait_ticks, c.wait);
  }
}

}  // namespace
