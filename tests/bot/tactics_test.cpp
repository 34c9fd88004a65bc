// The built-in player's judgement: its walk areas are the move command's own reach, its odds agree
// with the game's own attacks, and its plans do what a sound player would in small battles.
#include "bot/tactics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "rules/combat.h"
#include "rules/reach.h"
#include "rules/rules_fixture.h"
#include "world/roster.h"
#include "world/tables.h"

namespace {

using fixture::make_game;
using fixture::paint;
using fixture::place;

// Sea round the edge, plain inside, and the player seeing everything unless a test says not.
std::unique_ptr<Game> make_field() {
  auto g = make_game(fixture::kPlain);
  for (int i = 0; i < kMapSize; ++i) {
    paint(*g, i, 0, 1), paint(*g, i, kMapSize - 1, 1);
    paint(*g, 0, i, 1), paint(*g, kMapSize - 1, i, 1);
  }
  for (auto& column : g->world.vision[kSidePlayer]) {
    for (int32_t& v : column) v = 1;
  }
  return g;
}

int roll(unsigned* s, int n) {
  *s = *s * 1103515245u + 12345u;
  return static_cast<int>((*s >> 16) % static_cast<unsigned>(n));
}

TEST(BotReach, IsTheMoveCommandsReachAndLeavesTheGameAlone) {
  unsigned seed = 12345;
  auto tactics = std::make_unique<Tactics>();
  for (int round = 0; round < 60; ++round) {
    auto g = make_game();
    // Every terrain code, water and the cost-free codes included.
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) paint(*g, x, y, roll(&seed, 16));
    }
    const int player_types[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const int enemy_types[] = {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
    for (int s = 0; s < 12; ++s) {
      place(*g, kSidePlayer, s, player_types[roll(&seed, 11)], 1 + roll(&seed, 62),
            1 + roll(&seed, 62));
      place(*g, kSideEnemy, s, enemy_types[roll(&seed, 14)], 1 + roll(&seed, 62),
            1 + roll(&seed, 62));
    }
    const int slot = roll(&seed, 12);
    TUnit& mover = g->world.player_units[slot];
    if (mover.type == kPlayerHq) mover.type = 9;
    const TUnitSpec& stats = g->world.unit_specs[mover.type];
    rebuild_occupancy(*g);

    std::vector<unsigned char> before(sizeof(Game));
    std::memcpy(before.data(), g.get(), sizeof(Game));
    const CellGrid& mine = tactics->walk_area(*g, slot);
    ASSERT_EQ(std::memcmp(before.data(), g.get(), sizeof(Game)), 0) << "round " << round;

    build_move_cost(*g, stats.move, move_class_of(stats), kRingEnemyUnits);
    compute_reach(*g, mover.x, mover.y);
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        ASSERT_EQ(g->rules.reach[x][y], mine[x][y])
            << "round " << round << " cell " << x << "," << y;
      }
    }
  }
}

TEST(BotOdds, AgreeWithTheGamesOwnAttacks) {
  struct Case {
    int attacker;
    int target;
    int terrain;
    bool moved;
    int attacker_hp;  // 0: full
  };
  const Case cases[] = {
      {9, 20, 8, false, 0},   // tank against tank on plain
      {9, 15, 5, true, 0},    // tank against riflemen in a forest, after a walk
      {4, 12, 11, false, 0},  // riflemen against an HQ in town: double damage
      {9, 12, 8, false, 0},   // tank against an HQ: half damage
      {6, 23, 10, false, 0},  // artillery against a dug-in position
      {3, 14, 8, false, 10},  // assault infantry at half strength
      {10, 20, 4, false, 0},  // bomber against a tank on a mountain: no terrain bonus
  };
  for (const Case& c : cases) {
    auto g = make_field();
    TUnit& a = place(*g, kSidePlayer, 0, c.attacker, 10, 10);
    if (c.attacker_hp != 0) a.hp = c.attacker_hp;
    a.moved = c.moved ? 1 : 0;
    paint(*g, 11, 10, c.terrain);
    place(*g, kSideEnemy, 0, c.target, 11, 10);
    const AttackOdds odds = attack_odds(*g, a, c.moved, g->world.enemy_units[0]);

    g->rng.seed(99);
    const int tries = 4000;
    int hits = 0;
    long long damage = 0;
    for (int i = 0; i < tries; ++i) {
      g->world.enemy_units[0].hp = 10000;
      const int32_t d = player_attack(*g, 0, 0);
      if (d == MISS) continue;
      ++hits;
      damage += d;
    }
    const double hit_percent = 100.0 * hits / tries;
    const double mean = hits > 0 ? static_cast<double>(damage) / hits : 0.0;
    // Consecutive draws of the game's generator are not quite independent: a few points off.
    EXPECT_NEAR(odds.hit_percent, hit_percent, 4.5) << c.attacker << " vs " << c.target;
    EXPECT_NEAR(odds.damage, mean, std::max(2.0, mean * 0.1)) << c.attacker << " vs " << c.target;
  }
}

