#include "view/panels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "view_fixture.h"
#include "world/roster.h"
#include "world/tables.h"

using namespace view_test;

namespace {

constexpr Rgb kWhite{255, 255, 255};

// The areas below the frame pieces, each a colour of its own, so a copied portrait tells where
// it came from.
Rgb portrait_colour(int left, int top) {
  return Rgb{static_cast<uint8_t>(200 + left / 64), static_cast<uint8_t>(top), 77};
}

// The test skin with the portrait areas of the real one.
std::unique_ptr<Game> make_panel_game() {
  auto g = make_map_game();
  Picture skin;
  EXPECT_TRUE(create_picture(skin, 288, 160));
  copy_rect(skin, 0, 0, g->form.img_window, Rect{0, 0, 288, 32});
  for (int top = 32; top < 160; top += 64) {
    for (int left = 0; left < 288; left += 64) {
      set_brush_color(skin, portrait_colour(left, top));
      fill_rect(skin, Rect{left, top, left + 64, top + 64});
    }
  }
  free_picture(g->form.img_window);
  g->form.img_window = skin;
  return g;
}

// A second game with the same skin, for painting what a panel should look like.
std::unique_ptr<Game> make_reference(const Game& like) {
  auto ref = make_panel_game();
  ref->input = like.input;
  ref->flow.anim_slow = like.flow.anim_slow;
  return ref;
}

void text_style(Picture& p, int points) {
  set_font_size(p, points);
  set_font_color(p, kWhite);
  set_brush_clear(p);
}

void select(Game& g, int side, int slot) {
  const TUnit& unit = roster_of(g, side)[slot];
  g.world.selected_unit = unit;
  g.world.selected_spec = g.world.unit_specs[unit.type];
  g.world.selected_slot = slot;
}

TEST(PortraitArea, FollowsTheImageOfTheType) {
  const struct {
    int image;
    bool has;
    Rect area;
  } cases[] = {{16, true, {0, 32, 64, 96}},
               {17, true, {64, 32, 128, 96}},
               {26, true, {64, 32, 128, 96}},
               {48, true, {0, 96, 64, 160}},
               {49, true, {64, 96, 128, 160}},
               {58, true, {64, 96, 128, 160}},
               {61, true, {128, 96, 192, 160}},
               {59, false, {}},
               {60, false, {}},
               {15, false, {}},
               {27, false, {}},
               {255, false, {}},
               {-1, false, {}}};
  for (const auto& c : cases) {
    Rect area{-7, -7, -7, -7};
    EXPECT_EQ(portrait_area(c.image, &area), c.has) << c.image;
    if (!c.has) continue;
    EXPECT_EQ(area.left, c.area.left) << c.image;
    EXPECT_EQ(area.top, c.area.top) << c.image;
    EXPECT_EQ(area.right, c.area.right) << c.image;
    EXPECT_EQ(area.bottom, c.area.bottom) << c.image;
  }
}

struct UnitPanelCase {
  const char* name;
  int side, type;
  int mouse_y;
  int terrain;
  uint8_t status;
  int y0;
  const char* terrain_text;
  const char* status_text;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const UnitPanelCase& c, std::ostream* os) {
  *os << c.name;
}

class UnitPanel : public testing::TestWithParam<UnitPanelCase> {};

TEST_P(UnitPanel, ShowsTheSelectionAwayFromThePointer) {
  const UnitPanelCase& c = GetParam();
  auto g = make_panel_game();
  const int slot = add_unit(*g, 10, 10, c.type, c.side, 17);
  roster_of(*g, c.side)[slot].sp = 9;
  roster_of(*g, c.side)[slot].status = c.status;
  select(*g, c.side, slot);
  g->world.selected_unit.terrain = c.terrain;
  g->input.mouse_y = c.mouse_y;
  g->input.cursor_y = 480 - c.mouse_y;  // the placement follows the mouse move, not the sample
  ui_test::fill_all(g->form.img_main, kSentinel);
  draw_unit_panel(*g);
  EXPECT_EQ(unit_panel_top(*g), c.y0);

  const TUnitSpec& stats = g->world.unit_specs[c.type];
  auto ref = make_reference(*g);
  draw_window(*ref, 0, c.y0, 640, 100);
  Rect area;
  if (portrait_area(stats.image, &area)) {
    copy_rect(ref->form.img_main, 16, c.y0 + 16, ref->form.img_window, area);
  }
  Picture& p = ref->form.img_main;
  text_style(p, 10);
  const std::string level = "レベル　" + std::to_string(stats.level);
  text_out(p, 96, c.y0 + 16, level.c_str());
  text_out(p, 192, c.y0 + 16, stats.name);
  text_out(p, 192, c.y0 + 38, stats.model);
  text_out(p, 192, c.y0 + 60, c.status_text);
  text_out(p, 368, c.y0 + 16, ("HP 17 / " + std::to_string(stats.max_hp)).c_str());
  text_out(p, 368, c.y0 + 38, ("SP 9 / " + std::to_string(stats.max_sp)).c_str());
  text_out(p, 496, c.y0 + 16, c.terrain_text);
  EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0);
  // The frame starts exactly at y0: its top-left corner piece.
  EXPECT_EQ(read_pixel(g->form.img_main, 0, c.y0), ui_test::skin_pixel(0, 0, 0));
  EXPECT_EQ(read_pixel(g->form.img_main, 0, c.y0 == 0 ? 100 : 383), kSentinel);
  ui_test::free_game_pictures(*g);
  ui_test::free_game_pictures(*ref);
}

