// What one unit of the built-in player does this turn, and what an attack or a cell is worth to
// it. Every weight of the plans is named here; the keys are in units of one cell of goal
// distance times kStepWeight.
#include <algorithm>

#include "bot/cells.h"
#include "bot/tactics.h"
#include "rules/reach.h"
#include "state/game.h"
#include "world/unit_kinds.h"

using bot_cells::distance;
using bot_cells::for_each_cell_within;
using bot_cells::inside_map;
using bot_cells::terrain_defense;

namespace {

// One cell nearer the goal, in the keys of the moves.
constexpr int64_t kStepWeight = 16;
// What losing a unit's whole strength to the enemy's next turn weighs: two cells of ground for
// a careful player, down to half a cell for a reckless one.
constexpr int32_t kCarefulLossWeight = 2 * kStepWeight;
constexpr int32_t kBoldLossRelief = kCarefulLossWeight - kStepWeight / 2;
// Beyond one and a half times its hit points the danger of a cell makes no further difference:
// the unit is lost either way.
constexpr int32_t kDangerPercentCap = 150;

// The worth of an attack, in points of the target's strength taken off (100 = all of it).
constexpr int64_t kHqWorth = 300;         // HQ hit points count three times: they win the stage
constexpr int64_t kLastHqTaken = 100000;  // taking the last HQ wins, whatever else is on offer
constexpr int64_t kHqTaken = 3000;        // any other HQ taken is a new base and one less foe
constexpr int64_t kUnitKilled = 150;      // a unit removed no longer shoots back
constexpr int64_t kFirepowerCap = 160;    // the hardest hitters are all worth the same haste
constexpr int64_t kThreatFactor = 2;      // an enemy near our HQs comes first
constexpr int64_t kScoreCap = int64_t{1} << 30;

// The cells beside our HQs are where new units appear: a unit that stands there blocks them.
constexpr int32_t kHqDoorstepAttack = 30;
constexpr int64_t kHqDoorstepMove = 40;

// The move to the cell of the lowest key offered, the first of equal ones; none while no cell
// beats the key of staying put.
struct CheapestMove {
  int64_t key;
  UnitPlan plan;
  void offer(int64_t k, int x, int y) {
    if (k >= key) return;
    key = k;
    plan.kind = PlanKind::kMove;
    plan.dest_x = x;
    plan.dest_y = y;
  }
};

bool beside_player_hq(const Game& g, int x, int y) {
  for (const TUnit& h : g.world.player_units) {
    if (h.type == kPlayerHq && distance(h.x, h.y, x, y) == 1) return true;
  }
  return false;
}

// How many of our HQs stand beside (x, y): each blocks a cell where new units appear.
int hqs_beside(const Game& g, int x, int y) {
  int n = 0;
  for (const TUnit& h : g.world.player_units) {
    if (h.type == kPlayerHq && distance(h.x, h.y, x, y) == 1) ++n;
  }
  return n;
}

}  // namespace

int32_t Tactics::danger_cost(const Game& g, const TUnit& u, int x, int y) const {
  const int32_t hp = std::max(1, u.hp);
  const int32_t percent = std::min(kDangerPercentCap, danger(g, u.type, x, y) * 100 / hp);
  const int32_t weight = kCarefulLossWeight - kBoldLossRelief * boldness_ / 100;
  return percent * weight / 100;
}

int32_t Tactics::attack_score(const Game& g, const TUnit& a, bool moved, int e) const {
  return attack_score(g, a, moved, g.world.enemy_units[e], e);
}

int32_t Tactics::attack_score(const Game& g, const TUnit& a, bool moved, const TUnit& t,
                              int e) const {
  const AttackOdds o = attack_odds(g, a, moved, t);
  if (o.damage <= 0 || o.hit_percent <= 0 || t.hp <= 0) return 0;
  const TUnitSpec& ts = g.world.unit_specs[t.type];
  const int64_t dealt = std::min<int64_t>(o.damage, t.hp);
  const bool kills = o.damage >= t.hp;
  int64_t value = 0;
  if (t.type == kEnemyHq) {
    value = dealt * kHqWorth / std::max(1, ts.max_hp);
    if (kills) value += enemy_hqs_ <= 1 ? kLastHqTaken : kHqTaken;
  } else {
    value = dealt * 100 / std::max(1, ts.max_hp);
    // A unit that hits hard is worth removing sooner.
    const int64_t firepower = ts.attack_soft + ts.attack_armor + ts.attack_air;
    value = value * (100 + std::min(kFirepowerCap, firepower)) / 100;
    if (kills) value += kUnitKilled;
    if (threatened_[e]) value *= kThreatFactor;
  }
  return static_cast<int32_t>(std::min<int64_t>(value * o.hit_percent / 100, kScoreCap));
}

