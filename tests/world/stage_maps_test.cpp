// The ten stage maps the build puts into the data folder: each loads without complaint and gives
// both sides a game to play.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "world/map_file.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world_fixture.h"

using world_test::make_game;
using world_test::RecordingHost;

namespace {

class InDataDir : public ::testing::Test {
 protected:
  void SetUp() override {
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(NEVALT_DATA_DIR);
  }
  void TearDown() override { std::filesystem::current_path(old_dir_); }
  std::filesystem::path old_dir_;
};

// Cells a ground unit can reach from (x, y), ignoring other units.
std::vector<std::vector<bool>> ground_reach(const Game& g, int x, int y) {
  std::vector<std::vector<bool>> seen(kMapSize, std::vector<bool>(kMapSize, false));
  std::vector<std::pair<int, int>> todo{{x, y}};
  seen[x][y] = true;
  while (!todo.empty()) {
    auto [cx, cy] = todo.back();
    todo.pop_back();
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      const int nx = cx + dx, ny = cy + dy;
      if (nx < 1 || nx > 62 || ny < 1 || ny > 62 || seen[nx][ny]) continue;
      if (g.world.terrain_specs[terrain_at(g, nx, ny)].ground_cost == kNone) continue;
      seen[nx][ny] = true;
      todo.push_back({nx, ny});
    }
  }
  return seen;
}

TEST_F(InDataDir, EveryStageLoadsQuietlyWithTwoArmiesThatCanMeet) {
  for (int stage = 0; stage < 10; ++stage) {
    SCOPED_TRACE(stage_map_file(stage));
    auto g = make_game();
    RecordingHost host;
    g->form.host = &host;
    load_stage_map(*g, stage);
    EXPECT_TRUE(host.messages.empty());
    recount_types(*g);
    rebuild_occupancy(*g);

    EXPECT_GE(count_units(*g, kCountPlayerHqs), 1);
    EXPECT_GE(count_units(*g, kCountEnemyHqs), 1);
    EXPECT_GE(count_units(*g, kCountPlayerUnits), 3);
    int enemy_units = 0;
    for (const TUnit& u : g->world.enemy_units) enemy_units += u.type > kEnemyHq;
    EXPECT_GE(enemy_units, 3);
    // An enemy without regular units must have reserves to call on.
    if (count_units(*g, kCountEnemyUnits) == 0) {
      EXPECT_NE(g->world.reserve_points[0].x, kNone);
      EXPECT_NE(g->world.reserve_points[1].x, kNone);
    }

    const TUnit* first_hq = nullptr;
    for (int side : {kSidePlayer, kSideEnemy}) {
      for (int slot = 0; slot < kRosterSlots; ++slot) {
        const TUnit& u = roster_of(*g, side)[slot];
        if (u.type == 0) continue;
        // Ground units stand where ground units can be.
        if (g->world.unit_specs[u.type].air == 0) {
          EXPECT_NE(g->world.terrain_specs[u.terrain].ground_cost, kNone)
              << "unit at " << u.x << "," << u.y;
        }
        if (u.type != kPlayerHq && u.type != kEnemyHq) continue;
        if (first_hq == nullptr) first_hq = &u;
        // Land all round, and free: every HQ can produce from the start.
        for (int dir = kDeployUp; dir <= kDeployLeft; ++dir) {
          int nx = 0, ny = 0;
          deploy_neighbour(u.x, u.y, dir, &nx, &ny);
          EXPECT_TRUE(is_free_deploy_cell(*g, nx, ny))
              << "HQ " << u.x << "," << u.y << " dir " << dir;
        }
      }
    }
    ASSERT_NE(first_hq, nullptr);
    // Every HQ can be reached on the ground from the player's first HQ.
    const auto reach = ground_reach(*g, first_hq->x, first_hq->y);
    for (int side : {kSidePlayer, kSideEnemy}) {
      for (const TUnit* u = roster_of(*g, side); u != roster_of(*g, side) + kRosterSlots; ++u) {
        if (u->type == kPlayerHq || u->type == kEnemyHq) {
          EXPECT_TRUE(reach[u->x][u->y]) << "HQ " << u->x << "," << u->y;
        }
      }
    }
    // The ring never holds terrain a new unit could be placed on.
    for (int i = 0; i < kMapSize; ++i) {
      for (auto [x, y] : {std::pair{i, 0}, {i, 63}, {0, i}, {63, i}}) {
        const int t = terrain_at(*g, x, y);
        EXPECT_TRUE(t < 4 || t > 11) << x << "," << y;
      }
    }
  }
}

}  // namespace
