#include "rules/combat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rules/rules_fixture.h"

namespace {

using fixture::make_game;
using fixture::paint;
using fixture::place;

constexpr int kRoad = 9;
constexpr int kMountain = 4;

// Replaces the random draws with `draws` and counts how many the rule takes.
class Draws {
 public:
  Draws(Game& g, std::vector<int32_t> draws) : g_(g), draws_(std::move(draws)) {
    g_.rng.script = draws_.data();
    g_.rng.script_length = static_cast<int>(draws_.size());
    g_.rng.script_pos = 0;
  }
  ~Draws() { g_.rng.script = nullptr; }
  int used() const { return g_.rng.script_pos; }

 private:
  Game& g_;
  std::vector<int32_t> draws_;
};

// A hit without doubling, bonus or cut. It works whether or not the damage is large enough for
// the bonus draw: the values line up as (double, [bonus,] cut, cut, hit, evasion) either way,
// passing accuracy 60 or more and evasion up to 60.
const std::vector<int32_t> kPlainHit = {1, 0, 0, 0, 60, 60};

struct DamageCase {
  const char* name;
  std::vector<int32_t> draws;
  int32_t expected;
  int draws_used;
};

// The player tank (slot 2, not moved, full strength) attacks the enemy tank (slot 5) on plain:
// 2 x 50 - (50 + 5) = 45 before the draws.
TEST(PlayerAttack, TankAgainstTankOnPlain) {
  const DamageCase cases[] = {
      {"no extras", {1, 0, 0, 0, 0, 99}, 45, 6},
      {"largest bonus, cut below zero", {1, 8, 0, 39, 0, 99}, 53, 6},
      {"bonus wraps at nine", {1, 9, 0, 0, 0, 99}, 45, 6},
      {"largest cut", {1, 0, 19, 0, 0, 99}, 26, 6},
      {"cut wraps at twenty", {1, 0, 20, 0, 0, 99}, 45, 6},
      {"cut less the accuracy half", {1, 0, 19, 4, 0, 99}, 30, 6},
      {"doubled on zero", {0, 0, 0, 0, 0, 99}, 90, 6},
      {"doubled on thirty, bonus up to 17", {30, 17, 0, 0, 0, 99}, 107, 6},
      {"doubled then cut", {60, 0, 19, 0, 0, 99}, 71, 6},
      {"accuracy passes at 80", {1, 0, 0, 0, 80, 99}, 45, 6},
      {"accuracy fails at 81", {1, 0, 0, 0, 81, 0}, MISS, 5},
      {"accuracy taken modulo 100", {1, 0, 0, 0, 180, 99}, 45, 6},
      {"accuracy fails at 99", {1, 0, 0, 0, 99, 99}, MISS, 5},
      {"evasion dodges at 19", {1, 0, 0, 0, 0, 19}, MISS, 6},
      {"evasion fails at 20", {1, 0, 0, 0, 0, 20}, 45, 6},
      {"evasion taken modulo 100", {1, 0, 0, 0, 0, 110}, MISS, 6},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 2, 9, 10, 10);
    place(*g, kSideEnemy, 5, 20, 11, 10);
    g->rules.last_target = kNone;
    std::vector<int32_t> draws = c.draws;
    draws.push_back(77);  // a spare draw, to see that none is taken beyond the rule
    Draws d(*g, draws);
    EXPECT_EQ(player_attack(*g, 2, 5), c.expected);
    EXPECT_EQ(d.used(), c.draws_used);
    EXPECT_EQ(g->world.enemy_units[5].hp, c.expected == MISS ? 100 : std::max(0, 100 - c.expected));
    EXPECT_EQ(g->rules.last_target, 5);
    EXPECT_EQ(g->world.player_units[2].hp, 100);  // no strike back
  }
}

TEST(PlayerAttack, DamageNeverTakesTheTargetBelowZero) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 9, 10, 10);
  place(*g, kSideEnemy, 0, 20, 11, 10).hp = 30;
  Draws d(*g, {1, 0, 0, 0, 0, 99});
  EXPECT_EQ(player_attack(*g, 0, 0), 45);
  EXPECT_EQ(g->world.enemy_units[0].hp, 0);
}

struct SmallDamageCase {
  const char* name;
  int attack_armor;
  int terrain;
  int32_t expected;
  int draws_used;
};

// The bonus draw is taken only from 5 damage up; a hit for 0 is a hit, not a miss.
TEST(PlayerAttack, SmallDamageSkipsTheBonusDraw) {
  const SmallDamageCase cases[] = {
      {"nothing to deal", 10, fixture::kPlain, 0, 5},
      {"four", 27, kRoad, 4, 5},
      {"five", 30, fixture::kPlain, 5, 6},
  };
  for (const SmallDamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    g->world.unit_specs[9].attack_armor = c.attack_armor;
    place(*g, kSidePlayer, 0, 9, 10, 10);
    place(*g, kSideEnemy, 3, 20, 11, 10);
    paint(*g, 11, 10, c.terrain);
    Draws d(*g, {1, 0, 0, 0, 60, 60, 60});
    EXPECT_EQ(player_attack(*g, 0, 3), c.expected);
    EXPECT_EQ(d.used(), c.draws_used);
    EXPECT_EQ(g->rules.last_target, 3);
  }
}