const CellGrid& Tactics::walk_area(const Game& g, int slot) {
  for (auto& column : reach_) std::fill(std::begin(column), std::end(column), kUnreached);
  if (slot < 0 || slot >= kRosterSlots) return reach_;
  const TUnit& u = g.world.player_units[slot];
  // Only a troop on the map gets a plan, so only its walk is worth the search.
  if (!is_player_troop(u.type) || !inside_map(u.x, u.y)) return reach_;
  const TUnitSpec& stats = g.world.unit_specs[u.type];
  fill_move_cost(g, stats.move, move_class_of(stats), kRingEnemyUnits, move_cost_);
  fill_reach(g, move_cost_, u.x, u.y, reach_, reach_work_.bucket, reach_work_.next);
  return reach_;
}

UnitPlan Tactics::plan_unit(const Game& g, int slot) {
  return plan_unit(g, slot, walk_area(g, slot));
}

UnitPlan Tactics::attack_from_here(const Game& g, const TUnit& u) const {
  // Whatever stands in range: like the computer's units, the player shoots into the fog inside
  // the range outline.
  UnitPlan here;
  const int32_t range = g.world.unit_specs[u.type].range;
  for (int e = 0; e < kRosterSlots; ++e) {
    const TUnit& t = g.world.enemy_units[e];
    if (!is_enemy_type(t.type) || !inside_map(t.x, t.y)) continue;
    if (distance(u.x, u.y, t.x, t.y) > range) continue;
    const int32_t s = attack_score(g, u, u.moved != 0, e);
    if (s > here.score) {
      here.kind = PlanKind::kAttackHere;
      here.score = s;
      here.target = e;
      here.dest_x = u.x;
      here.dest_y = u.y;
    }
  }
  return here;
}

UnitPlan Tactics::attack_after_walk(const Game& g, const TUnit& u, const CellGrid& reach,
                                    const CellPoint* post, int32_t here_score) const {
  // A moved unit hits half as often, so only a better target than the one at hand is worth it.
  // It walks up to an enemy it may reach this turn: its move, its range and one cell more, since
  // the enemy was seen where it was, not where it will be.
  constexpr int kApproachSlack = 1;
  // Of the cells in range it takes the safest with cover, in the points of the attack's worth;
  // ranged units keep their distance.
  constexpr int32_t kStandOffWeight = 10;  // each cell between it and its target
  constexpr int32_t kAttackDangerWeight = 4;
  // What the walk exposes the unit to is paid out of the attack's worth: one and a half times
  // its danger cost.
  constexpr int32_t kExposureNumerator = 3;
  constexpr int32_t kExposureDenominator = 2;
  const TUnitSpec& stats = g.world.unit_specs[u.type];
  UnitPlan walk;
  // Walks only toward enemies seen now or lately, where they were seen.
  for (int i = 0; i < aware_count_; ++i) {
    const int e = aware_[i];
    const TUnit& t = memory_[e];
    if (distance(u.x, u.y, t.x, t.y) > stats.range + stats.move + kApproachSlack) continue;
    const int32_t s = attack_score(g, u, true, t, e);
    if (s <= walk.score || s <= here_score) continue;
    bool found = false;
    int32_t best_key = 0;
    int32_t best_cost = 0;
    int bx = 0;
    int by = 0;
    for_each_cell_within(t.x, t.y, stats.range, [&](int x, int y) {
      if (reach[x][y] > stats.move) return;
      // A guard strikes only from near its post.
      if (post != nullptr && distance(x, y, post->x, post->y) > kGuardDistance) return;
      const int32_t cost = danger_cost(g, u, x, y);
      const int32_t key = terrain_defense(g, x, y) + kStandOffWeight * distance(x, y, t.x, t.y) -
                          cost * kAttackDangerWeight - kHqDoorstepAttack * hqs_beside(g, x, y);
      if (!found || key > best_key) {
        found = true;
        best_key = key;
        best_cost = cost;
        bx = x;
        by = y;
      }
    });
    const int32_t net = s - best_cost * kExposureNumerator / kExposureDenominator;
    if (!found || net <= walk.score || net <= here_score) continue;
    walk.kind = PlanKind::kMoveAttack;
    walk.score = net;
    walk.target = e;
    walk.dest_x = bx;
    walk.dest_y = by;
  }
  return walk;
}

