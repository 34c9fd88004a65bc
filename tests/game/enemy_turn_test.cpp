// The computer's turn run pass by pass through the scene machine, on small arranged fields and
// on crowded random ones.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/debug_list.h"
#include "game/game_tick.h"
#include "game/turn_cycle.h"
#include "opponent/opponent_fixture.h"
#include "opponent/strategies.h"
#include "world/roster_queries.h"

using opponent_test::make_game;
using opponent_test::place;

namespace {

constexpr int kEnemyScout = 13;
constexpr int kPlayerScout = 2;
constexpr int kPlayerTank = 9;
constexpr int kEnemyTank = 20;

// Draws that make every attack hit: no double damage, and both the aim and the dodge fail to
// spoil it.
constexpr int32_t kHitDraws[] = {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50};

void script_hits(Game& g) {
  g.rng.script = kHitDraws;
  g.rng.script_length = static_cast<int>(std::size(kHitDraws));
  g.rng.script_pos = 0;
}

TEST(EnemyTurn, AUnitWithATargetInRangeAttacksInItsFirstPassAtFullAim) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
  place(*g, kSidePlayer, 4, kPlayerTank, 22, 20);
  place(*g, kSideEnemy, 2, kEnemyTank, 20, 20);
  script_hits(*g);
  g->flow.scene = 5031;

  // The pause starts in the pass of the attack: 30 passes of popup after it.
  game_tick(*g);
  EXPECT_EQ(g->flow.scene, 5060);
  EXPECT_EQ(g->flow.wait_ticks, 29);
  const TUnit& tank = g->world.enemy_units[2];
  EXPECT_EQ(tank.x, 20);
  EXPECT_EQ(tank.moved, 0);
  EXPECT_EQ(tank.ready, 0);
  const int32_t lost = 100 - g->world.player_units[4].hp;
  EXPECT_GT(lost, 0);
  ASSERT_EQ(debug_line_count(*g), 1);
  EXPECT_EQ(std::string(debug_line(*g, 0)), "damage " + std::to_string(lost));

  for (int pass = 0; pass < 29; ++pass) game_tick(*g);
  EXPECT_EQ(g->flow.scene, 5060);
  game_tick(*g);
  EXPECT_EQ(g->flow.scene, 5050);
  game_tick(*g);
  EXPECT_EQ(g->flow.scene, 6000);
  EXPECT_EQ(g->world.player_units[4].type, kPlayerTank);
}

TEST(EnemyTurn, AWalkOfNCellsTakesNPassesAndEndsTheTurnWithNoTargetLeft) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
  place(*g, kSidePlayer, 1, kPlayerScout, 30, 20);
  place(*g, kSideEnemy, 0, kEnemyScout, 20, 20);
  g->flow.scene = 5031;
  // A scout moves six cells, one per pass.
  for (int pass = 1; pass <= 5; ++pass) {
    game_tick(*g);
    EXPECT_EQ(g->flow.scene, 5040) << pass;
    EXPECT_EQ(g->world.enemy_units[0].x, 20 + pass) << pass;
    EXPECT_EQ(g->world.enemy_units[0].ready, 1) << pass;
  }
  game_tick(*g);
  EXPECT_EQ(g->world.enemy_units[0].x, 26);
  EXPECT_EQ(g->world.enemy_units[0].moved, 1);
  EXPECT_EQ(g->world.enemy_units[0].ready, 0);
  EXPECT_EQ(g->flow.scene, 6000);
  EXPECT_EQ(g->flow.wait_ticks, 29);
  EXPECT_EQ(g->view.view_x, 10);  // centred on the scout before it walked
}

TEST(EnemyTurn, APlayerWithoutHqLosesAndTheGameReturnsToTheTitle) {
  auto g = make_game();
  g->flow.stage_no = 4;
  g->flow.max_stage = 6;
  place(*g, kSidePlayer, 1, kPlayerScout, 40, 20);
  place(*g, kSideEnemy, 0, kEnemyHq, 10, 10).sp = 0;
  place(*g, kSideEnemy, 3, kEnemyScout, 20, 20);
  g->flow.scene = 5031;
  game_tick(*g);
  EXPECT_EQ(g->flow.scene, 5070);
  EXPECT_EQ(g->flow.wait_ticks, 59);
  for (int pass = 0; pass < 59; ++pass) game_tick(*g);
  EXPECT_EQ(g->flow.scene, 5070);
  game_tick(*g);
  EXPECT_EQ(g->flow.scene, 0);
  EXPECT_EQ(g->flow.stage_no, 4);
  EXPECT_EQ(g->flow.max_stage, 6);
}