struct HqCase {
  const char* name;
  int attacker;
  int32_t expected;
};

// Against the enemy HQ on plain (defence 50 + 5, evasion 0).
TEST(PlayerAttack, InfantryTakeHqsAtDoubleDamageOthersAtHalf) {
  const HqCase cases[] = {
      {"assault infantry", 3, 90},    // 2 x 50 - 55 = 45, doubled
      {"rifle infantry", 4, 210},     // 160 - 55 = 105, doubled
      {"scout", 2, 0},                // 50 - 55: nothing to double
      {"tank", 9, 22},                // 45 halved, rounded down
      {"bomber", 10, 55},             // 160 - 50 air defence = 110, halved
      {"self-propelled gun", 7, 22},  // 45 halved
  };
  for (const HqCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, c.attacker, 10, 10);
    place(*g, kSideEnemy, 0, 12, 11, 10);
    Draws d(*g, kPlainHit);
    EXPECT_EQ(player_attack(*g, 0, 0), c.expected);
    EXPECT_EQ(g->world.enemy_units[0].hp, std::max(0, 200 - c.expected));
  }
}

struct StrengthCase {
  int hp;
  std::vector<int32_t> draws;
  int32_t expected;
};

TEST(PlayerAttack, DamageScalesWithTheAttackersStrength) {
  const StrengthCase cases[] = {
      {100, {1, 0, 0, 0, 0, 99}, 45}, {20, {1, 0, 0, 0, 0, 99}, 9},  // a fifth of 45
      {20, {1, 8, 0, 0, 0, 99}, 10},                                 // a fifth of 53, truncated
      {20, {1, 0, 14, 0, 0, 99}, 6},                                 // a fifth of 31, truncated
      {33, {1, 0, 0, 0, 0, 99}, 14},                                 // 14.85
      {1, {1, 0, 0, 0, 0, 99}, 0},                                   // a hit for nothing
      {0, {1, 0, 0, 0, 0, 99}, 0},                                   //
      {-10, {1, 0, 0, 0, 0, 99}, 0},                                 // never a negative amount
      {200, {1, 0, 0, 0, 0, 99}, 90},                                // more than full strength
  };
  for (const StrengthCase& c : cases) {
    SCOPED_TRACE(c.hp);
    auto g = make_game();
    place(*g, kSidePlayer, 0, 9, 10, 10).hp = c.hp;
    place(*g, kSideEnemy, 0, 20, 11, 10);
    Draws d(*g, c.draws);
    EXPECT_EQ(player_attack(*g, 0, 0), c.expected);
    EXPECT_EQ(g->world.enemy_units[0].hp, 100 - c.expected);
  }
}

struct MovedCase {
  const char* name;
  bool moved;
  std::vector<int32_t> draws;
  int32_t expected;
};

TEST(PlayerAttack, MovingHalvesTheAccuracyOfTheHitTestOnly) {
  const MovedCase cases[] = {
      {"moved, hits at 40", true, {1, 0, 0, 0, 40, 99}, 45},
      {"moved, misses at 41", true, {1, 0, 0, 0, 41, 99}, MISS},
      {"not moved, hits at 41", false, {1, 0, 0, 0, 41, 99}, 45},
      // The cut subtracts 25 modulo 40 (the full accuracy's half), not modulo 20.
      {"moved, cut with full accuracy", true, {1, 0, 19, 25, 0, 99}, 45},
      {"moved, cut 19 - 5", true, {1, 0, 19, 5, 0, 99}, 31},
  };
  for (const MovedCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, 9, 10, 10).moved = c.moved ? 1 : 0;
    place(*g, kSideEnemy, 0, 20, 11, 10);
    Draws d(*g, c.draws);
    EXPECT_EQ(player_attack(*g, 0, 0), c.expected);
  }
}

struct TerrainCase {
  const char* name;
  int attacker;
  int target;
  int terrain;
  int32_t expected;
};

TEST(PlayerAttack, GroundAttackersMeetTheTargetsTerrainAircraftDoNot) {
  const TerrainCase cases[] = {
      {"bomber, tank on plain", 10, 20, fixture::kPlain, 90},  // 100 - air defence 10
      {"bomber, tank on mountain", 10, 20, kMountain, 90},
      {"bomber, tank on damaged terrain", 10, 20, 100, 90},
      {"gun, tank on plain", 7, 20, fixture::kPlain, 45},  // 100 - (50 + 5)
      {"gun, tank on mountain", 7, 20, kMountain, 20},     // 100 - (50 + 30)
      {"gun, tank on road", 7, 20, kRoad, 50},
      {"gun, tank on damaged terrain", 7, 20, -3, 0},           // no terrain: no damage
      {"rifle, ace tank is soft", 4, 25, fixture::kPlain, 95},  // 160 - (60 + 5)
      {"assault, reserve squad", 3, 24, fixture::kPlain, 85},   // 100 - (10 + 5)
      {"fighter, fighter", 11, 22, fixture::kPlain, 50},        // 100 - air defence 50
  };
  for (const TerrainCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, c.attacker, 10, 10);
    place(*g, kSideEnemy, 0, c.target, 11, 10);
    paint(*g, 11, 10, c.terrain);
    Draws d(*g, kPlainHit);
    EXPECT_EQ(player_attack(*g, 0, 0), c.expected);
  }
}