INSTANTIATE_TEST_SUITE_P(
    Units, UnitPanel,
    testing::Values(
        UnitPanelCase{"TankPointerHigh", kSidePlayer, 9, 100, 8, 1, 384, "地形　平野", "[正常]"},
        UnitPanelCase{"TankPointerLow", kSidePlayer, 9, 300, 5, 1, 0, "地形　森", "[正常]"},
        UnitPanelCase{"EdgeOfTheUpperHalf", kSidePlayer, 2, 239, 9, 1, 384, "地形　道路", "[正常]"},
        UnitPanelCase{"EdgeOfTheLowerHalf", kSidePlayer, 2, 240, 9, 1, 0, "地形　道路", "[正常]"},
        UnitPanelCase{"PlayerHq", kSidePlayer, kPlayerHq, 10, 11, 1, 384, "地形　建物", "[正常]"},
        UnitPanelCase{"EnemyHq", kSideEnemy, kEnemyHq, 10, 10, 1, 384, "地形　陣地", "[正常]"},
        UnitPanelCase{"EnemyTank", kSideEnemy, 20, 10, 8, 0, 384, "地形　平野", "[移動×]"},
        UnitPanelCase{"AceTank", kSideEnemy, 25, 470, 4, 2, 0, "地形　山", "[移動×]"},
        UnitPanelCase{"DefensivePositionWithoutPortrait", kSideEnemy, 23, 10, 8, 1, 384,
                      "地形　平野", "[正常]"},
        UnitPanelCase{"SquadWithoutPortrait", kSideEnemy, 24, 10, 8, 1, 384, "地形　平野",
                      "[正常]"},
        UnitPanelCase{"TerrainTwelveIsPlains", kSidePlayer, 9, 10, 12, 1, 384, "地形　平野",
                      "[正常]"},
        UnitPanelCase{"TerrainZero", kSidePlayer, 9, 10, 0, 1, 384, "地形　無し", "[正常]"},
        UnitPanelCase{"DamagedTerrainIsPlains", kSidePlayer, 9, 10, 99, 1, 384, "地形　平野",
                      "[正常]"},
        UnitPanelCase{"NegativeTerrainIsPlains", kSidePlayer, 9, 10, -3, 1, 384, "地形　平野",
                      "[正常]"}),
    [](const testing::TestParamInfo<UnitPanelCase>& info) { return info.param.name; });

TEST(UnitPanel, PortraitComesFromItsAreaOrIsAbsent) {
  const struct {
    int side, type;
    bool has;
    Rgb colour;
  } cases[] = {{kSidePlayer, kPlayerHq, true, portrait_colour(0, 32)},
               {kSidePlayer, 11, true, portrait_colour(64, 32)},
               {kSideEnemy, kEnemyHq, true, portrait_colour(0, 96)},
               {kSideEnemy, 13, true, portrait_colour(64, 96)},
               {kSideEnemy, 25, true, portrait_colour(128, 96)},
               {kSideEnemy, 23, false, {}}};
  for (const auto& c : cases) {
    auto g = make_panel_game();
    select(*g, c.side, add_unit(*g, 10, 10, c.type, c.side, default_hp));
    g->input.mouse_y = 300;
    draw_unit_panel(*g);
    // The portrait square lies left of every text.
    const int n = ui_test::count_color(g->form.img_main, Rect{16, 16, 80, 80}, c.colour);
    EXPECT_EQ(n, c.has ? 64 * 64 : 0) << "type " << c.type;
    ui_test::free_game_pictures(*g);
  }
}