TEST(EnemyTurn, AComputerWithOnlyHqsBuysAUnitThatActsAtOnce) {
  const struct {
    const char* name;
    int32_t sp;
    int next_scene;
  } cases[] = {{"buys", 40, 5040}, {"too_poor", 7, 6000}, {"empty_purse", 0, 6000}};
  for (const auto& c : cases) {
    auto g = make_game();
    place(*g, kSidePlayer, 0, kPlayerHq, 50, 50);
    place(*g, kSideEnemy, 0, kEnemyHq, 20, 20).sp = c.sp;
    g->flow.scene = 5031;
    game_tick(*g);
    EXPECT_EQ(g->flow.scene, c.next_scene) << c.name;
    if (c.next_scene == 5040) {
      EXPECT_EQ(g->world.selected_slot, 1) << c.name;
      EXPECT_EQ(g->world.enemy_units[0].ready, 0) << c.name;
      EXPECT_LT(g->world.enemy_units[0].sp, c.sp) << c.name;
    } else {
      EXPECT_EQ(g->world.enemy_units[0].sp, c.sp) << c.name;
    }
  }
}

TEST(EnemyTurn, TheHandOverRunsBannerRepairsAndPausesInOrder) {
  auto g = make_game();
  g->flow.enemy_income = 1;
  g->flow.player_income = 1;
  place(*g, kSidePlayer, 0, kPlayerHq, 50, 50).sp = 0;
  place(*g, kSideEnemy, 0, kEnemyHq, 10, 10).sp = 0;
  place(*g, kSideEnemy, 1, 23, 11, 10).hp = 50;  // repaired, but it never acts
  g->flow.scene = 5000;
  g->flow.wait_ticks = 30;
  g->flow.turn_no = 1;

  // The scene after each pass, as runs of equal scenes. A pause of N set in a pass lets the
  // scene it leads to take over N + 1 passes later.
  std::vector<std::pair<int, int>> runs;
  while (g->flow.scene != 100) {
    game_tick(*g);
    if (runs.empty() || runs.back().first != g->flow.scene) runs.emplace_back(g->flow.scene, 0);
    runs.back().second += 1;
    ASSERT_LT(runs.size(), 20u);
  }
  const std::vector<std::pair<int, int>> expected = {{5000, 30}, {5020, 60}, {5030, 1},  {5031, 30},
                                                     {6000, 30}, {6020, 60}, {6040, 30}, {100, 1}};
  EXPECT_EQ(runs, expected);
  EXPECT_EQ(g->flow.turn_no, 3);
  EXPECT_EQ(g->world.enemy_units[1].hp, 70);
  EXPECT_EQ(g->world.enemy_units[0].sp, 2);
  EXPECT_EQ(g->world.player_units[0].sp, 2);
  EXPECT_EQ(g->world.player_units[0].ready, 1);
}

// --- Crowded random fields -------------------------------------------------------------------

constexpr int kLandTerrains[] = {4, 5, 6, 7, 8, 8, 8, 8, 9, 9, 10, 11};