TEST(PlayerAttack, AnAaGunMeetsTheTerrainOfAnAircraft) {
  auto g = make_game();
  place(*g, kSidePlayer, 0, 8, 10, 10);
  place(*g, kSideEnemy, 0, 21, 11, 10);
  paint(*g, 11, 10, kMountain);
  // 2 x 150 - (50 + 30) = 220: the AA gun is a ground unit, so the bomber's ground defence and
  // its terrain count. Hit at 50 (its accuracy); evasion 60 passes.
  Draws d(*g, {1, 0, 0, 0, 50, 60});
  EXPECT_EQ(player_attack(*g, 0, 0), 220);
}

struct GuardCase {
  const char* name;
  int p;
  int e;
  int attacker_type;
  int target_type;
};

TEST(PlayerAttack, SlotsWithoutAUnitMakeNoAttack) {
  const GuardCase cases[] = {
      {"attacker slot -1", -1, 0, 9, 20},   {"attacker slot 60", 60, 0, 9, 20},
      {"target slot -1", 0, -1, 9, 20},     {"target slot 60", 0, 60, 9, 20},
      {"empty target slot", 0, 0, 9, 0},    {"empty attacker slot", 0, 0, 0, 20},
      {"damaged target type", 0, 0, 9, 40}, {"spare row attacker", 0, 0, 30, 20},
  };
  for (const GuardCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, 9, 10, 10).type = c.attacker_type;
    place(*g, kSideEnemy, 0, 20, 11, 10).type = c.target_type;
    g->rules.last_target = 33;
    Draws d(*g, kPlainHit);
    EXPECT_EQ(player_attack(*g, c.p, c.e), kNone);
    EXPECT_EQ(d.used(), 0);
    EXPECT_EQ(g->rules.last_target, 33);
    EXPECT_EQ(g->world.enemy_units[0].hp, 100);
  }
}

TEST(EnemyAttack, NothingInRangeDrawsNothing) {
  auto g = make_game();
  place(*g, kSideEnemy, 4, 20, 10, 10);   // range 5
  place(*g, kSidePlayer, 0, 9, 13, 13);   // 6 away
  place(*g, kSidePlayer, 1, 12, 11, 10);  // an enemy type in the player roster is no target
  g->rules.last_target = 33;
  g->rng.seed(1234);
  EXPECT_EQ(enemy_attack(*g, 4), kNone);
  EXPECT_EQ(g->rng.state, 1234u);
  EXPECT_EQ(g->rules.last_target, 33);
  EXPECT_EQ(g->world.player_units[0].hp, 100);
}

TEST(EnemyAttack, HitsTheNearestPlayerUnitInRange) {
  auto g = make_game();
  place(*g, kSideEnemy, 4, 20, 10, 10);
  place(*g, kSidePlayer, 0, 9, 14, 10);  // 4 away
  place(*g, kSidePlayer, 6, 9, 10, 8);   // 2 away
  place(*g, kSidePlayer, 9, 9, 13, 10);  // 3 away
  Draws d(*g, {1, 0, 0, 0, 0, 99});
  EXPECT_EQ(enemy_attack(*g, 4), 45);
  EXPECT_EQ(g->rules.last_target, 6);
  EXPECT_EQ(g->world.player_units[6].hp, 55);
  EXPECT_EQ(g->world.player_units[0].hp, 100);
  EXPECT_EQ(g->world.player_units[9].hp, 100);
}

TEST(EnemyAttack, AmongEquallyNearUnitsTheSortOrderDecides) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, 20, 10, 10);
  place(*g, kSidePlayer, 3, 9, 12, 10);  // 2 away
  place(*g, kSidePlayer, 8, 9, 10, 12);  // 2 away
  Draws d(*g, kPlainHit);
  enemy_attack(*g, 0);
  // The pivot (slot 3) ends behind its equal: slot 8 is attacked.
  EXPECT_EQ(g->rules.last_target, 8);
  EXPECT_EQ(g->world.player_units[8].hp, 55);
  EXPECT_EQ(g->world.player_units[3].hp, 100);
}

TEST(EnemyAttack, InfantryTakeThePlayerHqAtDoubleDamage) {
  auto g = make_game();
  place(*g, kSideEnemy, 2, 14, 10, 10);  // assault infantry, range 1
  place(*g, kSidePlayer, 0, 1, 11, 10);
  Draws d(*g, kPlainHit);
  EXPECT_EQ(enemy_attack(*g, 2), 90);
  EXPECT_EQ(g->world.player_units[0].hp, 110);
}

