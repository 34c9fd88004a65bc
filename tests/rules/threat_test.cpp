#include "rules/threat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "rules/combat.h"
#include "rules/reach.h"
#include "rules/rules_fixture.h"

namespace {

using fixture::make_game;
using fixture::paint;
using fixture::place;

constexpr int kEnemyTank = 20;      // move 12, range 5
constexpr int kEnemyRifles = 15;    // infantry: they storm HQs
constexpr int kEnemyPosition = 23;  // move 0, range 4
constexpr int kTank = 9;

void see(Game& g, int x, int y) {
  g.world.vision[kSidePlayer][x][y] = 1;
}

std::unique_ptr<ThreatMap> threat_of(const Game& g) {
  auto t = std::make_unique<ThreatMap>();
  fill_threat_map(g, *t);
  return t;
}

// What the threat should be, the slow way: for every seen computer unit that acts, the reach of
// the rules' own search on the game's grids, and every cell within its range of a reachable one.
std::unique_ptr<ThreatMap> threat_the_slow_way(Game& g) {
  auto t = std::make_unique<ThreatMap>();
  for (const TUnit& u : g.world.enemy_units) {
    if (u.type < 13 || u.type > 25 || g.world.vision[kSidePlayer][u.x][u.y] != 1) continue;
    const TUnitSpec& s = g.world.unit_specs[u.type];
    build_move_cost(g, s.move, move_class_of(s), kRingPlayerUnits);
    compute_reach(g, u.x, u.y);
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        if (g.rules.reach[x][y] > s.move && !(x == u.x && y == u.y)) continue;
        for (int cx = 0; cx < kMapSize; ++cx) {
          for (int cy = 0; cy < kMapSize; ++cy) {
            if (std::abs(cx - x) + std::abs(cy - y) <= s.range) t->cells[cx][cy] = 1;
          }
        }
      }
    }
  }
  return t;
}

int marked(const ThreatMap& t) {
  int n = 0;
  for (const auto& column : t.cells) {
    for (uint8_t c : column) n += c;
  }
  return n;
}

TEST(ThreatMap, ASeenTankStrikesItsMovePlusItsRangeAway) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kEnemyTank, 30, 30);
  see(*g, 30, 30);
  const auto t = threat_of(*g);
  // Open plain: it reaches 12 cells in any direction and shoots 5 further.
  EXPECT_EQ(t->cells[47][30], 1);
  EXPECT_EQ(t->cells[48][30], 0);
  EXPECT_EQ(t->cells[30][13], 1);
  EXPECT_EQ(t->cells[30][12], 0);
  EXPECT_EQ(t->cells[38][39], 1);  // 17 away on a slant
  EXPECT_EQ(t->cells[39][39], 0);
  EXPECT_EQ(t->cell_count, marked(*t));
}

TEST(ThreatMap, OnlySeenUnitsThatActCount) {
  struct Case {
    const char* name;
    int type;
    bool seen;
    int cells;
  };
  const Case cases[] = {
      {"a tank in the fog", kEnemyTank, false, 0},
      {"a seen HQ, which never moves or shoots in its turn", kEnemyHq, true, 0},
      {"a seen position: it stays and shoots 4 cells", kEnemyPosition, true, 2 * 4 * 5 + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSideEnemy, 0, c.type, 30, 30);
    if (c.seen) see(*g, 30, 30);
    EXPECT_EQ(threat_of(*g)->cell_count, c.cells);
  }
}

// Random boards of mixed terrain and crowded rosters, some of the computer's units in sight:
// the same cells as the slow way.
TEST(ThreatMap, MatchesTheRulesReachWidenedByTheRange) {
  std::mt19937 pick(7);
  const auto any = [&pick](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(pick);
  };
  for (int board = 0; board < 6; ++board) {
    SCOPED_TRACE("board " + std::to_string(board));
    auto g = make_game();
    for (int x = 1; x < 63; ++x) {
      for (int y = 1; y < 63; ++y) paint(*g, x, y, any(1, 11));
    }
    for (int slot = 0; slot < 12; ++slot) {
      place(*g, kSidePlayer, slot, any(1, 11), any(1, 62), any(1, 62));
      TUnit& e = place(*g, kSideEnemy, slot, any(12, 25), any(1, 62), any(1, 62));
      if (any(0, 2) != 0) see(*g, e.x, e.y);
    }
    const auto fast = threat_of(*g);
    const auto slow = threat_the_slow_way(*g);
    int wrong = 0;
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) wrong += fast->cells[x][y] != slow->cells[x][y];
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(marked(*slow), 0);
  }
}

// An HQ is in danger when the best hits of the seen units that reach it add up to its hit points.
TEST(ThreatMap, HqsTheSeenUnitsCouldTakeTogether) {
  struct Case {
    const char* name;
    int type;
    int attackers;
    int hq_hp;
    bool danger;
  };
  // A tank's best hit on an HQ on plain: 2 x (2 x 50 - 55) = 90, a fifth more less one: 107,
  // halved against an HQ: 53. Riflemen: 2 x (160 - 55) = 210 + 41 = 251, doubled: 502.
  const Case cases[] = {
      {"one tank, 53 short of 54", kEnemyTank, 1, 54, false},
      {"one tank, 53 on 53", kEnemyTank, 1, 53, true},
      {"two tanks together on 106", kEnemyTank, 2, 106, true},
      {"two tanks, 106 short of 107", kEnemyTank, 2, 107, false},
      {"riflemen on a full HQ", kEnemyRifles, 1, 200, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 4, kPlayerHq, 30, 30).hp = c.hq_hp;
    for (int k = 0; k < c.attackers; ++k) {
      place(*g, kSideEnemy, k, c.type, 30 + k, 26);
      see(*g, 30 + k, 26);
    }
    const auto t = threat_of(*g);
    EXPECT_EQ(t->hq_in_danger[4], c.danger);
  }
}

TEST(ThreatMap, AnHqOutOfReachIsSafe) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, kPlayerHq, 10, 10).hp = 1;
  place(*g, kSideEnemy, 0, kEnemyRifles, 40, 40);  // move 6, range 3
  see(*g, 40, 40);
  EXPECT_EQ(threat_of(*g)->hq_in_danger[0], 0);
}

TEST(ThreatBoardKey, ChangesWithTheUnitsAndWhatIsSeen) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, kTank, 10, 10);
  place(*g, kSideEnemy, 0, kEnemyTank, 20, 20);
  const uint64_t start = threat_board_key(*g);
  EXPECT_EQ(threat_board_key(*g), start) << "nothing changed";
  g->world.vision[kSidePlayer][5][5] = 1;
  EXPECT_EQ(threat_board_key(*g), start) << "sight of an empty cell";
  const struct {
    const char* name;
    void (*change)(Game&);
  } changes[] = {
      {"a player unit moves", [](Game& g) { g.world.player_units[0].x = 11; }},
      {"an enemy is hurt", [](Game& g) { g.world.enemy_units[0].hp = 50; }},
      {"an enemy comes into sight", [](Game& g) { g.world.vision[kSidePlayer][20][20] = 1; }},
      {"a unit joins", [](Game& g) { g.world.enemy_units[5].type = 13; }},
  };
  for (const auto& c : changes) {
    auto changed = std::make_unique<Game>(*g);
    c.change(*changed);
    EXPECT_NE(threat_board_key(*changed), start) << c.name;
  }
}

}  // namespace
