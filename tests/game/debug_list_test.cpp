#include "game/debug_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "state/game.h"

namespace {

std::unique_ptr<Game> fresh_game() {
  return std::make_unique<Game>();
}

std::string line_at(const Game& g, int i) {
  const char* s = debug_line(g, i);
  return s == nullptr ? std::string("<none>") : std::string(s);
}

std::string last_line(const Game& g) {
  return line_at(g, debug_line_count(g) - 1);
}

void fill_pairs_unused(Game& g) {
  const TPair unused{kNone, kNone, kNone, kNone, kNone, kNone, kNone};
  for (TPair& p : g.rules.pair_list) p = unused;
  g.rules.sort_swap = unused;
  g.rules.sort_pivot = unused;
}

struct RosterCase {
  const char* name;
  void (*click)(Game&);
  bool lists_enemy;
};

void PrintTo(const RosterCase& c, std::ostream* os) {
  *os << c.name;
}

class RosterListing : public ::testing::TestWithParam<RosterCase> {};

TEST_P(RosterListing, ListsEverySlotOfItsOwnSideAfterClearing) {
  const RosterCase& c = GetParam();
  auto g = fresh_game();
  // The listed roster and the other one differ, so listing the wrong side shows.
  TUnit* listed = c.lists_enemy ? g->world.enemy_units : g->world.player_units;
  TUnit* other = c.lists_enemy ? g->world.player_units : g->world.enemy_units;
  listed[3] = TUnit{14, 20, 31, 10, 0, 0, 0, 1, 0};
  listed[59] = TUnit{-2, 62, 1, 5, 0, 0, 0, 1, 0};
  other[3] = TUnit{7, 8, 9, 10, 0, 0, 0, 1, 0};
  debug_append(*g, "left over");

  c.click(*g);

  ASSERT_EQ(debug_line_count(*g), kRosterSlots);
  EXPECT_EQ(line_at(*g, 0), "0 id 0 px 0 py 0");
  EXPECT_EQ(line_at(*g, 3), "3 id 14 px 20 py 31");
  EXPECT_EQ(line_at(*g, 4), "4 id 0 px 0 py 0");
  EXPECT_EQ(line_at(*g, 59), "59 id -2 px 62 py 1");
}

INSTANTIATE_TEST_SUITE_P(Buttons, RosterListing,
                         ::testing::Values(RosterCase{"E_UNIT", Button1Click, true},
                                           RosterCase{"P_UNIT", Button3Click, false}),
                         [](const auto& info) {
                           return std::string(info.param.name) == "E_UNIT"
                                      ? std::string("Button1EnemyUnits")
                                      : std::string("Button3PlayerUnits");
                         });

TEST(NearListing, ListsAllPairsThenSwapThenPivot) {
  auto g = fresh_game();
  fill_pairs_unused(*g);
  g->rules.pair_list[0] = TPair{0, 10, 10, 7, 12, 12, 4};
  g->rules.pair_list[99] = TPair{59, 1, 1, 58, 2, 2, 123};
  g->rules.sort_swap = TPair{2, 0, 0, 3, 0, 0, -1};
  g->rules.sort_pivot = TPair{5, 0, 0, 6, 0, 0, 9};
  debug_append(*g, "left over");

  Button2Click(*g);

  ASSERT_EQ(debug_line_count(*g), 102);
  EXPECT_EQ(line_at(*g, 0), "D4 P0 E7");
  for (int i = 1; i < 99; ++i) {
    EXPECT_EQ(line_at(*g, i), "D65535 P65535 E65535") << "pair " << i;
  }
  EXPECT_EQ(line_at(*g, 99), "D123 P59 E58");
  EXPECT_EQ(line_at(*g, 100), "D-1 P2 E3");
  EXPECT_EQ(line_at(*g, 101), "D9 P5 E6");
}

struct LogCase {
  const char* name;
  void (*log)(Game&);
  const char* expected;
};

void PrintTo(const LogCase& c, std::ostream* os) {
  *os << c.name;
}

class LoggedEvents : public ::testing::TestWithParam<LogCase> {};

TEST_P(LoggedEvents, AppendAfterWhatIsListed) {
  const LogCase& c = GetParam();
  auto g = fresh_game();
  Button3Click(*g);

  c.log(*g);

  ASSERT_EQ(debug_line_count(*g), kRosterSlots + 1);
  EXPECT_EQ(line_at(*g, 0), "0 id 0 px 0 py 0");
  EXPECT_EQ(last_line(*g), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, LoggedEvents,
    ::testing::Values(LogCase{"Walk", [](Game& g) { debug_log_walk(g, 12, 30); }, "pX 12 pY 30"},
                      LogCase{"Miss", [](Game& g) { debug_log_damage(g, MISS); }, "damage -1"},
                      LogCase{"Hit", [](Game& g) { debug_log_damage(g, 37); }, "damage 37"},
                      LogCase{"NoTarget", [](Game& g) { debug_log_damage(g, kNone); },
                              "damage 65535"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DebugList, FullListDropsTheOldestLine) {
  auto g = fresh_game();
  const int extra = 5;
  for (int i = 0; i < kDebugLines + extra; ++i) {
    debug_append(*g, ("line " + std::to_string(i)).c_str());
  }

  ASSERT_EQ(debug_line_count(*g), kDebugLines);
  EXPECT_EQ(g->debug.dropped, extra);
  EXPECT_EQ(line_at(*g, 0), "line 5");
  EXPECT_EQ(line_at(*g, 1), "line 6");
  EXPECT_EQ(last_line(*g), "line " + std::to_string(kDebugLines + extra - 1));

  // A button still starts the list afresh after wrapping.
  Button2Click(*g);
  EXPECT_EQ(debug_line_count(*g), 102);
  EXPECT_EQ(g->debug.dropped, 0);
}

TEST(DebugList, LinesAreBoundedAndIndexesChecked) {
  auto g = fresh_game();
  const std::string long_line(200, 'x');
  debug_append(*g, long_line.c_str());
  debug_append(*g, nullptr);
  debug_append(*g, "after");

  ASSERT_EQ(debug_line_count(*g), 3);
  EXPECT_EQ(line_at(*g, 0), std::string(kDebugLineBytes - 1, 'x'));
  EXPECT_EQ(line_at(*g, 1), "");
  EXPECT_EQ(line_at(*g, 2), "after");
  EXPECT_EQ(debug_line(*g, -1), nullptr);
  EXPECT_EQ(debug_line(*g, 3), nullptr);

  debug_clear(*g);
  EXPECT_EQ(debug_line_count(*g), 0);
  EXPECT_EQ(debug_line(*g, 0), nullptr);
}

}  // namespace