TEST(EnemyAttack, SlotsWithoutAUnitMakeNoAttack) {
  for (int e : {-1, 60, 7}) {
    SCOPED_TRACE(e);
    auto g = make_game();
    place(*g, kSidePlayer, 0, 9, 10, 11);
    place(*g, kSideEnemy, 0, 20, 11, 10);
    Draws d(*g, kPlainHit);
    EXPECT_EQ(enemy_attack(*g, e), kNone);
    EXPECT_EQ(d.used(), 0);
  }
}

TEST(TargetClass, RowGroups) {
  const TargetClass expected[26] = {
      TargetClass::kNone,  TargetClass::kSoft,  TargetClass::kSoft,  TargetClass::kSoft,
      TargetClass::kSoft,  TargetClass::kSoft,  TargetClass::kSoft,  TargetClass::kArmor,
      TargetClass::kArmor, TargetClass::kArmor, TargetClass::kAir,   TargetClass::kAir,
      TargetClass::kSoft,  TargetClass::kSoft,  TargetClass::kSoft,  TargetClass::kSoft,
      TargetClass::kSoft,  TargetClass::kSoft,  TargetClass::kArmor, TargetClass::kArmor,
      TargetClass::kArmor, TargetClass::kAir,   TargetClass::kAir,   TargetClass::kSoft,
      TargetClass::kSoft,  TargetClass::kSoft,
  };
  for (int type = 0; type < 26; ++type) {
    EXPECT_EQ(target_class(type), expected[type]) << type;
  }
  for (int type : {-1, 26, 33, 34, 1000}) EXPECT_EQ(target_class(type), TargetClass::kNone);

  TUnitSpec stats{};
  stats.attack_soft = 1;
  stats.attack_armor = 2;
  stats.attack_air = 3;
  EXPECT_EQ(attack_value(stats, 25), 1);
  EXPECT_EQ(attack_value(stats, 18), 2);
  EXPECT_EQ(attack_value(stats, 11), 3);
  EXPECT_EQ(attack_value(stats, 0), 0);
}

// ---- Target lists ----

TEST(ListTargets, PlayerAttackerPairsWithEnemyUnitsInRange) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, 20, 12, 10);  // 2 away
  place(*g, kSideEnemy, 1, 13, 10, 14);  // 4 away: out of range
  place(*g, kSideEnemy, 2, 25, 9, 9);    // 2 away
  place(*g, kSideEnemy, 3, 0, 10, 11);   // empty slot
  place(*g, kSideEnemy, 4, 30, 10, 12);  // a spare row is no unit
  place(*g, kSideEnemy, 5, 12, 13, 10);  // 3 away
  place(*g, kSideEnemy, 6, 5, 11, 10);   // a player type in the enemy roster is no target
  place(*g, kSidePlayer, 1, 9, 11, 11);  // own units are never listed
  g->rules.player_candidates[1] = TCandidate{42, 43, 44};
  list_player_targets(*g, 10, 10, 7, 3);

  const auto& r = g->rules;
  EXPECT_EQ(r.attack_range[10][10], 0);
  EXPECT_EQ(r.attack_range[13][10], 0);
  EXPECT_EQ(r.attack_range[11][12], 0);
  EXPECT_EQ(r.attack_range[7][10], 0);
  EXPECT_EQ(r.attack_range[14][10], kNone);
  EXPECT_EQ(r.attack_range[12][12], kNone);
  EXPECT_EQ(r.attack_range[63][63], kNone);

  const int listed[][3] = {{0, 12, 10}, {2, 9, 9}, {5, 13, 10}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(r.enemy_candidates[k].slot, listed[k][0]);
    EXPECT_EQ(r.enemy_candidates[k].x, listed[k][1]);
    EXPECT_EQ(r.enemy_candidates[k].y, listed[k][2]);
  }
  for (int k = 3; k < kCandidates; ++k) {
    EXPECT_EQ(r.enemy_candidates[k].slot, kNone);
    EXPECT_EQ(r.enemy_candidates[k].x, kNone);
    EXPECT_EQ(r.enemy_candidates[k].y, kNone);
  }
  EXPECT_EQ(r.player_candidates[0].slot, 7);
  EXPECT_EQ(r.player_candidates[0].x, 10);
  EXPECT_EQ(r.player_candidates[0].y, 10);
  EXPECT_EQ(r.player_candidates[1].slot, 42);  // untouched

  // Sorted by distance; of the two at 2, the pivot (slot 0) ends second.
  const int order[][3] = {{2, 9, 9}, {0, 12, 10}, {5, 13, 10}};
  const int distance[] = {2, 2, 3};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(r.pair_list[k].p_slot, 7);
    EXPECT_EQ(r.pair_list[k].p_x, 10);
    EXPECT_EQ(r.pair_list[k].p_y, 10);
    EXPECT_EQ(r.pair_list[k].e_slot, order[k][0]);
    EXPECT_EQ(r.pair_list[k].e_x, order[k][1]);
    EXPECT_EQ(r.pair_list[k].e_y, order[k][2]);
    EXPECT_EQ(r.pair_list[k].distance, distance[k]);
  }
  for (int k = 3; k < kPairs; ++k) {
    EXPECT_EQ(r.pair_list[k].p_slot, kNone);
    EXPECT_EQ(r.pair_list[k].e_slot, kNone);
    EXPECT_EQ(r.pair_list[k].distance, kNone);
    EXPECT_EQ(r.pair_list[k].e_x, 0);
  }
}

