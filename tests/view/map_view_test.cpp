#include "view/map_view.h"

#include <gtest/gtest.h>

#include <cstring>

#include "view_fixture.h"
#include "world/roster.h"

using namespace view_test;

namespace {

constexpr int kTankType = 9;        // the player's tank, image 19
constexpr int kEnemyTankType = 20;  // image 51
constexpr int kFog = 80;
constexpr int kActed = 16;

TEST(DrawMapView, FogHidesEnemiesButNotTheirHqsNorThePlayersOwnUnits) {
  auto g = make_map_game();
  const int tank = add_unit(*g, 16, 5, kTankType, kSidePlayer, default_hp);
  add_unit(*g, 18, 5, kEnemyTankType, kSideEnemy, default_hp);  // in the tank's sight
  add_unit(*g, 30, 5, kEnemyTankType, kSideEnemy, default_hp);  // far off, in fog
  add_unit(*g, 32, 8, kEnemyHq, kSideEnemy, default_hp);        // far off, in fog
  const int far_tank = add_unit(*g, 22, 13, kTankType, kSidePlayer, default_hp);
  g->world.player_units[far_tank].ready = 0;
  // A gun that sees nothing stands in fog, and is drawn all the same.
  g->world.unit_specs[7].sight = 0;
  add_unit(*g, 30, 12, 7, kSidePlayer, default_hp);
  g->world.enemy_units[0].ready = 0;
  ASSERT_EQ(g->world.unit_specs[kTankType].image, 19);
  ASSERT_EQ(g->world.unit_specs[kEnemyTankType].image, 51);

  draw_map_view(*g, 15, 0);
  ASSERT_EQ(g->world.vision[kSidePlayer][18][5], 1);
  ASSERT_EQ(g->world.vision[kSidePlayer][30][5], 0);
  ASSERT_EQ(g->world.vision[kSidePlayer][32][8], 0);
  EXPECT_TRUE(cell_shows(*g, 16 - 15, 5, {8, 19})) << "ready player tank";
  EXPECT_TRUE(cell_shows(*g, 18 - 15, 5, {8, 51 + kActed})) << "seen enemy tank, acted";
  EXPECT_TRUE(cell_shows(*g, 30 - 15, 5, {8 + kFog})) << "enemy tank in fog must not show";
  EXPECT_TRUE(cell_shows(*g, 32 - 15, 8, {8 + kFog, 48})) << "enemy HQ shows over fog";
  EXPECT_TRUE(cell_shows(*g, 22 - 15, 13, {8, 35})) << "acted player tank";
  ASSERT_EQ(g->world.vision[kSidePlayer][30][12], 0);
  EXPECT_TRUE(cell_shows(*g, 30 - 15, 12, {8 + kFog, 20})) << "player gun in fog";
  EXPECT_TRUE(cell_shows(*g, 0, 0, {8 + kFog}));
  EXPECT_TRUE(cell_shows(*g, 17 - 15, 6, {8})) << "seen empty cell";
  (void)tank;
  ui_test::free_game_pictures(*g);
}

struct OriginCase {
  int vx, vy;
  int drawn_x, drawn_y;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const OriginCase& c, std::ostream* os) {
  *os << "view (" << c.vx << ", " << c.vy << ")";
}

class MapViewOrigin : public testing::TestWithParam<OriginCase> {};

TEST_P(MapViewOrigin, IsClampedToTheMap) {
  const OriginCase& c = GetParam();
  auto g = make_map_game();
  // Every shift of the origin by one cell changes the code a screen cell shows.
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y)
      g->world.terrain_layer[x][y] = static_cast<int8_t>((5 * x + 3 * y) % 12);
  }
  draw_map_view(*g, c.vx, c.vy);
  int wrong = 0;
  for (int j = 0; j < kViewRows; ++j) {
    for (int i = 0; i < kViewColumns; ++i) {
      const int code = (5 * (c.drawn_x + i) + 3 * (c.drawn_y + j)) % 12;
      if (!cell_shows(*g, i, j, {code + kFog}) && ++wrong < 4)
        ADD_FAILURE() << "screen cell (" << i << ", " << j << ")";
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(g->view.view_x, 0) << "drawing never moves the view";
  ui_test::free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(Origins, MapViewOrigin,
                         testing::Values(OriginCase{50, 60, 44, 49}, OriginCase{-3, -1, 0, 0},
                                         OriginCase{44, 49, 44, 49}, OriginCase{45, 0, 44, 0},
                                         OriginCase{7, 50, 7, 49}, OriginCase{12, 9, 12, 9}));

TEST(DrawMapView, RebuildsOccupancyAndPlayerVisionEveryTime) {
  auto g = make_map_game();
  add_unit(*g, 10, 10, kTankType, kSidePlayer, default_hp);
  // Moved behind the map's back: the next drawing must follow it.
  g->world.player_units[0].x = 40;
  draw_map_view(*g, 30, 0);
  EXPECT_EQ(g->world.occupancy[10][10], kNoUnit);
  EXPECT_EQ(g->world.occupancy[40][10], 0);
  EXPECT_EQ(g->world.vision[kSidePlayer][10][10], 0);
  EXPECT_EQ(g->world.vision[kSidePlayer][40][10], 1);
  EXPECT_TRUE(cell_shows(*g, 10, 10, {8, 19}));
  ui_test::free_game_pictures(*g);
}

struct MarkingCase {
  const char* name;
  int scene;
  int terrain;  // of the marked cell
  bool white, red;
};

void PrintTo(const MarkingCase& c, std::ostream* os) {
  *os << c.name;
}

class Markings : public testing::TestWithParam<MarkingCase> {};

TEST_P(Markings, OutlineReachableOrAttackableCellsEvenInFog) {
  const MarkingCase& c = GetParam();
  auto g = make_map_game();
  g->flow.scene = c.scene;
  for (auto& column : g->rules.reach) {
    for (int32_t& v : column) v = kNone;
  }
  for (auto& column : g->rules.attack_range) {
    for (int32_t& v : column) v = kNone;
  }
  g->world.selected_spec.move = 6;
  g->world.terrain_layer[5][5] = static_cast<int8_t>(c.terrain);
  g->rules.reach[5][5] = 6;  // just within the move
  g->rules.reach[6][5] = 7;  // one beyond
  g->rules.attack_range[5][5] = 0;
  g->rules.attack_range[6][5] = 1;
  draw_map_view(*g, 0, 0);
  const Picture& main = g->form.img_main;
  const Rgb marked = c.white ? kOutlineWhite : kOutlineRed;
  const bool any = c.white || c.red;
  // The four corners of the outline of cell (5, 5), drawn with no cell of the view seen.
  for (Point p : {Point{160, 160}, Point{192, 160}, Point{192, 192}, Point{160, 192}}) {
    EXPECT_EQ(read_pixel(main, p.x, p.y) == marked, any) << p.x << ", " << p.y;
  }
  EXPECT_FALSE(read_pixel(main, 224, 160) == marked) << "cell (6, 5) is not marked";
  EXPECT_FALSE(read_pixel(main, 161, 161) == marked) << "only the outline";
  ui_test::free_game_pictures(*g);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, Markings,
    testing::Values(MarkingCase{"MoveTargetWhite", 360, 8, true, false},
                    MarkingCase{"MoveTargetOnTerrainZero", 360, 0, true, false},
                    MarkingCase{"AttackTargetRed", 371, 8, false, true},
                    MarkingCase{"AttackTargetTerrainZeroUnmarked", 371, 0, false, false},
                    MarkingCase{"MapSceneUnmarked", 100, 8, false, false},
                    MarkingCase{"WalkUnmarked", 370, 8, false, false}),
    [](const testing::TestParamInfo<MarkingCase>& info) { return info.param.name; });

TEST(DrawCellOutline, ClosedRectangleInThePenColourWhichStaysSet) {
  auto g = make_map_game();
  const Rgb c{255, 0, 0};
  draw_cell_outline(*g, 100, 50, 31, 31, c);
  const Picture& main = g->form.img_main;
  for (Point p : {Point{100, 50}, Point{131, 50}, Point{131, 81}, Point{100, 81}, Point{115, 50},
                  Point{131, 66}, Point{115, 81}, Point{100, 66}}) {
    EXPECT_EQ(read_pixel(main, p.x, p.y), c) << p.x << ", " << p.y;
  }
  for (Point p : {Point{101, 51}, Point{130, 80}, Point{132, 50}, Point{100, 82}}) {
    EXPECT_EQ(read_pixel(main, p.x, p.y), kSentinel) << p.x << ", " << p.y;
  }
  EXPECT_EQ(main.canvas.pen_color, c);
  ui_test::free_game_pictures(*g);
}

struct PointerCase {
  int px, py, vx, vy;
  int cell_x, cell_y;
};

void PrintTo(const PointerCase& c, std::ostream* os) {
  *os << "(" << c.px << ", " << c.py << ") in view (" << c.vx << ", " << c.vy << ")";
}

class PointerCell : public testing::TestWithParam<PointerCase> {};

TEST_P(PointerCell, TruncatesAndStaysOnTheMap) {
  const PointerCase& c = GetParam();
  auto g = std::make_unique<Game>();
  g->input.cursor_x = c.px;
  g->input.cursor_y = c.py;
  g->view.view_x = c.vx;
  g->view.view_y = c.vy;
  EXPECT_EQ(pointer_cell_x(*g), c.cell_x);
  EXPECT_EQ(pointer_cell_y(*g), c.cell_y);
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, PointerCell,
    testing::Values(PointerCase{100, 70, 10, 5, 13, 7}, PointerCase{31, 31, 0, 0, 0, 0},
                    PointerCase{32, 32, 0, 0, 1, 1}, PointerCase{639, 479, 44, 49, 63, 63},
                    PointerCase{900, 900, 44, 49, 63, 63},  // past the window: the last cell
                    PointerCase{-20, -20, 3, 3, 3, 3},      // truncation toward zero
                    PointerCase{-40, -64, 0, 0, 0, 0},      // left of the map: the first cell
                    PointerCase{-64, -33, 5, 5, 3, 4}));

TEST(SelectAtPointer, CopiesThePlayerOrEnemyUnitOrTheEmptySelection) {
  auto g = make_map_game();
  const int player = add_unit(*g, 13, 7, kTankType, kSidePlayer, 42);
  add_unit(*g, 20, 20, kEnemyTankType, kSideEnemy, default_hp);
  const int enemy = add_unit(*g, 14, 7, kEnemyTankType, kSideEnemy, default_hp);
  g->view.view_x = 10;
  g->view.view_y = 5;
  g->input.cursor_x = 100;
  g->input.cursor_y = 70;
  select_at_pointer(*g);
  EXPECT_EQ(g->world.selected_slot, player);
  EXPECT_EQ(g->world.selected_unit.x, 13);
  EXPECT_EQ(g->world.selected_unit.y, 7);
  EXPECT_EQ(g->world.selected_unit.hp, 42);
  EXPECT_STREQ(g->world.selected_spec.name, "戦車");
  EXPECT_EQ(g->world.selected_spec.image, 19);

  g->input.cursor_x = 130;  // cell (14, 7)
  select_at_pointer(*g);
  EXPECT_EQ(g->world.selected_slot, enemy);
  EXPECT_EQ(enemy, 1);
  EXPECT_EQ(g->world.selected_unit.type, kEnemyTankType);
  EXPECT_EQ(g->world.selected_spec.image, 51);

  g->input.cursor_x = 170;  // cell (15, 7): empty
  select_at_pointer(*g);
  EXPECT_EQ(g->world.selected_slot, -1);
  EXPECT_STREQ(g->world.selected_spec.name, "ダミー");
  const TUnit empty{};
  EXPECT_EQ(std::memcmp(&g->world.selected_unit, &empty, sizeof empty), 0);

  g->view.view_x = 0;
  g->view.view_y = 0;
  g->input.cursor_x = -100;  // far left of the window: column 0, which holds nothing
  select_at_pointer(*g);
  EXPECT_EQ(g->world.selected_slot, -1);
  ui_test::free_game_pictures(*g);
}

TEST(SelectAtPointer, AnOccupancyNamingNoSlotIsAnEmptyCell) {
  auto g = make_map_game();
  g->input.cursor_x = 40;
  g->input.cursor_y = 40;
  for (uint8_t o : {uint8_t{60}, uint8_t{63}, uint8_t{124}, uint8_t{200}}) {
    g->world.occupancy[1][1] = o;
    select_at_pointer(*g);
    EXPECT_EQ(g->world.selected_slot, -1) << int(o);
  }
  ui_test::free_game_pictures(*g);
}

struct ScrollCase {
  const char* name;
  int x, y;
  bool left;
  int anim_scroll;
  int vx, vy;  // the view before
  int want_x, want_y;
};

void PrintTo(const ScrollCase& c, std::ostream* os) {
  *os << c.name;
}

class EdgeScroll : public testing::TestWithParam<ScrollCase> {};

TEST_P(EdgeScroll, MovesOneCellTowardTheBorderWhileTheLeftButtonIsHeld) {
  const ScrollCase& c = GetParam();
  auto g = std::make_unique<Game>();
  g->input.cursor_x = c.x;
  g->input.cursor_y = c.y;
  g->input.left_down = c.left;
  g->flow.anim_scroll = c.anim_scroll;
  g->view.view_x = c.vx;
  g->view.view_y = c.vy;
  edge_scroll(*g);
  EXPECT_EQ(g->view.view_x, c.want_x);
  EXPECT_EQ(g->view.view_y, c.want_y);
}

INSTANTIATE_TEST_SUITE_P(
    Frame, EdgeScroll,
    testing::Values(ScrollCase{"Right", 608, 200, true, 0, 10, 10, 11, 10},
                    ScrollCase{"NotYetRight", 607, 200, true, 0, 10, 10, 10, 10},
                    ScrollCase{"Left", 32, 200, true, 0, 10, 10, 9, 10},
                    ScrollCase{"NotYetLeft", 33, 200, true, 0, 10, 10, 10, 10},
                    ScrollCase{"Down", 300, 448, true, 0, 10, 10, 10, 11},
                    ScrollCase{"Up", 300, 32, true, 0, 10, 10, 10, 9},
                    ScrollCase{"Corner", 700, -50, true, 0, 10, 10, 11, 9},
                    ScrollCase{"ButtonUp", 608, 200, false, 0, 10, 10, 10, 10},
                    ScrollCase{"OffBeat", 608, 200, true, 1, 10, 10, 10, 10},
                    ScrollCase{"StopsAtTheRight", 620, 460, true, 0, 44, 49, 44, 49},
                    ScrollCase{"StopsAtTheLeft", 0, 0, true, 0, 0, 0, 0, 0},
                    ScrollCase{"PullsBackAnOutsideView", 300, 200, true, 0, 70, -4, 44, 0}),
    [](const testing::TestParamInfo<ScrollCase>& info) { return info.param.name; });

TEST(InnerArea, ExcludesTheOneCellFrame) {
  const struct {
    int x, y;
    bool inside;
  } cases[] = {{33, 33, true},    {32, 100, false}, {607, 447, true}, {608, 100, false},
               {100, 448, false}, {100, 32, false}, {-1, 200, false}, {320, 240, true}};
  auto g = std::make_unique<Game>();
  for (const auto& c : cases) {
    g->input.cursor_x = c.x;
    g->input.cursor_y = c.y;
    EXPECT_EQ(inner_area(*g), c.inside) << c.x << ", " << c.y;
  }
}

}  // namespace
