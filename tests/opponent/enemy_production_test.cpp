#include "opponent/enemy_production.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "opponent_fixture.h"

using opponent_test::make_game;
using opponent_test::paint;
using opponent_test::place;

namespace {

struct DrawCase {
  const char* name;
  std::vector<int> priced_out;  // types whose cost is set to 900
  int32_t sp;
  std::vector<int32_t> offer;  // the first ten entries
  std::map<int, int> built;    // type -> how many of 100 draws build it
};

void PrintTo(const DrawCase& c, std::ostream* os) {
  *os << c.name;
}

class ProductionDraw : public ::testing::TestWithParam<DrawCase> {};

std::unique_ptr<Game> game_with_prices(const DrawCase& c) {
  auto g = make_game();
  for (int type : c.priced_out) g->world.unit_specs[type].cost = 900;
  return g;
}

TEST_P(ProductionDraw, OfferListAndWeighting) {
  const DrawCase& c = GetParam();
  {
    auto g = game_with_prices(c);
    int32_t offer[kOfferEntries];
    ASSERT_TRUE(build_offer_list(*g, c.sp, offer));
    for (int k = 0; k < 10; ++k) EXPECT_EQ(offer[k], c.offer[k]) << "entry " << k;
  }
  // Every draw 0 to 99 once, each on a fresh field with one HQ facing one player HQ.
  std::map<int, int> built;
  for (int32_t r = 0; r < 100; ++r) {
    auto g = game_with_prices(c);
    place(*g, kSideEnemy, 0, kEnemyHq, 20, 20).sp = c.sp;
    place(*g, kSidePlayer, 0, kPlayerHq, 40, 40);
    // The generator's raw value: only its remainder by 100 counts.
    const int32_t script[] = {r + 300};
    g->rng.script = script;
    g->rng.script_length = 1;
    pair_hqs(*g);
    const int32_t slot = enemy_produce(*g);
    ASSERT_NE(slot, kNone) << "draw " << r;
    const TUnit& unit = g->world.enemy_units[slot];
    built[unit.type] += 1;
    EXPECT_EQ(g->world.enemy_units[0].sp, c.sp - g->world.unit_specs[unit.type].cost);
    EXPECT_EQ(g->rng.script_pos, 1);
  }
  EXPECT_EQ(built, c.built);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ProductionDraw,
    ::testing::Values(DrawCase{"all_ten_affordable",
                               {},
                               13,
                               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                               {{19, 30}, {18, 25}, {17, 15}, {16, 15}, {15, 5}, {14, 5}, {13, 5}}},
                      DrawCase{"anti_air_and_aircraft_withheld",
                               {19, 21, 22},
                               13,
                               {0, 1, 2, 3, 4, 5, 7, 7, 7, 7},
                               {{20, 30}, {18, 25}, {17, 15}, {16, 15}, {15, 5}, {14, 5}, {13, 5}}},
                      DrawCase{"two_cheapest_only",
                               {15, 16, 17, 18, 19, 20, 21, 22},
                               8,
                               {0, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                               {{14, 95}, {13, 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EnemyProduce, BelowEightSpNothingIsBoughtAndTheHqStaysReady) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kEnemyHq, 20, 20).sp = 7;
  place(*g, kSidePlayer, 0, kPlayerHq, 40, 40);
  const int32_t script[] = {0};
  g->rng.script = script;
  g->rng.script_length = 1;
  pair_hqs(*g);
  EXPECT_EQ(enemy_produce(*g), kNone);
  EXPECT_EQ(g->world.enemy_units[0].sp, 7);
  EXPECT_EQ(g->world.enemy_units[0].ready, 1);
  EXPECT_EQ(g->rng.script_pos, 0);
  EXPECT_EQ(g->world.enemy_units[1].type, 0);
}

TEST(EnemyProduce, PlacesAboveFirstAndSkipsLandThatCannotTakeAUnit) {
  const struct {
    const char* name;
    int hq_y;
    std::vector<CellPoint> sea;       // cells painted sea
    std::vector<CellPoint> occupied;  // cells holding a computer position
    CellPoint expected;               // x 0: nothing placed
  } cases[] = {
      {"above", 20, {}, {}, {20, 19}},
      {"above_is_sea", 20, {{20, 19}}, {}, {21, 20}},
      {"above_and_right_taken", 20, {}, {{20, 19}, {21, 20}}, {20, 21}},
      {"only_left", 20, {{20, 19}, {21, 20}}, {{20, 21}}, {19, 20}},
      {"outer_ring_above", 1, {}, {}, {21, 1}},
      {"walled_in", 20, {{20, 19}, {21, 20}, {19, 20}}, {{20, 21}}, {0, 0}},
  };
  for (const auto& c : cases) {
    auto g = make_game();
    for (const CellPoint& p : c.sea) paint(*g, p.x, p.y, opponent_test::kSea);
    int slot = 10;
    for (const CellPoint& p : c.occupied) place(*g, kSideEnemy, slot++, 23, p.x, p.y);
    place(*g, kSideEnemy, 0, kEnemyHq, 20, c.hq_y).sp = 40;
    place(*g, kSideEnemy, 1, kEnemyHq, 50, 50).sp = 40;
    place(*g, kSidePlayer, 0, kPlayerHq, 30, 30);
    const int32_t script[] = {0};  // entry 6 of the offers: type 19 at 4 SP
    g->rng.script = script;
    g->rng.script_length = 1;
    pair_hqs(*g);
    const int32_t placed = enemy_produce(*g);
    const WorldState& w = g->world;
    EXPECT_EQ(w.enemy_units[0].ready, 0) << c.name;  // the attempt is used up either way
    EXPECT_EQ(w.enemy_units[1].ready, 1) << c.name;
    if (c.expected.x == 0) {
      EXPECT_EQ(placed, kNone) << c.name;
      EXPECT_EQ(w.enemy_units[0].sp, 40) << c.name;  // nothing placed, nothing paid
      EXPECT_EQ(w.unit_specs[19].count, 0) << c.name;
    } else {
      ASSERT_NE(placed, kNone) << c.name;
      EXPECT_EQ(w.enemy_units[placed].type, 19) << c.name;
      EXPECT_EQ(w.enemy_units[placed].x, c.expected.x) << c.name;
      EXPECT_EQ(w.enemy_units[placed].y, c.expected.y) << c.name;
      EXPECT_EQ(w.enemy_units[placed].ready, 1) << c.name;
      EXPECT_EQ(w.enemy_units[placed].hp, 60) << c.name;
      EXPECT_EQ(w.enemy_units[0].sp, 36) << c.name;
    }
    EXPECT_EQ(w.enemy_units[1].sp, w.enemy_units[0].sp) << c.name;  // one purse
  }
}

TEST(EnemyProduce, AFullRosterKeepsEveryUnitAndPaysNothing) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kEnemyHq, 20, 20).sp = 40;
  for (int slot = 1; slot < kRosterSlots; ++slot) place(*g, kSideEnemy, slot, 13, slot, 40);
  place(*g, kSidePlayer, 0, kPlayerHq, 30, 30);
  const int32_t script[] = {0};
  g->rng.script = script;
  g->rng.script_length = 1;
  pair_hqs(*g);
  EXPECT_EQ(enemy_produce(*g), kNone);
  const TUnit& last = g->world.enemy_units[kRosterSlots - 1];
  EXPECT_EQ(last.type, 13);
  EXPECT_EQ(last.x, kRosterSlots - 1);
  EXPECT_EQ(g->world.enemy_units[0].sp, 40);
  EXPECT_EQ(g->world.enemy_units[0].ready, 0);
  EXPECT_EQ(g->world.occupancy[20][19], kNoUnit);
}

TEST(EnemyProduce, NearestHqBuysFirstAndEachUnitOfATypeRaisesItsPrice) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, kEnemyHq, 50, 50).sp = 100;
  place(*g, kSideEnemy, 1, kEnemyHq, 20, 20).sp = 100;
  place(*g, kSideEnemy, 2, kEnemyHq, 30, 30).sp = 100;
  place(*g, kSidePlayer, 0, kPlayerHq, 10, 10);
  const int32_t script[] = {0, 0, 0, 0};  // type 19 every time
  g->rng.script = script;
  g->rng.script_length = 4;
  pair_hqs(*g);
  const struct {
    int hq;
    int32_t sp_after;
  } steps[] = {{1, 96}, {2, 88}, {0, 76}};
  for (const auto& s : steps) {
    const int32_t placed = enemy_produce(*g);
    ASSERT_NE(placed, kNone);
    const TUnit& hq = g->world.enemy_units[s.hq];
    EXPECT_EQ(g->world.enemy_units[placed].x, hq.x);
    EXPECT_EQ(g->world.enemy_units[placed].y, hq.y - 1);
    EXPECT_EQ(hq.ready, 0);
    for (int h = 0; h < 3; ++h) EXPECT_EQ(g->world.enemy_units[h].sp, s.sp_after) << h;
  }
  // Every HQ has had its attempt.
  EXPECT_EQ(enemy_produce(*g), kNone);
  EXPECT_EQ(g->rng.script_pos, 3);
}