TEST(ListTargets, EnemyAttackerPairsWithPlayerUnitsInRange) {
  auto g = make_game();
  place(*g, kSidePlayer, 4, 1, 20, 21);   // HQ, 1 away
  place(*g, kSidePlayer, 9, 11, 20, 25);  // fighter, 5 away: out of range
  place(*g, kSidePlayer, 2, 2, 22, 22);   // scout, 4 away
  place(*g, kSidePlayer, 3, 20, 20, 19);  // an enemy type in the player roster
  g->rules.enemy_candidates[1] = TCandidate{42, 43, 44};
  list_enemy_targets(*g, 20, 20, 11, 4);

  const auto& r = g->rules;
  EXPECT_EQ(r.player_candidates[0].slot, 2);
  EXPECT_EQ(r.player_candidates[1].slot, 4);
  EXPECT_EQ(r.player_candidates[2].slot, kNone);
  EXPECT_EQ(r.player_candidates[2].x, kNone);
  EXPECT_EQ(r.enemy_candidates[0].slot, 11);
  EXPECT_EQ(r.enemy_candidates[1].slot, 42);
  EXPECT_EQ(r.pair_list[0].p_slot, 4);
  EXPECT_EQ(r.pair_list[0].p_x, 20);
  EXPECT_EQ(r.pair_list[0].p_y, 21);
  EXPECT_EQ(r.pair_list[0].e_slot, 11);
  EXPECT_EQ(r.pair_list[0].e_x, 20);
  EXPECT_EQ(r.pair_list[0].e_y, 20);
  EXPECT_EQ(r.pair_list[0].distance, 1);
  EXPECT_EQ(r.pair_list[1].p_slot, 2);
  EXPECT_EQ(r.pair_list[1].distance, 4);
  EXPECT_EQ(r.pair_list[2].p_slot, kNone);
}

TEST(ListTargets, AnAttackerWithoutASlotIsPairedWithNobody) {
  auto g = make_game();
  place(*g, kSideEnemy, 0, 20, 11, 10);
  list_player_targets(*g, 10, 10, kNone, 5);
  EXPECT_EQ(g->rules.enemy_candidates[0].slot, 0);
  EXPECT_EQ(g->rules.pair_list[0].e_slot, kNone);
}

// ---- The pair sort ----

struct SortCase {
  const char* name;
  std::vector<int> distances;  // records a, b, c ... in this order
  const char* expected;        // the records in sorted order
  char pivot;                  // what sort_pivot holds afterwards
  char swap;                   // what sort_swap holds afterwards; '-' = untouched
};

TEST(SortPairs, TiesEndInTheOrderOfTheProcedure) {
  const SortCase cases[] = {
      {"two reversed", {2, 1}, "ba", 'a', '-'},
      {"all equal, three", {5, 5, 5}, "cab", 'a', 'b'},
      {"all equal, four", {5, 5, 5, 5}, "dcab", 'c', 'b'},
      {"all equal, five", {4, 4, 4, 4, 4}, "edabc", 'c', 'c'},
      {"reverse", {3, 2, 1}, "cba", 'c', '-'},
      {"already sorted", {1, 2, 3}, "abc", 'b', '-'},
      {"two pairs of ties", {2, 1, 2, 1}, "bdac", 'd', 'c'},
      {"cleared records at the end", {3, 1, 3, 65535, 65535}, "bcaed", 'd', '-'},
      {"mixed", {3, 1, 3, 2, 1, 3}, "bedfac", 'f', 'c'},
  };
  for (const SortCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    auto& r = g->rules;
    const int n = static_cast<int>(c.distances.size());
    for (int k = 0; k < kPairs; ++k) r.pair_list[k] = TPair{500 + k, k, 0, 0, 0, 0, 0};
    for (int k = 0; k < n; ++k) r.pair_list[k] = TPair{k, 1, 2, 3, 4, 5, c.distances[k]};
    r.sort_swap = TPair{999, 0, 0, 0, 0, 0, 0};
    r.sort_pivot = TPair{999, 0, 0, 0, 0, 0, 0};
    sort_pairs(*g, 0, n - 1);
    std::string order;
    for (int k = 0; k < n; ++k) order += static_cast<char>('a' + r.pair_list[k].p_slot);
    EXPECT_EQ(order, c.expected);
    for (int k = 0; k < n; ++k) {
      EXPECT_EQ(r.pair_list[k].distance, c.distances[r.pair_list[k].p_slot]);
    }
    for (int k = n; k < kPairs; ++k) EXPECT_EQ(r.pair_list[k].p_slot, 500 + k);
    EXPECT_EQ(r.sort_pivot.p_slot, c.pivot - 'a');
    EXPECT_EQ(r.sort_swap.p_slot, c.swap == '-' ? 999 : c.swap - 'a');
  }
}