class BotPlans : public testing::Test {
 protected:
  void SetUp() override {
    g_ = make_field();
    t_ = std::make_unique<Tactics>();
  }
  UnitPlan plan(int slot) {
    rebuild_occupancy(*g_);
    t_->prepare(*g_);
    return t_->plan_unit(*g_, slot);
  }
  std::unique_ptr<Game> g_;
  std::unique_ptr<Tactics> t_;
};

TEST_F(BotPlans, TakesTheLastHqWhenOneShotDoesIt) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 5, 5);
  place(*g_, kSidePlayer, 1, 4, 30, 32);
  place(*g_, kSidePlayer, 2, 9, 31, 29);
  place(*g_, kSideEnemy, 0, kEnemyHq, 30, 30).hp = 40;
  place(*g_, kSideEnemy, 1, 13, 29, 31);  // a scout, also in the riflemen's range
  const UnitPlan p = plan(1);
  EXPECT_EQ(p.kind, PlanKind::kAttackHere);
  EXPECT_EQ(p.target, 0);
  // The tank cannot take it (half damage), the riflemen can: theirs is worth far more.
  EXPECT_GT(p.score, plan(2).score);
}

TEST_F(BotPlans, WalksIntoRangeOfAVisibleEnemy) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 5, 5);
  place(*g_, kSidePlayer, 1, 9, 20, 20);
  place(*g_, kSideEnemy, 0, kEnemyHq, 50, 50);
  place(*g_, kSideEnemy, 1, 15, 29, 20);
  const UnitPlan p = plan(1);
  ASSERT_EQ(p.kind, PlanKind::kMoveAttack);
  EXPECT_EQ(p.target, 1);
  const TUnitSpec& tank = g_->world.unit_specs[9];
  EXPECT_LE(std::abs(p.dest_x - 29) + std::abs(p.dest_y - 20), tank.range);
  build_move_cost(*g_, tank.move, kMoveClassGround, kRingEnemyUnits);
  compute_reach(*g_, 20, 20);
  EXPECT_LE(g_->rules.reach[p.dest_x][p.dest_y], tank.move);
}

TEST_F(BotPlans, ShootsIntoTheFogInRangeButWalksOnlyTowardWhatItSaw) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 5, 5);
  place(*g_, kSidePlayer, 1, 9, 20, 20);
  place(*g_, kSideEnemy, 0, kEnemyHq, 50, 20);
  // Riflemen in the fog eight cells off: within a walk and a shot, but never seen.
  place(*g_, kSideEnemy, 1, 15, 28, 20);
  g_->world.vision[kSidePlayer][28][20] = 0;
  UnitPlan p = plan(1);
  ASSERT_EQ(p.kind, PlanKind::kMove);
  EXPECT_LT(std::abs(p.dest_x - 50) + std::abs(p.dest_y - 20), 30);
  // Seen once, they are walked up to even when the fog has closed over them again.
  g_->world.vision[kSidePlayer][28][20] = 1;
  t_->refresh_known(*g_);
  g_->world.vision[kSidePlayer][28][20] = 0;
  p = plan(1);
  ASSERT_EQ(p.kind, PlanKind::kMoveAttack);
  EXPECT_EQ(p.target, 1);
  // Inside the range outline the fog hides nothing from the shot, as for the computer's units.
  t_->forget();
  g_->world.enemy_units[1].x = 24;
  p = plan(1);
  EXPECT_EQ(p.kind, PlanKind::kAttackHere);
  EXPECT_EQ(p.target, 1);
}

TEST_F(BotPlans, ABadlyHurtUnitGoesHomeForRepairs) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 10, 10);
  place(*g_, kSidePlayer, 1, 9, 30, 10).hp = 30;
  place(*g_, kSideEnemy, 0, kEnemyHq, 50, 10);
  const UnitPlan p = plan(1);
  ASSERT_EQ(p.kind, PlanKind::kMove);
  EXPECT_LT(std::abs(p.dest_x - 10) + std::abs(p.dest_y - 10), 20);
  // Beside the HQ it stays where the repairs reach it.
  g_->world.player_units[1].x = 11;
  EXPECT_EQ(plan(1).kind, PlanKind::kNothing);
}