TEST(UnitPanel, EmptySelectionDrawsNothing) {
  auto g = make_panel_game();
  g->world.selected_spec = g->world.unit_specs[0];
  g->world.selected_unit = TUnit{};
  g->world.selected_slot = -1;
  ui_test::fill_all(g->form.img_main, kSentinel);
  draw_unit_panel(*g);
  // A spare row of the table is just as empty.
  g->world.selected_spec = g->world.unit_specs[30];
  draw_unit_panel(*g);
  EXPECT_EQ(ui_test::count_color(g->form.img_main, Rect{0, 0, 640, 480}, kSentinel), 640 * 480);
  ui_test::free_game_pictures(*g);
}

TEST(UnitPanel, ASelectionCopyWithoutEndingTextsStaysInsideItsFields) {
  auto g = make_panel_game();
  select(*g, kSidePlayer, add_unit(*g, 10, 10, 9, kSidePlayer, default_hp));
  std::memset(g->world.selected_spec.name, 'A', sizeof g->world.selected_spec.name);
  std::memset(g->world.selected_spec.model, 'B', sizeof g->world.selected_spec.model);
  g->world.selected_spec.image = 12345;
  draw_unit_panel(*g);  // no portrait, the texts cut at their fields: no crash, no overread
  EXPECT_EQ(ui_test::count_color(g->form.img_main, Rect{16, 400, 80, 464}, portrait_colour(64, 32)),
            0);
  ui_test::free_game_pictures(*g);
}

// A roster of units in slots 0, 5 and 45: the list shows two, the count says three.
std::unique_ptr<Game> make_roster_game() {
  auto g = make_panel_game();
  const struct { int slot, type, hp; } units[] = {{0, kPlayerHq, 150}, {5, 9, 73}, {45, 10, 100}};
  for (const auto& u : units) {
    TUnit& unit = g->world.player_units[u.slot];
    unit.type = u.type;
    unit.x = 2 + u.slot;
    unit.y = 3;
    unit.hp = u.hp;
    unit.ready = 1;
    unit.status = 1;
  }
  return g;
}

TEST(UnitList, ListsSlotsZeroToThirtyNine) {
  auto g = make_roster_game();
  g->input.cursor_x = -1;
  draw_unit_list(*g);
  EXPECT_EQ(g->ui.hover_item, 0);

  auto ref = make_reference(*g);
  draw_window(*ref, 0, 64, 640, 416);
  text_style(ref->form.img_main, 10);
  int dashes = 0;
  for (int s = 0; s < 40; ++s) {
    std::string text = "--------";
    if (s == 0) text = "司令部  Dshk38  HP 150";
    if (s == 5) text = "戦車  T34  HP 73";
    dashes += text == "--------";
    text_out(ref->form.img_main, 16 + 320 * (s / 20), 80 + 20 * (s % 20), text.c_str());
  }
  EXPECT_EQ(dashes, 38);
  EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0);
  ui_test::free_game_pictures(*g);
  ui_test::free_game_pictures(*ref);
}

struct ListHoverCase {
  int x, y;
  int hover;
  Rect bar;  // the highlighted rectangle; empty for none
};

void PrintTo(const ListHoverCase& c, std::ostream* os) {
  *os << "(" << c.x << ", " << c.y << ") row " << c.hover;
}

class UnitListHover : public testing::TestWithParam<ListHoverCase> {};

TEST_P(UnitListHover, ComputesTheRowAndHighlightsIt) {
  const ListHoverCase& c = GetParam();
  auto g = make_roster_game();
  g->flow.anim_slow = 3;
  g->ui.hover_item = 99;
  g->input.cursor_x = c.x;
  g->input.cursor_y = c.y;
  draw_unit_list(*g);
  EXPECT_EQ(g->ui.hover_item, c.hover);

  // The texts are checked on their own; here only where the bar is.
  const Rgb bar = g->ui.highlight_colors[3];
  EXPECT_EQ(ui_test::count_color(g->form.img_main, Rect{0, 0, 640, 480}, bar) > 0,
            c.bar.right > c.bar.left);
  if (c.bar.right > c.bar.left) {
    EXPECT_EQ(read_pixel(g->form.img_main, c.bar.left, c.bar.top), bar);
    EXPECT_EQ(read_pixel(g->form.img_main, c.bar.right - 1, c.bar.bottom - 1), bar);
    EXPECT_NE(read_pixel(g->form.img_main, c.bar.left - 1, c.bar.top), bar);
    EXPECT_NE(read_pixel(g->form.img_main, c.bar.right, c.bar.top), bar);
    EXPECT_NE(read_pixel(g->form.img_main, c.bar.left, c.bar.top - 1), bar);
    EXPECT_NE(read_pixel(g->form.img_main, c.bar.left, c.bar.bottom), bar);
  }
  ui_test::free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, UnitListHover,
    testing::Values(ListHoverCase{100, 125, 3, {16, 120, 320, 132}},
                    ListHoverCase{400, 79, 21, {336, 80, 624, 92}},
                    ListHoverCase{100, 70, 1, {16, 80, 320, 92}},
                    ListHoverCase{100, 65, 1, {16, 80, 320, 92}}, ListHoverCase{100, 64, 0, {}},
                    ListHoverCase{100, 480, 0, {}}, ListHoverCase{0, 200, 0, {}},
                    ListHoverCase{320, 200, 0, {}}, ListHoverCase{640, 200, 0, {}},
                    ListHoverCase{1, 99, 1, {16, 80, 320, 92}},
                    ListHoverCase{319, 100, 2, {16, 100, 320, 112}},
                    ListHoverCase{321, 479, 40, {336, 460, 624, 472}},
                    ListHoverCase{639, 459, 39, {336, 440, 624, 452}}),
    [](const testing::TestParamInfo<ListHoverCase>& info) {
      return "At" + std::to_string(info.param.x) + "_" + std::to_string(info.param.y);
    });