TEST(SortPairs, WholeListKeepsClearedRecordsBehind) {
  auto g = make_game();
  auto& r = g->rules;
  clear_pair_list(*g);
  r.pair_list[0] = TPair{0, 1, 1, 9, 2, 2, 7};
  r.pair_list[1] = TPair{1, 1, 1, 9, 2, 2, 65534};
  r.pair_list[2] = TPair{2, 1, 1, 9, 2, 2, 0};
  sort_pairs(*g, 0, kPairs - 1);
  EXPECT_EQ(r.pair_list[0].p_slot, 2);
  EXPECT_EQ(r.pair_list[1].p_slot, 0);
  EXPECT_EQ(r.pair_list[2].p_slot, 1);
  EXPECT_EQ(r.pair_list[3].p_slot, kNone);
  // The last partitions were among the cleared records, and they leave one in each work record.
  EXPECT_EQ(r.sort_pivot.p_slot, kNone);
  EXPECT_EQ(r.sort_pivot.distance, kNone);
  EXPECT_EQ(r.sort_pivot.p_x, 0);
  EXPECT_EQ(r.sort_swap.e_slot, kNone);
  EXPECT_EQ(r.sort_swap.distance, kNone);
}

TEST(SortPairs, BoundsAreHeldToTheList) {
  auto g = make_game();
  auto& r = g->rules;
  const auto fill = [&] {
    for (int k = 0; k < kPairs; ++k) r.pair_list[k] = TPair{k, 0, 0, 0, 0, 0, (k * 37) % 11};
    r.sort_swap = TPair{-7, 0, 0, 0, 0, 0, -7};
    r.sort_pivot = TPair{-7, 0, 0, 0, 0, 0, -7};
  };
  fill();
  sort_pairs(*g, 0, kPairs - 1);
  TPair expected[kPairs];
  for (int k = 0; k < kPairs; ++k) expected[k] = r.pair_list[k];
  const TPair pivot = r.sort_pivot;

  for (const auto& bounds : {std::pair{0, 101}, std::pair{-5, 99}, std::pair{-100, 1000}}) {
    fill();
    sort_pairs(*g, bounds.first, bounds.second);
    for (int k = 0; k < kPairs; ++k) {
      EXPECT_EQ(r.pair_list[k].p_slot, expected[k].p_slot) << k;
    }
    EXPECT_EQ(r.sort_pivot.p_slot, pivot.p_slot);
  }
  for (int k = 1; k < kPairs; ++k) {
    EXPECT_LE(expected[k - 1].distance, expected[k].distance);
  }
}

TEST(ClearPairList, ClearedRecords) {
  auto g = make_game();
  for (TPair& p : g->rules.pair_list) p = TPair{1, 2, 3, 4, 5, 6, 7};
  clear_pair_list(*g);
  for (const TPair& p : g->rules.pair_list) {
    EXPECT_EQ(p.p_slot, kNone);
    EXPECT_EQ(p.p_x, 0);
    EXPECT_EQ(p.p_y, 0);
    EXPECT_EQ(p.e_slot, kNone);
    EXPECT_EQ(p.e_x, 0);
    EXPECT_EQ(p.e_y, 0);
    EXPECT_EQ(p.distance, kNone);
  }
}

// ---- The cores: the rules' answers without touching the game ----

// Every byte of the game, to show that a core changed none of them.
std::vector<unsigned char> bytes_of(const Game& g) {
  std::vector<unsigned char> bytes(sizeof(Game));
  std::memcpy(bytes.data(), &g, sizeof(Game));
  return bytes;
}

template <typename T>
bool same_bytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

struct BasisCase {
  const char* name;
  int attacker;
  int target;
  int terrain;
  bool moved;
  int attacker_hp;  // 0: full
  // What the rules make of it before the draws.
  int64_t base_damage;
  int64_t cut_evasion;
  int64_t cut_aim;
  HqRule hq;
  int64_t aim;
  int64_t evasion;
};

