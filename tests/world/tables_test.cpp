#include "world/tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "world/map_file.h"
#include "world/roster.h"
#include "world_fixture.h"

using world_test::make_game;

namespace {

TEST(UnitSpecs, EnemyRowsCarryThePlayerFiguresOfTheSameKind) {
  auto g = make_game();
  const TUnitSpec* s = g->world.unit_specs;
  for (int row = 2; row <= 11; ++row) {
    const TUnitSpec& p = s[row];
    const TUnitSpec& e = s[row + 11];
    SCOPED_TRACE(row);
    EXPECT_STREQ(p.name, e.name);
    EXPECT_EQ(p.max_hp, e.max_hp);
    EXPECT_EQ(p.max_sp, e.max_sp);
    EXPECT_EQ(p.attack_soft, e.attack_soft);
    EXPECT_EQ(p.attack_armor, e.attack_armor);
    EXPECT_EQ(p.defense_ground, e.defense_ground);
    EXPECT_EQ(p.attack_air, e.attack_air);
    EXPECT_EQ(p.defense_air, e.defense_air);
    EXPECT_EQ(p.move, e.move);
    EXPECT_EQ(p.range, e.range);
    EXPECT_EQ(p.accuracy, e.accuracy);
    EXPECT_EQ(p.evasion, e.evasion);
    EXPECT_EQ(p.cost, e.cost);
    EXPECT_EQ(p.air, e.air);
    EXPECT_EQ(p.sight, e.sight);
  }
}

TEST(UnitSpecs, EveryUnitImageIsTheObjectCodeThatPlacesIt) {
  auto g = make_game();
  for (int row = 1; row <= 23; ++row) {
    int side = -1;
    SCOPED_TRACE(row);
    EXPECT_EQ(object_unit_type(g->world.unit_specs[row].image, &side), row);
    EXPECT_EQ(side, row < kEnemyHq ? kSidePlayer : kSideEnemy);
  }
  EXPECT_EQ(g->world.unit_specs[24].image, kObjectSquadReserve);
  EXPECT_EQ(g->world.unit_specs[25].image, kObjectAceReserve);
}

TEST(UnitSpecs, SpareRowsAndSightsAreWhereTheRulesExpectThem) {
  auto g = make_game();
  const TUnitSpec* s = g->world.unit_specs;
  for (int row = 26; row < kUnitSpecRows; ++row) {
    SCOPED_TRACE(row);
    EXPECT_STREQ(s[row].name, row == 33 ? "END" : "ダミー");
    EXPECT_STREQ(s[row].model, "");
    EXPECT_EQ(s[row].cost, 999);
    EXPECT_EQ(s[row].max_hp, 0);
    EXPECT_EQ(s[row].image, 0);
  }
  for (int row = 0; row < kUnitSpecRows; ++row) {
    EXPECT_GE(s[row].sight, 0);
    EXPECT_LT(s[row].sight, kStencils);
    EXPECT_EQ(s[row].count, 0);
  }
  EXPECT_STREQ(s[10].model, "II-2");
  EXPECT_STREQ(s[25].model, "ケーニヒスティーガー");
  EXPECT_EQ(s[25].max_hp, 500);
  EXPECT_EQ(s[12].max_sp, 100);
  EXPECT_EQ(s[1].max_sp, 20);
}

struct CostCase {
  int terrain;
  int air_cost;
  int ground_cost;
  int defense;
};

TEST(TerrainSpecs, FiguresOfTheCodesTheRulesSingleOut) {
  auto g = make_game();
  const CostCase cases[] = {
      {0, 65535, 65535, 65535}, {1, 1, 65535, 1}, {2, 1, 65535, 50},
      {3, 1, 255, 1},           {4, 1, 4, 30},    {9, 1, 1, 0},
      {10, 1, 3, 40},           {12, 0, 0, 0},    {15, 1, 2, 10},
  };
  for (const CostCase& c : cases) {
    const TTerrainSpec& t = g->world.terrain_specs[c.terrain];
    SCOPED_TRACE(c.terrain);
    EXPECT_EQ(t.air_cost, c.air_cost);
    EXPECT_EQ(t.ground_cost, c.ground_cost);
    EXPECT_EQ(t.defense, c.defense);
  }
}

TEST(TerrainNames, CaptionsHoldTheFullWidthSpaceAndCodesAbove11ReadAsPlain) {
  const std::string prefix = "地形　";  // with U+3000
  for (int code = 0; code < kTerrainNames; ++code) {
    EXPECT_EQ(std::string(terrain_names[code]).rfind(prefix, 0), 0u) << code;
  }
  for (int code = 12; code <= 15; ++code) EXPECT_STREQ(terrain_caption(code), "地形　平野");
  EXPECT_STREQ(terrain_caption(3), "地形　水場");
  // No such terrain: the filler's caption instead of a read past the list.
  for (int code : {-1, 16, 127, -128}) EXPECT_STREQ(terrain_caption(code), "地形　無し");
}

TEST(TerrainAt, DamagedOrOffMapCellsReadAsTheFiller) {
  auto g = make_game();
  struct Case {
    int x, y;
    int8_t stored;
    int expected;
  } cases[] = {
      {5, 5, 9, 9},    {5, 6, 15, 15}, {5, 7, 16, 0},  {5, 8, -1, 0},
      {5, 9, -128, 0}, {0, 0, 2, 2},   {63, 63, 1, 1},
  };
  for (const Case& c : cases) g->world.terrain_layer[c.x][c.y] = c.stored;
  for (const Case& c : cases) EXPECT_EQ(terrain_at(*g, c.x, c.y), c.expected) << c.x << "," << c.y;
  for (auto [x, y] : {std::pair{-1, 5}, {64, 5}, {5, -1}, {5, 64}, {1000, -1000}}) {
    EXPECT_EQ(terrain_at(*g, x, y), 0) << x << "," << y;
  }
}

TEST(RecountTypes, CountsPlacedUnitsOfBothRostersOnly) {
  auto g = make_game();
  WorldState& w = g->world;
  w.enemy_units[0] = TUnit{20, 5, 5, 100, 30, 8, 1, 1, 0};
  w.enemy_units[7] = TUnit{20, 6, 5, 100, 30, 8, 1, 1, 0};
  w.player_units[3] = TUnit{9, 7, 5, 100, 30, 8, 1, 1, 0};
  w.player_units[4] = TUnit{0, 9, 9, 5, 0, 0, 0, 0, 0};  // empty type, stray position
  // Stale counts of the real rows are discarded; the spare rows are not the recount's business.
  w.unit_specs[0].count = 4;
  w.unit_specs[9].count = 7;
  w.unit_specs[3].count = 2;
  w.unit_specs[30].count = 5;
  recount_types(*g);
  EXPECT_EQ(w.unit_specs[20].count, 2);
  EXPECT_EQ(w.unit_specs[9].count, 1);
  EXPECT_EQ(w.unit_specs[3].count, 0);
  EXPECT_EQ(w.unit_specs[0].count, 0);
  EXPECT_EQ(w.unit_specs[30].count, 5);
}

}  // namespace
