#include "rules/forecast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>

#include "rules/combat.h"
#include "rules/rules_fixture.h"

namespace {

using fixture::make_game;
using fixture::paint;
using fixture::place;

// The terrain a target may stand on: every code with a ground cost, so every cover there is.
constexpr int kStandable[] = {4, 5, 6, 7, 8, 9, 10, 11, 14, 15};

struct Tally {
  long attacks = 0;
  long hits = 0;
  double expected = 0;  // sum of the forecast chances
  double variance = 0;  // of the number of hits, were the chances exact
};

// Within four standard deviations of what the forecasts promised, with half a percent of slack
// per attack for the whole percent the card rounds to.
void expect_share_matches(const Tally& t, const char* what) {
  const double slack = 4 * std::sqrt(t.variance) + 0.005 * t.attacks + 1;
  EXPECT_NEAR(static_cast<double>(t.hits), t.expected, slack)
      << what << ": " << t.hits << " hits in " << t.attacks << " attacks";
}

// Random fights: any player unit, moved or not and at any strength, on any enemy unit on any
// cover, each with a generator seeded anew. The forecast is taken, then the attack made.
TEST(AttackForecast, MatchesTheAttackOverManyRandomStates) {
  auto g = make_game();
  std::mt19937 pick(20240611);
  const auto any = [&pick](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(pick);
  };

  Tally all;
  std::map<int, Tally> by_chance;
  long wrong_damage = 0;
  long wrong_hp = 0;
  for (int trial = 0; trial < 200000; ++trial) {
    TUnit& a = place(*g, kSidePlayer, 0, any(1, 11), 10, 10);
    TUnit& t = place(*g, kSideEnemy, 0, any(12, 25), 11, 10);
    paint(*g, 11, 10, kStandable[any(0, 9)]);
    a.hp = any(1, g->world.unit_specs[a.type].max_hp);
    a.moved = static_cast<uint8_t>(any(0, 1));
    t.hp = any(1, g->world.unit_specs[t.type].max_hp);
    g->rng.seed(static_cast<uint32_t>(pick()));

    const AttackForecast f = forecast_player_attack(*g, 0, 0);
    ASSERT_TRUE(f.shown);
    const int32_t result = player_attack(*g, 0, 0);
    ASSERT_NE(result, kNone);

    const double p = f.hit_percent / 100.0;
    for (Tally* tally : {&all, &by_chance[f.hit_percent]}) {
      tally->attacks += 1;
      tally->hits += result != MISS;
      tally->expected += p;
      tally->variance += p * (1 - p);
    }
    if (result != MISS) {
      wrong_damage += result != f.damage;
      wrong_hp += t.hp != f.target_hp_after;
    }
  }
  EXPECT_EQ(wrong_damage, 0) << "hits that dealt other damage than the forecast";
  EXPECT_EQ(wrong_hp, 0) << "hits that left other hit points than the forecast";
  expect_share_matches(all, "all attacks");
  int checked = 0;
  for (const auto& [chance, tally] : by_chance) {
    if (tally.attacks < 2000) continue;
    ++checked;
    expect_share_matches(tally, ("chance " + std::to_string(chance) + "%").c_str());
  }
  EXPECT_GE(checked, 5) << "too few chances were tried often enough to judge";
}

TEST(AttackForecast, ChangesNothing) {
  auto g = make_game();
  place(*g, kSidePlayer, 3, 9, 10, 10);
  place(*g, kSideEnemy, 7, 20, 12, 10);
  g->rng.seed(77);
  auto before = std::make_unique<Game>(*g);
  const AttackForecast f = forecast_player_attack(*g, 3, 7);
  EXPECT_TRUE(f.shown);
  EXPECT_EQ(g->rng.state, before->rng.state);
  EXPECT_EQ(std::memcmp(&g->world, &before->world, sizeof g->world), 0);
  EXPECT_EQ(std::memcmp(&g->rules, &before->rules, sizeof g->rules), 0);
}

// A hit that leaves nothing: a unit is destroyed, an HQ taken; anything less is neither.
TEST(AttackForecast, TellsWhetherTheTargetFalls) {
  struct Case {
    const char* name;
    int target_type;
    int target_hp;
    bool destroyed;
    bool captured;
  };
  const Case cases[] = {
      {"a tank with 1 HP left", 20, 1, true, false},
      {"a tank at full strength", 20, 100, false, false},
      {"an HQ with 1 HP left", kEnemyHq, 1, false, true},
      {"an HQ at full strength", kEnemyHq, 200, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, 3, 10, 10);  // assault infantry: they storm HQs, hurt tanks
    place(*g, kSideEnemy, 0, c.target_type, 11, 10).hp = c.target_hp;
    const AttackForecast f = forecast_player_attack(*g, 0, 0);
    ASSERT_TRUE(f.shown);
    ASSERT_GT(f.damage, 0);
    EXPECT_EQ(f.destroyed, c.destroyed);
    EXPECT_EQ(f.captured, c.captured);
    EXPECT_EQ(f.target_hp_after, c.destroyed || c.captured ? 0 : c.target_hp - f.damage);
  }
}

TEST(AttackForecast, NoForecastWithoutTwoUnits) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  place(*g, kSideEnemy, 0, 20, 11, 10);
  const int slots[][2] = {{-1, 0}, {60, 0}, {0, -1}, {0, 60}, {1, 0}, {0, 1}};
  for (const auto& s : slots) {
    EXPECT_FALSE(forecast_player_attack(*g, s[0], s[1]).shown) << s[0] << ", " << s[1];
  }
}

}  // namespace