// The pre-draw figures are the ones the attack itself runs on: for each case the attack's
// aim and dodge tests turn exactly at the basis's aim and evasion, and a hit deals what the
// basis makes of the draws.
TEST(AttackBasis, IsWhatTheAttackRunsOn) {
  const BasisCase cases[] = {
      // 2 x 50 - (50 + 5) = 45; cut moduli: the target's evasion, half the accuracy.
      {"tank, tank on plain", 9, 20, fixture::kPlain, false, 0, 45, 20, 40, HqRule::kNone, 80, 20},
      {"tank after a walk", 9, 20, fixture::kPlain, true, 0, 45, 20, 40, HqRule::kNone, 40, 20},
      {"riflemen, HQ in town", 4, 12, 11, false, 0, 90, 1, 47, HqRule::kDouble, 95, 0},
      {"tank, HQ on plain", 9, 12, fixture::kPlain, false, 0, 45, 1, 40, HqRule::kHalve, 80, 0},
      {"bomber, tank on a mountain", 10, 20, kMountain, false, 0, 90, 20, 45, HqRule::kNone, 90,
       20},
      {"AA gun, fighter", 8, 22, fixture::kPlain, false, 0, 275, 60, 25, HqRule::kNone, 50, 60},
      {"weakened assault, riflemen", 3, 15, 5, false, 7, 70, 20, 40, HqRule::kNone, 80, 20},
      {"no cover without terrain", 7, 20, 0, false, 0, 0, 20, 35, HqRule::kNone, 70, 20},
  };
  // Draws before the two tests: no doubling or doubling, small and large bonus and cut.
  const std::vector<int32_t> extras[] = {
      {1, 0, 0, 0}, {0, 7, 13, 2}, {30, 30000, 19, 0}, {29, 12345, 32767, 31}};
  for (const BasisCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    TUnit& a = place(*g, kSidePlayer, 0, c.attacker, 10, 10);
    if (c.attacker_hp != 0) a.hp = c.attacker_hp;
    a.moved = c.moved ? 1 : 0;
    place(*g, kSideEnemy, 0, c.target, 11, 10);
    paint(*g, 11, 10, c.terrain);
    const auto before = bytes_of(*g);
    const AttackBasis b = attack_basis(*g, a, g->world.enemy_units[0]);
    EXPECT_TRUE(bytes_of(*g) == before);
    ASSERT_TRUE(b.possible);
    EXPECT_EQ(b.base_damage, c.base_damage);
    EXPECT_EQ(b.cut_evasion, c.cut_evasion);
    EXPECT_EQ(b.cut_aim, c.cut_aim);
    EXPECT_EQ(b.hq, c.hq);
    EXPECT_EQ(b.aim, c.aim);
    EXPECT_EQ(b.evasion, c.evasion);
    EXPECT_EQ(b.hp, a.hp);
    EXPECT_EQ(b.max_hp, g->world.unit_specs[c.attacker].max_hp);

    for (const std::vector<int32_t>& e : extras) {
      int64_t dmg = b.base_damage;
      std::vector<int32_t> draws = {e[0]};
      if (e[0] % 30 == 0) dmg *= 2;
      if (dmg >= 5) {
        draws.push_back(e[1]);
        dmg += e[1] % (dmg / 5);
      }
      draws.push_back(e[2]);
      draws.push_back(e[3]);
      const int64_t cut = e[2] % b.cut_evasion - e[3] % b.cut_aim;
      if (cut > 0) dmg = std::max<int64_t>(0, dmg - cut);
      const int32_t hit = hit_damage(b, dmg);
      const size_t tests = draws.size();
      struct Test {
        int32_t aim_draw;
        int32_t dodge_draw;
        bool hits;
      };
      const Test turns[] = {{static_cast<int32_t>(b.aim), static_cast<int32_t>(b.evasion), true},
                            {static_cast<int32_t>(b.aim + 1), 99, false},
                            {0, static_cast<int32_t>(b.evasion - 1), false}};
      for (const Test& t : turns) {
        if (t.aim_draw > 99 || t.dodge_draw < 0) continue;
        draws.resize(tests);
        draws.push_back(t.aim_draw);
        draws.push_back(t.dodge_draw);
        g->world.enemy_units[0].hp = 10000;
        Draws d(*g, draws);
        const int32_t result = player_attack(*g, 0, 0);
        EXPECT_EQ(result, t.hits ? hit : MISS) << t.aim_draw << " " << t.dodge_draw;
        EXPECT_EQ(d.used(), static_cast<int>(tests) + (t.aim_draw > b.aim ? 1 : 2));
      }
    }
  }
}

TEST(AttackBasis, HitPercentAndNoAttackWithoutUnits) {
  auto g = make_game();
  TUnit& a = place(*g, kSidePlayer, 0, 9, 10, 10);
  TUnit& t = place(*g, kSideEnemy, 0, 20, 11, 10);
  // Aim passes on 0 to 80 (81 in 100), the dodge on 20 to 99 (80 in 100).
  EXPECT_EQ(hit_percent(attack_basis(*g, a, t)), 65);
  a.moved = 1;  // 41 in 100
  EXPECT_EQ(hit_percent(attack_basis(*g, a, t)), 33);
  for (int type : {0, 26, 33, -1, 1000}) {
    t.type = type;
    const AttackBasis b = attack_basis(*g, a, t);
    EXPECT_FALSE(b.possible) << type;
    EXPECT_EQ(hit_percent(b), 0) << type;
  }
}