TEST(PairHqs, PairsTheFirstElevenOfEachSideNearestFirst) {
  auto g = make_game();
  for (int h = 0; h < 12; ++h) {
    place(*g, kSidePlayer, h + 3, kPlayerHq, 2 + 2 * h, 5);
    place(*g, kSideEnemy, h + 1, kEnemyHq, 2 + 2 * h, 50);
  }
  pair_hqs(*g);
  int n = 0;
  for (const TPair& p : g->rules.pair_list) {
    if (p.distance == kNone) break;
    EXPECT_NE(p.p_slot, 14);  // the twelfth HQs take no part
    EXPECT_NE(p.e_slot, 12);
    if (n > 0) {
      EXPECT_LE(g->rules.pair_list[n - 1].distance, p.distance);
    }
    ++n;
  }
  EXPECT_EQ(n, 100);  // 121 pairs, of which the list holds 100
  EXPECT_EQ(g->rules.pair_list[0].distance, 45);

  auto none = make_game();
  place(*none, kSideEnemy, 0, kEnemyHq, 20, 20).sp = 50;
  pair_hqs(*none);
  EXPECT_EQ(none->rules.pair_list[0].distance, kNone);
  EXPECT_EQ(enemy_produce(*none), kNone);
  EXPECT_EQ(none->world.enemy_units[0].ready, 1);
}

}  // namespace
