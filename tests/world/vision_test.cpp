#include "world/vision.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "world_fixture.h"

using world_test::count_seen;
using world_test::make_game;

namespace {

TEST(SightStencils, EveryMaskIsTheDiamondOfItsRadius) {
  auto g = make_game();
  constexpr int kCentre = kStencilSize / 2;
  for (int r = 0; r < kStencils; ++r) {
    int cells = 0;
    for (int i = 0; i < kStencilSize; ++i) {
      for (int j = 0; j < kStencilSize; ++j) {
        const int steps = std::abs(i - kCentre) + std::abs(j - kCentre);
        const int want = r >= 1 && steps <= r - 1 ? 1 : 0;
        ASSERT_EQ(g->world.sight_stencils[r][i][j], want)
            << "mask " << r << " at " << i << "," << j;
        cells += want;
      }
    }
    EXPECT_EQ(cells, r == 0 ? 0 : 2 * r * r - 2 * r + 1) << "mask " << r;
  }
  int mask19 = 0;
  for (const auto& row : g->world.sight_stencils[19]) {
    for (int32_t cell : row) mask19 += cell;
  }
  EXPECT_EQ(mask19, 685);
}

TEST(UpdateVision, SightDiamondsClippedToTheInnerMap) {
  struct Case {
    const char* what;
    int type, side, x, y;
    int want_cells;
  } cases[] = {
      {"rifleman in the open", 4, kSidePlayer, 10, 10, 25},
      {"scout in the corner", 2, kSidePlayer, 1, 1, 28},
      {"enemy scout in the far corner", 13, kSideEnemy, 62, 62, 28},
      {"fighter on the edge row", 11, kSidePlayer, 30, 1, 100},
      {"enemy HQ", 12, kSideEnemy, 30, 30, 85},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto g = make_game();
    TUnit* roster = c.side == kSidePlayer ? g->world.player_units : g->world.enemy_units;
    roster[4] = TUnit{c.type, c.x, c.y, 10, 10, 8, 1, 1, 0};
    const int r = g->world.unit_specs[c.type].sight;
    update_vision(*g, c.side);
    EXPECT_EQ(count_seen(*g, c.side), c.want_cells);
    EXPECT_EQ(count_seen(*g, 1 - c.side), 0);
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        const bool inner = x >= 1 && x <= 62 && y >= 1 && y <= 62;
        const bool near = std::abs(x - c.x) + std::abs(y - c.y) <= r - 1;
        ASSERT_EQ(g->world.vision[c.side][x][y], inner && near ? 1 : 0) << x << "," << y;
      }
    }
  }
}

TEST(UpdateVision, OnlyTheSidesSeeingTypesGiveVisionAndOverlapsMarkOnce) {
  auto g = make_game();
  WorldState& w = g->world;
  w.enemy_units[0] = TUnit{23, 20, 20, 100, 20, 8, 1, 1, 0};
  w.enemy_units[1] = TUnit{24, 22, 20, 20, 20, 8, 1, 1, 0};
  w.enemy_units[2] = TUnit{25, 24, 20, 500, 30, 8, 1, 1, 0};
  w.player_units[0] = TUnit{0, 5, 5, 0, 0, 0, 0, 0, 0};  // an empty slot at a position
  w.vision[kSideEnemy][40][40] = 1;                      // stale
  update_vision(*g, kSideEnemy);
  EXPECT_EQ(count_seen(*g, kSideEnemy), 0);
  update_vision(*g, kSidePlayer);
  EXPECT_EQ(count_seen(*g, kSidePlayer), 0);

  // Two riflemen two cells apart: 25 + 25 cells, 13 of them shared.
  w.player_units[1] = TUnit{4, 10, 10, 20, 20, 8, 1, 1, 0};
  w.player_units[2] = TUnit{4, 12, 10, 20, 20, 8, 1, 1, 0};
  update_vision(*g, kSidePlayer);
  EXPECT_EQ(count_seen(*g, kSidePlayer), 37);
  EXPECT_EQ(w.vision[kSidePlayer][11][10], 1);
}

TEST(MarkSight, RadiiWithoutAMaskAndCentresOffTheMapAreSafe) {
  auto g = make_game();
  for (int r : {-1, 20, 1000}) mark_sight(*g, 10, 10, r, kSidePlayer);
  EXPECT_EQ(count_seen(*g, kSidePlayer), 0);
  mark_sight(*g, -5, -5, 19, kSidePlayer);  // reaches in over the corner
  int want = 0;
  for (int x = 1; x <= 62; ++x) {
    for (int y = 1; y <= 62; ++y) want += std::abs(x + 5) + std::abs(y + 5) <= 18;
  }
  EXPECT_EQ(count_seen(*g, kSidePlayer), want);
  EXPECT_GT(want, 0);
  mark_sight(*g, 10, 10, 5, 7);  // no such side
  clear_vision(*g, kSidePlayer);
  EXPECT_EQ(count_seen(*g, kSidePlayer), 0);
}

}  // namespace