struct ListingCase {
  const char* name;
  bool player_attacks;
  int x;
  int y;
  int slot;
  int range;
};

// The listing cores fill a caller's lists exactly as the operations fill the game's, the entries
// they leave alone included, and change nothing in the game.
TEST(TargetCores, FillACallersListsAsTheOperationsFillTheGames) {
  const ListingCase cases[] = {
      {"player, range 3", true, 10, 10, 7, 3},     {"player, range 10", true, 12, 12, 0, 10},
      {"player, no slot", true, 10, 10, kNone, 3}, {"enemy, range 4", false, 20, 20, 3, 4},
      {"enemy, range 12", false, 11, 11, 59, 12},  {"enemy, nothing near", false, 50, 50, 1, 2},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    unsigned seed = 7;
    const auto roll = [&seed](int n) {
      seed = seed * 1103515245u + 12345u;
      return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    for (int s = 0; s < 40; ++s) {
      place(*g, kSidePlayer, s, roll(12), 5 + roll(25), 5 + roll(25));
      place(*g, kSideEnemy, s, 12 + roll(15), 5 + roll(25), 5 + roll(25));
    }
    // Earlier listings leave their traces, in the game's lists and the caller's alike.
    RulesState& r = g->rules;
    for (int k = 0; k < kCandidates; ++k) {
      r.player_candidates[k] = TCandidate{k, roll(64), roll(64)};
      r.enemy_candidates[k] = TCandidate{k + 1, roll(64), roll(64)};
    }
    r.sort_swap = TPair{1, 2, 3, 4, 5, 6, 7};
    r.sort_pivot = TPair{8, 9, 10, 11, 12, 13, 14};
    auto mine = std::make_unique<TargetBuffers>();
    std::memcpy(mine->attack_range, r.attack_range, sizeof r.attack_range);
    std::memcpy(mine->player_candidates, r.player_candidates, sizeof r.player_candidates);
    std::memcpy(mine->enemy_candidates, r.enemy_candidates, sizeof r.enemy_candidates);
    std::memcpy(mine->pair_list, r.pair_list, sizeof r.pair_list);
    mine->sort_swap = r.sort_swap;
    mine->sort_pivot = r.sort_pivot;

    const auto before = bytes_of(*g);
    if (c.player_attacks) {
      fill_player_targets(*g, c.x, c.y, c.slot, c.range, mine->lists());
    } else {
      fill_enemy_targets(*g, c.x, c.y, c.slot, c.range, mine->lists());
    }
    EXPECT_TRUE(bytes_of(*g) == before);

    if (c.player_attacks) {
      list_player_targets(*g, c.x, c.y, c.slot, c.range);
    } else {
      list_enemy_targets(*g, c.x, c.y, c.slot, c.range);
    }
    EXPECT_TRUE(same_bytes(mine->attack_range, r.attack_range));
    EXPECT_TRUE(same_bytes(mine->player_candidates, r.player_candidates));
    EXPECT_TRUE(same_bytes(mine->enemy_candidates, r.enemy_candidates));
    EXPECT_TRUE(same_bytes(mine->pair_list, r.pair_list));
    EXPECT_TRUE(same_bytes(mine->sort_swap, r.sort_swap));
    EXPECT_TRUE(same_bytes(mine->sort_pivot, r.sort_pivot));
  }
}

}  // namespace

namespace {

// Every draw the damage can take, tried one by one through the attack's own steps: none makes
// more than best_hit_damage, and one makes exactly that.
TEST(BestHitDamage, IsTheMostAnyDrawsMake) {
  struct Case {
    const char* name;
    int attacker, target, hp;
  };
  const Case cases[] = {
      {"tank on tank", 9, 20, 100},
      {"riflemen on an HQ", 4, 12, 20},
      {"a weakened tank on an HQ", 9, 12, 37},
      {"a scout on a tank, nothing to deal", 2, 20, 10},
      {"a bomber on riflemen", 10, 15, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto g = make_game();
    place(*g, kSidePlayer, 0, c.attacker, 10, 10).hp = c.hp;
    place(*g, kSideEnemy, 0, c.target, 11, 10);
    const AttackBasis b = attack_basis(*g, g->world.player_units[0], g->world.enemy_units[0]);
    int32_t most = 0;
    const int64_t bonus_span = (2 * b.base_damage) / 5 + 1;
    for (int32_t doubling : {0, 1}) {
      for (int64_t bonus = 0; bonus <= bonus_span; ++bonus) {
        for (int64_t first = 0; first < b.cut_evasion; ++first) {
          for (int64_t second : {int64_t{0}, b.cut_aim - 1}) {
            const int32_t draws[4] = {doubling, static_cast<int32_t>(bonus),
                                      static_cast<int32_t>(first), static_cast<int32_t>(second)};
            Random rng;
            rng.script = draws;
            rng.script_length = 4;
            most = std::max(most, hit_damage(b, drawn_damage(b, rng)));
          }
        }
      }
    }
    EXPECT_EQ(best_hit_damage(b), most);
  }
}

}  // namespace