TEST(StatusPanel, CountsEveryPlayerSlotAndShowsTheHqSupply) {
  const struct {
    const char* name;
    int hq_sp[2];  // -1: no HQ in that slot
    int income;
    int turn;
    const char* sp_text;
    const char* unit_text;
  } cases[] = {
      {"OneHq", {37, -1}, 2, 5, "司令部のSP 37 (+3)", "ユニット数 3 / 40"},
      {"TwoHqs", {40, 40}, 1, 12, "司令部のSP 40 (+3)", "ユニット数 4 / 40"},
      {"UnequalHqsShowTheHighest", {10, 25}, 1, 1, "司令部のSP 25 (+3)", "ユニット数 4 / 40"},
      {"NoHq", {-1, -1}, 1, 3, "司令部のSP 0 (+1)", "ユニット数 3 / 40"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_roster_game();
    g->world.player_units[0].type = 2;
    for (int i = 0; i < 2; ++i) {
      if (c.hq_sp[i] < 0) continue;
      TUnit& hq = g->world.player_units[i == 0 ? 0 : 30];
      hq.type = kPlayerHq;
      hq.x = 20 + i;
      hq.y = 20;
      hq.sp = c.hq_sp[i];
    }
    g->flow.player_income = c.income;
    g->flow.turn_no = c.turn;
    draw_status_panel(*g);

    auto ref = make_reference(*g);
    draw_window(*ref, 0, 0, 640, 64);
    text_style(ref->form.img_main, 12);
    text_out(ref->form.img_main, 32, 16, c.sp_text);
    text_out(ref->form.img_main, 232, 16, c.unit_text);
    text_out(ref->form.img_main, 432, 16, ("現ターン数 " + std::to_string(c.turn)).c_str());
    EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0);
    ui_test::free_game_pictures(*g);
    ui_test::free_game_pictures(*ref);
  }
}

TEST(StatusPanel, UnitsInSlotsZeroFiveAndFortyFiveCountThree) {
  auto g = make_roster_game();
  g->world.player_units[0].sp = 20;
  g->flow.player_income = 1;
  g->flow.turn_no = 1;
  draw_status_panel(*g);
  auto ref = make_reference(*g);
  draw_window(*ref, 0, 0, 640, 64);
  text_style(ref->form.img_main, 12);
  text_out(ref->form.img_main, 32, 16, "司令部のSP 20 (+2)");
  text_out(ref->form.img_main, 232, 16, "ユニット数 3 / 40");
  text_out(ref->form.img_main, 432, 16, "現ターン数 1");
  EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0);
  ui_test::free_game_pictures(*g);
  ui_test::free_game_pictures(*ref);
}

TEST(SkillPanel, OppositeTheUnitsHalfOfTheViewAndNoRows) {
  const struct {
    int unit_x, view_x;
    int x0;
  } cases[] = {{19, 10, 320}, {20, 10, 0}, {5, 0, 320}, {63, 44, 0}};
  for (const auto& c : cases) {
    auto g = make_panel_game();
    g->world.selected_unit.x = c.unit_x;
    g->view.view_x = c.view_x;
    g->ui.hover_item = 4;
    draw_skill_panel(*g);
    EXPECT_EQ(g->ui.hover_item, 0);
    auto ref = make_reference(*g);
    draw_window(*ref, c.x0, 100, 320, 256);
    EXPECT_EQ(differing_pixels(ref->form.img_main, g->form.img_main), 0) << c.unit_x;
    ui_test::free_game_pictures(*g);
    ui_test::free_game_pictures(*ref);
  }
}

}  // namespace
