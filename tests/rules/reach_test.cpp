#include "rules/reach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "rules/reach_reference.h"
#include "rules/rules_fixture.h"

namespace {

using fixture::make_game;
using fixture::paint;
using fixture::place;

constexpr int kForest = 5;
constexpr int kSea = 1;
constexpr int kRock = 2;
constexpr int kWater = 3;
constexpr int kNoTerrain = 12;  // costs nothing for either class

// Builds the grids for the unit in `slot` of `side`, as the move command does.
void reach_for(Game& g, int side, int slot) {
  const TUnit& u = side == kSidePlayer ? g.world.player_units[slot] : g.world.enemy_units[slot];
  const TUnitSpec& stats = g.world.unit_specs[u.type];
  build_move_cost(g, stats.move, stats.air == 1 ? kMoveClassAir : kMoveClassGround,
                  side == kSidePlayer ? kRingEnemyUnits : kRingPlayerUnits);
  compute_reach(g, u.x, u.y);
}

int count_finite(const Game& g) {
  int n = 0;
  for (const auto& column : g.rules.reach) {
    for (int32_t v : column) n += v != kNone ? 1 : 0;
  }
  return n;
}

TEST(Reach, WorkedExampleAroundAForest) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  paint(*g, 11, 10, kForest);
  reach_for(*g, kSidePlayer, 0);

  const auto& reach = g->rules.reach;
  EXPECT_EQ(reach[11][10], 3);
  EXPECT_EQ(reach[12][10], 4);
  EXPECT_EQ(reach[13][10], 5);
  EXPECT_EQ(reach[10][12], 2);
  EXPECT_EQ(reach[11][11], 2);
  EXPECT_EQ(reach[9][10], 1);
  EXPECT_EQ(reach[10][10], kNone);  // the mover's own cell is no destination
  EXPECT_TRUE(within_move(*g, 11, 10, 3));
  EXPECT_FALSE(within_move(*g, 12, 10, 3));
  EXPECT_FALSE(within_move(*g, 10, 10, 3));
  // The whole map is filled, far beyond the move, and the border is never reached.
  EXPECT_EQ(reach[62][62], 52 + 52);
  EXPECT_EQ(reach[1][1], 18);
  for (int i = 0; i < kMapSize; ++i) {
    EXPECT_EQ(reach[0][i], kNone);
    EXPECT_EQ(reach[63][i], kNone);
    EXPECT_EQ(reach[i][0], kNone);
    EXPECT_EQ(reach[i][63], kNone);
  }
  EXPECT_FALSE(within_move(*g, -1, 10, 100));
  EXPECT_FALSE(within_move(*g, 10, 64, 100));
}

struct RingCase {
  const char* name;
  int mover_type;
  int mover_side;
  int hinderer_type;
  bool rings;
};

// A mover at (10,10) and another unit at (14,10): the cells around the other unit cost the
// mover's whole move when it can attack the mover's class.
TEST(Reach, RingsOnlyWhereTheUnitCanAttackTheMoversClass) {
  const RingCase cases[] = {
      {"tank by enemy tank", 9, kSidePlayer, 20, true},
      {"tank by enemy HQ", 9, kSidePlayer, 12, true},
      {"tank by enemy AA gun", 9, kSidePlayer, 19, false},
      {"tank by enemy fighter", 9, kSidePlayer, 22, false},
      {"infantry by enemy defensive position", 3, kSidePlayer, 23, true},
      {"infantry by enemy reserve squad", 3, kSidePlayer, 24, true},
      {"bomber by enemy tank", 10, kSidePlayer, 20, false},
      {"bomber by enemy AA gun", 10, kSidePlayer, 19, true},
      {"bomber by enemy fighter", 10, kSidePlayer, 22, true},
      {"bomber by enemy HQ", 10, kSidePlayer, 12, true},
      {"bomber by enemy bomber", 10, kSidePlayer, 21, false},
      {"enemy tank by player tank", 20, kSideEnemy, 9, true},
      {"enemy tank by player AA gun", 20, kSideEnemy, 8, false},
      {"enemy bomber by player AA gun", 21, kSideEnemy, 8, true},
      {"enemy bomber by player HQ", 21, kSideEnemy, 1, true},
      {"enemy fighter by player scout", 22, kSideEnemy, 2, false},
  };
  for (const RingCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, c.mover_side, 0, c.mover_type, 10, 10);
    place(*g, 1 - c.mover_side, 5, c.hinderer_type, 14, 10);
    reach_for(*g, c.mover_side, 0);
    const int move = g->world.unit_specs[c.mover_type].move;
    const int ring_cost = c.rings ? move : 1;
    EXPECT_EQ(g->rules.move_cost[14][11], ring_cost);
    EXPECT_EQ(g->rules.move_cost[15][10], ring_cost);
    EXPECT_EQ(g->rules.move_cost[14][9], ring_cost);
    EXPECT_EQ(g->rules.move_cost[13][10], ring_cost);
    EXPECT_EQ(g->rules.move_cost[12][10], 1);
    EXPECT_EQ(g->rules.move_cost[14][10], 1);  // the unit's own cell keeps its terrain cost
    // (13,10) is three steps away: within the move only when it costs 1.
    EXPECT_EQ(g->rules.reach[13][10], c.rings ? 2 + move : 3);
    EXPECT_EQ(g->rules.reach[14][10], kNone);  // never entered, ringed or not
  }
}