TEST_F(BotPlans, UnitsNearAThreatenedHqTurnOnTheThreat) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 10, 10);
  place(*g_, kSidePlayer, 1, 9, 14, 16);
  place(*g_, kSideEnemy, 0, kEnemyHq, 50, 50);
  // An enemy tank four cells from our HQ, out of the tank's reach this turn.
  place(*g_, kSideEnemy, 1, 20, 6, 10);
  paint(*g_, 7, 13, 2);
  const UnitPlan p = plan(1);
  ASSERT_NE(p.kind, PlanKind::kNothing);
  const int before = std::abs(14 - 6) + std::abs(16 - 10);
  EXPECT_LT(std::abs(p.dest_x - 6) + std::abs(p.dest_y - 10), before);
}

TEST_F(BotPlans, BuysWhatTheSituationAsks) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 10, 10);
  place(*g_, kSideEnemy, 0, kEnemyHq, 50, 50);
  // An ordinary stage: no aircraft and no anti-aircraft guns on offer.
  for (int t : {8, 10, 11, 19, 21, 22}) g_->world.unit_specs[t].cost = NO_AIR;
  const struct {
    int sp;
    int riflemen;
    int scouts;
    int guns;
    int tanks;
    int expect;
  } cases[] = {
      {1, 0, 0, 0, 0, 4},   // riflemen first, to take HQs
      {1, 2, 0, 0, 0, 2},   // then scouts, to see
      {3, 2, 2, 0, 0, 6},   // then guns
      {2, 2, 2, 0, 0, 0},   // a gun is out of reach: save up
      {5, 2, 2, 1, 0, 9},   // a tank for every gun
      {12, 2, 2, 4, 1, 9},  // the second tank at 10
      {4, 3, 2, 4, 4, 4},   // tanks enough: more riflemen
      {40, 4, 2, 8, 4, 9},  // guns enough: tanks while affordable
      {24, 4, 2, 8, 4, 0},  // the fifth tank costs 25: save up
  };
  g_->world.unit_specs[kPlayerHq].max_sp = 100;
  for (const auto& c : cases) {
    for (int s = 1; s < kRosterSlots; ++s) g_->world.player_units[s] = TUnit{};
    int slot = 1;
    const int counts[4][2] = {{4, c.riflemen}, {2, c.scouts}, {6, c.guns}, {9, c.tanks}};
    for (const auto& kind : counts) {
      for (int i = 0; i < kind[1]; ++i, ++slot)
        place(*g_, kSidePlayer, slot, kind[0], 20 + slot, 30);
    }
    g_->world.player_units[0].sp = c.sp;
    recount_types(*g_);
    rebuild_occupancy(*g_);
    t_->prepare(*g_);
    EXPECT_EQ(t_->purchase(*g_, 0), c.expect) << "sp " << c.sp << " riflemen " << c.riflemen
                                              << " guns " << c.guns << " tanks " << c.tanks;
  }
  // Enemy aircraft seen: anti-aircraft guns where the stage offers them.
  g_->world.unit_specs[8].cost = 2;
  place(*g_, kSideEnemy, 1, 21, 40, 40);
  g_->world.player_units[0].sp = 10;
  rebuild_occupancy(*g_);
  t_->prepare(*g_);
  EXPECT_EQ(t_->purchase(*g_, 0), 8);
  g_->world.enemy_units[1] = TUnit{};
  g_->world.unit_specs[8].cost = NO_AIR;
  // Never a twentieth unit.
  for (int s = 1; s <= kMaxOwnUnits; ++s) place(*g_, kSidePlayer, s, 2, 20 + s, 40);
  g_->world.player_units[0].sp = 100;
  recount_types(*g_);
  EXPECT_EQ(t_->purchase(*g_, 0), 0);
}

TEST_F(BotPlans, NewUnitsStandOnTheFreeCellNearestTheEnemy) {
  place(*g_, kSidePlayer, 0, kPlayerHq, 10, 10);
  place(*g_, kSideEnemy, 0, kEnemyHq, 50, 10);
  rebuild_occupancy(*g_);
  t_->prepare(*g_);
  EXPECT_EQ(t_->deploy_dir(*g_, 0), 2);  // right, toward the enemy
  place(*g_, kSidePlayer, 1, 4, 11, 10);
  paint(*g_, 10, 9, 1);  // sea above
  rebuild_occupancy(*g_);
  t_->prepare(*g_);
  const int dir = t_->deploy_dir(*g_, 0);
  EXPECT_TRUE(dir == 3 || dir == 4) << dir;
  place(*g_, kSidePlayer, 2, 4, 10, 11);
  place(*g_, kSidePlayer, 3, 4, 9, 10);
  rebuild_occupancy(*g_);
  EXPECT_EQ(t_->deploy_dir(*g_, 0), 0);
}

}  // namespace