UnitPlan Tactics::back_to_post(const Game& g, const TUnit& u, const CellGrid& reach,
                               CellPoint post) const {
  const int32_t move = g.world.unit_specs[u.type].move;
  const auto post_key = [&](int x, int y) {
    return distance(x, y, post.x, post.y) * kStepWeight + danger_cost(g, u, x, y);
  };
  CheapestMove best{post_key(u.x, u.y), UnitPlan{}};
  for_each_cell_within(u.x, u.y, move, [&](int x, int y) {
    if (reach[x][y] <= move) best.offer(post_key(x, y), x, y);
  });
  return best.plan;
}

UnitPlan Tactics::advance(const Game& g, const TUnit& u, const CellGrid& reach, bool hurt) const {
  // Cover matters less to a unit on the move than to one about to shoot.
  constexpr int32_t kMoveCoverDivisor = 5;
  // Bolder than this, the army stops waiting for its body.
  constexpr int kBoldAdvance = 50;
  const TUnitSpec& stats = g.world.unit_specs[u.type];
  const bool air = stats.air == 1;
  bool defending = false;
  const CellGrid& field = hurt ? (air ? home_air_ : home_ground_) : goal_field(g, u, &defending);
  const int32_t now = field[u.x][u.y];
  CheapestMove best{int64_t{now} * kStepWeight + danger_cost(g, u, u.x, u.y), UnitPlan{}};
  for_each_cell_within(u.x, u.y, stats.move, [&](int x, int y) {
    if (reach[x][y] > stats.move || field[x][y] >= kUnreached) return;
    // Danger alone never sends a healthy unit back: the enemy's reach covers half the map.
    if (!hurt && field[x][y] > now) return;
    // The army keeps together, unless it is defending or has waited too long.
    if (!hurt && !defending && !air && boldness_ < kBoldAdvance && body_ < kUnreached &&
        field[x][y] < body_ - kLead && field[x][y] < now) {
      return;
    }
    int64_t key = int64_t{field[x][y]} * kStepWeight -
                  terrain_defense(g, x, y) / kMoveCoverDivisor + danger_cost(g, u, x, y);
    if (!hurt) key += kHqDoorstepMove * hqs_beside(g, x, y);
    best.offer(key, x, y);
  });
  return best.plan;
}

UnitPlan Tactics::plan_unit(const Game& g, int slot, const CellGrid& reach) const {
  UnitPlan nothing;
  if (slot < 0 || slot >= kRosterSlots) return nothing;
  const TUnit& u = g.world.player_units[slot];
  if (!is_player_troop(u.type) || u.ready != 1 || !inside_map(u.x, u.y)) return nothing;
  const TUnitSpec& stats = g.world.unit_specs[u.type];
  const bool can_walk = u.moved == 0;
  CellPoint post{0, 0};
  const bool guard = guard_post(slot, &post);
  const bool hurt = u.hp * 100 <= stats.max_hp * kRetreatPercent;

  const UnitPlan here = attack_from_here(g, u);
  const UnitPlan walk = can_walk && !hurt
                            ? attack_after_walk(g, u, reach, guard ? &post : nullptr, here.score)
                            : UnitPlan{};
  if (hurt) {
    // Home to the HQ for repairs, shooting only where it stands.
    if (here.score > 0) return here;
    if (beside_player_hq(g, u.x, u.y) || !can_walk) return nothing;
  } else {
    if (walk.score > here.score) return walk;
    if (here.score > 0) return here;
    if (!can_walk) return nothing;
  }
  if (guard && !hurt) return back_to_post(g, u, reach, post);
  return advance(g, u, reach, hurt);
}