TEST(Reach, ARingCellIsADestinationOnlyAsTheFirstStep) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);  // tank, move 12
  place(*g, kSideEnemy, 0, 20, 12, 10);  // rings (11,10), (13,10), (12,9), (12,11)
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(g->rules.reach[11][10], 12);
  EXPECT_TRUE(within_move(*g, 11, 10, 12));
  EXPECT_EQ(g->rules.reach[12][11], 12 + 2);
  EXPECT_FALSE(within_move(*g, 12, 11, 12));
}

TEST(Reach, WaterIsOnlyAFirstStepForGroundUnits) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 3, 10, 10);  // assault infantry, move 6
  paint(*g, 11, 10, kWater);
  paint(*g, 10, 12, kWater);
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(g->rules.move_cost[11][10], 6);
  EXPECT_EQ(g->rules.reach[11][10], 6);
  EXPECT_TRUE(within_move(*g, 11, 10, 6));
  EXPECT_EQ(g->rules.reach[10][12], 7);
  EXPECT_FALSE(within_move(*g, 10, 12, 6));

  // An aircraft flies over water at its usual cost.
  place(*g, kSidePlayer, 0, 11, 10, 10);
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(g->rules.reach[11][10], 1);
  EXPECT_EQ(g->rules.reach[10][12], 2);
}

struct SeaCase {
  const char* name;
  int terrain;
  bool hindered;
  int32_t expected;
};

TEST(Reach, ImpassableCellNextToAHinderingUnitTakesTheRingValue) {
  const SeaCase cases[] = {
      {"sea, no unit near", kSea, false, kNone},   {"sea beside enemy", kSea, true, 6},
      {"rock, no unit near", kRock, false, kNone}, {"rock beside enemy", kRock, true, 6},
      {"no terrain beside enemy", 0, true, 6},
  };
  for (const SeaCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, 2, 10, 10);  // scout, move 6
    paint(*g, 11, 10, c.terrain);
    if (c.hindered) place(*g, kSideEnemy, 0, 13, 12, 10);
    reach_for(*g, kSidePlayer, 0);
    EXPECT_EQ(g->rules.reach[11][10], c.expected);
  }
}

TEST(Reach, UnitsOfBothSidesBlockTheWay) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  place(*g, kSidePlayer, 1, 2, 11, 10);  // own scout in the way
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(g->rules.reach[11][10], kNone);
  EXPECT_EQ(g->rules.reach[12][10], 4);  // around it

  // An aircraft is blocked the same way, even by units that cannot touch it.
  place(*g, kSidePlayer, 0, 10, 10, 10);
  place(*g, kSideEnemy, 0, 20, 9, 10);
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(g->rules.reach[9][10], kNone);
  EXPECT_EQ(g->rules.reach[11][10], kNone);
  EXPECT_EQ(g->rules.reach[8][10], 4);
  EXPECT_EQ(g->rules.move_cost[8][10], 1);  // the tank rings no aircraft
}

TEST(Reach, AWalledInUnitReachesNothing) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  place(*g, kSidePlayer, 1, 2, 11, 10);
  place(*g, kSideEnemy, 0, 19, 9, 10);  // an AA gun: blocks without ringing
  paint(*g, 10, 11, kSea);
  paint(*g, 10, 9, kRock);
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(count_finite(*g), 0);
}