// Odd seeds leave the player's HQs nearly destroyed, so HQs change hands and games are lost.
void build_random_field(Game& g, unsigned seed) {
  Random rnd;
  rnd.seed(seed * 7919u);
  const auto pick = [&](int lo, int hi) { return lo + rnd.next() % (hi - lo + 1); };
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      int code = kLandTerrains[pick(0, std::size(kLandTerrains) - 1)];
      if (pick(0, 9) == 0) code = pick(1, 3);  // sea, rocks, water
      if (x == 0 || y == 0 || x == kMapSize - 1 || y == kMapSize - 1) code = 0;
      g.world.terrain_layer[x][y] = static_cast<int8_t>(code);
    }
  }
  rebuild_occupancy(g);
  // Both armies packed into a 24 x 24 square, so units jostle, block and fight.
  const auto free_cell = [&](int* x, int* y) {
    do {
      *x = pick(20, 43);
      *y = pick(20, 43);
    } while (g.world.occupancy[*x][*y] != kNoUnit || g.world.terrain_layer[*x][*y] < 4);
  };
  int x = 0;
  int y = 0;
  const int32_t enemy_sp = pick(0, 100);
  for (int h = 0; h < 3; ++h) {
    free_cell(&x, &y);
    add_unit(g, x, y, kEnemyHq, kSideEnemy, default_hp);
    g.world.enemy_units[h].sp = enemy_sp;
  }
  for (int h = 0; h < 2; ++h) {
    free_cell(&x, &y);
    const int32_t slot = add_unit(g, x, y, kPlayerHq, kSidePlayer, default_hp);
    if (seed % 2 == 1) g.world.player_units[slot].hp = 3;
  }
  for (int n = 0; n < 50; ++n) {
    free_cell(&x, &y);
    const int32_t slot = add_unit(g, x, y, pick(13, 25), kSideEnemy, default_hp);
    TUnit& u = g.world.enemy_units[slot];
    if (pick(0, 3) == 0) u.hp = 1 + u.hp / 6;  // badly hurt: falls back
    free_cell(&x, &y);
    add_unit(g, x, y, pick(2, 11), kSidePlayer, default_hp);
  }
}

// Every placed unit stands alone on an inner cell, and the computer's HQs share one purse.
void expect_sound_field(const Game& g, const std::string& where) {
  int on_cell[kMapSize][kMapSize] = {};
  for (const TUnit* roster : {g.world.player_units, g.world.enemy_units}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster[slot];
      if (u.type == 0) continue;
      ASSERT_TRUE(u.x >= 1 && u.x <= 62 && u.y >= 1 && u.y <= 62) << where;
      EXPECT_EQ(++on_cell[u.x][u.y], 1) << where << " cell " << u.x << "," << u.y;
    }
  }
  int32_t purse = -1;
  for (const TUnit& u : g.world.enemy_units) {
    if (u.type != kEnemyHq) continue;
    if (purse < 0) purse = u.sp;
    EXPECT_EQ(u.sp, purse) << where;
  }
}

TEST(EnemyTurn, EveryComputerTurnEndsOnCrowdedFields) {
  // The framing's pauses plus, for each of at most 60 acting units, a walk of at most 16
  // passes, a popup pause of 31 and the passes between.
  constexpr int kMaxPasses = 200 + 60 * 50;
  int turns_played = 0;
  int defeats = 0;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    auto g = make_game();
    g->rng.seed(seed);
    g->flow.enemy_income = 3;
    g->flow.player_income = 1;
    build_random_field(*g, seed);
    g->flow.scene = 5000;
    for (int turn = 0; turn < 8; ++turn) {
      const std::string where = "seed " + std::to_string(seed) + " turn " + std::to_string(turn);
      int passes = 0;
      while (g->flow.scene != 6000 && g->flow.scene != 5070) {
        game_tick(*g);
        ASSERT_LT(++passes, kMaxPasses) << where << " stuck in scene " << g->flow.scene;
      }
      ++turns_played;
      expect_sound_field(*g, where);
      if (g->flow.scene == 5070) {
        ++defeats;
        break;
      }
      EXPECT_EQ(first_ready(*g, kReadyEnemyNotHq), kNone) << where;
      // The player's turn: its framing, then every unit passes.
      while (g->flow.scene != 100) {
        game_tick(*g);
        ASSERT_LT(++passes, kMaxPasses) << where << " stuck in scene " << g->flow.scene;
      }
      mark_all_acted(*g, kSidePlayer);
      turn_end_check(*g);
      ASSERT_EQ(g->flow.scene, 5000);
    }
  }
  // Both endings of a computer turn were met.
  EXPECT_GT(turns_played, 6 + defeats);
  EXPECT_GE(defeats, 1);
}

}  // namespace