TEST(Reach, CellsWithoutCostShareTheirNeighboursValue) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  paint(*g, 11, 10, kNoTerrain);
  paint(*g, 12, 10, kNoTerrain);
  reach_for(*g, kSidePlayer, 0);
  EXPECT_EQ(g->rules.reach[11][10], 0);
  EXPECT_EQ(g->rules.reach[12][10], 0);
  EXPECT_EQ(g->rules.reach[13][10], 1);
  EXPECT_TRUE(within_move(*g, 12, 10, 0));
}

TEST(Reach, AStartCellWithoutAUnitKeepsZero) {
  auto g = make_game();
  build_move_cost(*g, 6, kMoveClassGround, kRingEnemyUnits);
  compute_reach(*g, 20, 20);
  EXPECT_EQ(g->rules.reach[20][20], 0);
  EXPECT_EQ(g->rules.reach[21][20], 1);
}

TEST(Reach, StartOffTheGridReachesNothing) {
  auto g = make_game();
  build_move_cost(*g, 6, kMoveClassGround, kRingEnemyUnits);
  for (const auto& start : {std::pair{-1, 10}, std::pair{10, 64}, std::pair{1000, -1000}}) {
    compute_reach(*g, start.first, start.second);
    EXPECT_EQ(count_finite(*g), 0);
  }
}

TEST(Reach, StartOnTheBorderStaysInsideTheGrid) {
  auto g = make_game();
  build_move_cost(*g, 6, kMoveClassGround, kRingEnemyUnits);
  compute_reach(*g, 0, 0);
  EXPECT_EQ(g->rules.reach[0][0], kNone);
  EXPECT_EQ(count_finite(*g), 0);  // its neighbours are border cells too
  compute_reach(*g, 0, 10);
  EXPECT_EQ(g->rules.reach[0][10], kNone);
  EXPECT_EQ(g->rules.reach[1][10], 1);
  EXPECT_EQ(g->rules.reach[2][11], 3);
}

TEST(Reach, NegativeMoveCountsAsNoCost) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 3, 10, 10);
  place(*g, kSideEnemy, 0, 13, 12, 10);
  paint(*g, 10, 12, kWater);
  build_move_cost(*g, -5, kMoveClassGround, kRingEnemyUnits);
  EXPECT_EQ(g->rules.move_cost[11][10], -5);
  compute_reach(*g, 10, 10);
  EXPECT_EQ(g->rules.reach[11][10], 0);
  EXPECT_EQ(g->rules.reach[10][12], 1);
  EXPECT_EQ(g->rules.reach[10][11], 1);
}

struct CostCase {
  int terrain;
  int move_class;
  int32_t expected;
};

TEST(MoveCost, TerrainCostsPerClassWithDamagedCodesAsNoTerrain) {
  const CostCase cases[] = {
      {8, kMoveClassGround, 1},    {8, kMoveClassAir, 1},         {4, kMoveClassGround, 4},
      {3, kMoveClassGround, 7},  // water: the whole move
      {3, kMoveClassAir, 1},       {1, kMoveClassGround, kNone},  {1, kMoveClassAir, 1},
      {0, kMoveClassAir, kNone},   {12, kMoveClassGround, 0},     {13, kMoveClassAir, 0},
      {15, kMoveClassGround, 2},   {16, kMoveClassGround, kNone}, {16, kMoveClassAir, kNone},
      {127, kMoveClassAir, kNone}, {-1, kMoveClassGround, kNone}, {-128, kMoveClassAir, kNone},
  };
  for (const CostCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.terrain) + " class " + std::to_string(c.move_class));
    auto g = make_game(c.terrain);
    build_move_cost(*g, 7, c.move_class, kRingEnemyUnits);
    EXPECT_EQ(g->rules.move_cost[30][30], c.expected);
  }
}

TEST(MoveCost, OtherClassesLeaveTheGridAlone) {
  auto g = make_game();
  build_move_cost(*g, 7, kMoveClassGround, kRingEnemyUnits);
  for (int move_class : {-1, 2, 100}) {
    build_move_cost(*g, 3, move_class, kRingEnemyUnits);
    EXPECT_EQ(g->rules.move_cost[30][30], 1);
  }
}

TEST(MoveCost, RingsStayOnTheGridAndIgnoreDamagedTypes) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, 20, 0, 0);  // corner: only (0,1) and (1,0) exist
  place(*g, kSideEnemy, 1, 20, 63, 63);
  TUnit& broken = place(*g, kSideEnemy, 2, 20, 30, 30);
  broken.type = 99;
  build_move_cost(*g, 9, kMoveClassGround, kRingEnemyUnits);
  EXPECT_EQ(g->rules.move_cost[0][1], 9);
  EXPECT_EQ(g->rules.move_cost[1][0], 9);
  EXPECT_EQ(g->rules.move_cost[62][63], 9);
  EXPECT_EQ(g->rules.move_cost[63][62], 9);
  EXPECT_EQ(g->rules.move_cost[31][30], 1);
}

// Random terrain of every code (and some damaged bytes), units of both sides (a few with types
// the rules must not count as blockers), movers of either side and class; the fast grid must
// equal the depth-first relaxation cell for cell.
TEST(Reach, EqualsTheDepthFirstRelaxationOnRandomMaps) {
  std::mt19937 rng(20240611);
  auto fast = make_game();
  auto slow = make_game();
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  constexpr int kMaps = 300;
  for (int map = 0; map < kMaps; ++map) {
    Game& g = *fast;
    for (TUnit& u : g.world.player_units) u = TUnit{};
    for (TUnit& u : g.world.enemy_units) u = TUnit{};
    // The slow reference needs up to a quarter of a second for a whole open map, so most maps
    // keep their terrain to a random window (no terrain around it); every 75th fills the grid.
    const bool whole = map % 75 == 0;
    const int x0 = whole ? 0 : pick(0, 59);
    const int y0 = whole ? 0 : pick(0, 59);
    const int x1 = whole ? 63 : std::min(63, x0 + pick(4, 28));
    const int y1 = whole ? 63 : std::min(63, y0 + pick(4, 28));
    const int style = pick(0, 2);  // 0: all codes, 1: mostly open ground, 2: damaged bytes too
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        int code = 0;
        if (x >= x0 && x <= x1 && y >= y0 && y <= y1) {
          if (style == 1) {
            const int open[] = {4, 5, 6, 7, 8, 8, 8, 9, 9, 10, 11, 3, 1};
            code = open[pick(0, 12)];
          } else if (style == 2 && pick(0, 9) == 0) {
            code = pick(0, 1) == 0 ? pick(-128, -1) : pick(16, 127);
          } else {
            code = pick(0, 15);
          }
        }
        g.world.terrain_layer[x][y] = static_cast<int8_t>(code);
      }
    }
    const int units = pick(1, 40);
    for (int n = 0; n < units; ++n) {
      const int side = pick(0, 1);
      const int slot = pick(0, kRosterSlots - 1);
      int type = side == kSidePlayer ? pick(1, 11) : pick(12, 25);
      if (pick(0, 15) == 0) type = pick(0, kUnitSpecRows - 1);  // wrong side or no unit
      place(g, side, slot, type, pick(x0, x1), pick(y0, y1));
    }
    const int side = pick(0, 1);
    const TUnit* roster = side == kSidePlayer ? g.world.player_units : g.world.enemy_units;
    int sx = pick(0, 63);
    int sy = pick(0, 63);
    int move = pick(0, 20);
    int move_class = pick(0, 1);
    if (pick(0, 3) != 0) {  // usually a real unit of the moving side
      for (int slot = 0; slot < kRosterSlots; ++slot) {
        const TUnit& u = roster[slot];
        if (u.type == 0) continue;
        sx = u.x;
        sy = u.y;
        move = g.world.unit_specs[u.type].move;
        move_class = g.world.unit_specs[u.type].air == 1 ? kMoveClassAir : kMoveClassGround;
        break;
      }
    }
    build_move_cost(g, move, move_class, side);
    slow->world = g.world;
    slow->rules = g.rules;
    compute_reach(g, sx, sy);
    reference::compute_reach(*slow, sx, sy);

    int mismatches = 0;
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        if (g.rules.reach[x][y] != slow->rules.reach[x][y] && ++mismatches <= 3) {
          ADD_FAILURE() << "map " << map << " start (" << sx << "," << sy << ") cell (" << x << ","
                        << y << "): " << g.rules.reach[x][y] << " vs " << slow->rules.reach[x][y];
        }
      }
    }
    ASSERT_EQ(mismatches, 0);
  }
}

// Any terrain code on every cell, damaged ones included, and 15 units of any type a side.
std::unique_ptr<Game> random_board(std::mt19937& rng) {
  auto g = make_game();
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) paint(*g, x, y, static_cast<int>(rng() % 16));
  }
  for (int s = 0; s < 15; ++s) {
    place(*g, kSidePlayer, s, 1 + static_cast<int>(rng() % 11), 1 + static_cast<int>(rng() % 62),
          1 + static_cast<int>(rng() % 62));
    place(*g, kSideEnemy, s, 12 + static_cast<int>(rng() % 14), 1 + static_cast<int>(rng() % 62),
          1 + static_cast<int>(rng() % 62));
  }
  return g;
}

// The cores work in a caller's grids: the game keeps every byte, and the grids end as the
// operations leave the game's own, for both sides and both classes.
TEST(ReachCore, FillsACallersGridsAsTheOperationsFillTheGames) {
  struct Grids {
    CostGrid cost;
    CostGrid reach;
    ReachWork work;
  };
  auto mine = std::make_unique<Grids>();
  std::mt19937 rng(4242);
  for (int round = 0; round < 24; ++round) {
    SCOPED_TRACE(round);
    auto g = random_board(rng);
    const int side = round % 2 == 0 ? kSidePlayer : kSideEnemy;
    const TUnit& u =
        side == kSidePlayer ? g->world.player_units[round % 15] : g->world.enemy_units[round % 15];
    const TUnitSpec& stats = g->world.unit_specs[u.type];
    const int ring = side == kSidePlayer ? kRingEnemyUnits : kRingPlayerUnits;
    // Left over from an earlier search of the game's, so the grids must be filled, not kept.
    reach_for(*g, kSidePlayer, (round + 1) % 15);
    for (auto& column : mine->reach) std::fill(std::begin(column), std::end(column), -7);

    std::vector<unsigned char> before(sizeof(Game));
    std::memcpy(before.data(), g.get(), sizeof(Game));
    fill_move_cost(*g, stats.move, move_class_of(stats), ring, mine->cost);
    fill_reach(*g, mine->cost, u.x, u.y, mine->reach, mine->work.bucket, mine->work.next);
    EXPECT_EQ(std::memcmp(before.data(), g.get(), sizeof(Game)), 0);

    build_move_cost(*g, stats.move, move_class_of(stats), ring);
    compute_reach(*g, u.x, u.y);
    EXPECT_EQ(std::memcmp(mine->cost, g->rules.move_cost, sizeof(CostGrid)), 0);
    EXPECT_EQ(std::memcmp(mine->reach, g->rules.reach, sizeof(CostGrid)), 0);
    // The work space is empty again, ready for the next search.
    EXPECT_TRUE(std::all_of(std::begin(mine->work.bucket), std::end(mine->work.bucket),
                            [](uint16_t b) { return b == 0; }));
  }
}

}  // namespace

namespace {

// Stopped at a limit, the search gives every cell within it its exact cost and every other cell
// a value above the limit, and leaves its work space empty.
TEST(ReachCore, ALimitKeepsTheCellsWithinItExact) {
  struct Grids {
    CostGrid cost;
    CostGrid full;
    CostGrid limited;
    ReachWork work;
  };
  auto mine = std::make_unique<Grids>();
  std::mt19937 rng(99);
  int within = 0;  // cells the limits kept, over every round
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    auto g = random_board(rng);
    const TUnit& u = g->world.enemy_units[round];
    const TUnitSpec& stats = g->world.unit_specs[u.type];
    const int32_t limit = static_cast<int32_t>(rng() % 20);
    fill_move_cost(*g, stats.move, move_class_of(stats), kRingPlayerUnits, mine->cost);
    fill_reach(*g, mine->cost, u.x, u.y, mine->full, mine->work.bucket, mine->work.next);
    fill_reach(*g, mine->cost, u.x, u.y, mine->limited, mine->work.bucket, mine->work.next, limit);
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        if (mine->full[x][y] <= limit) {
          ++within;
          ASSERT_EQ(mine->limited[x][y], mine->full[x][y]) << x << ", " << y;
        } else {
          ASSERT_GT(mine->limited[x][y], limit) << x << ", " << y;
        }
      }
    }
    EXPECT_TRUE(std::all_of(std::begin(mine->work.bucket), std::end(mine->work.bucket),
                            [](uint16_t b) { return b == 0; }));
  }
  EXPECT_GT(within, 100) << "the limits kept hardly any cells: the test tried nothing";
}

}  // namespace
