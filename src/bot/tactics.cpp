#include "bot/tactics.h"

#include <algorithm>

#include "bot/cells.h"
#include "rules/combat.h"
#include "rules/reach.h"
#include "state/game.h"
#include "world/production.h"
#include "world/roster_queries.h"
#include "world/unit_kinds.h"

using bot_cells::distance;
using bot_cells::for_each_cell_within;
using bot_cells::inside_map;
using bot_cells::kDx;
using bot_cells::kDy;
using bot_cells::kImpassable;
using bot_cells::terrain_cost;
using bot_cells::terrain_defense;

namespace {

// An army this big spares two guards for each HQ, a smaller one only one.
constexpr int kArmyForTwoGuards = 6;
// Units further than this from an HQ are never called back to guard it.
constexpr int kGuardRecruitDistance = 20;
// Each cell of distance weighs this much against the preference of a kind of unit.
constexpr int kGuardDistanceWeight = 4;

}  // namespace

void Tactics::refresh_known(const Game& g) {
  const WorldState& w = g.world;
  known_count_ = 0;
  enemy_hqs_ = 0;
  for (int s = 0; s < kRosterSlots; ++s) {
    const TUnit& e = w.enemy_units[s];
    threatened_[s] = false;
    if (!is_enemy_type(e.type) || !inside_map(e.x, e.y)) continue;
    if (e.type == kEnemyHq) enemy_hq_cells_[enemy_hqs_++] = CellPoint{e.x, e.y};
    if (e.type == kEnemyHq || w.vision[kSidePlayer][e.x][e.y] == 1) known_[known_count_++] = s;
  }

  remember(g);

  homes_ = 0;
  threat_count_ = 0;
  threatened_hq_count_ = 0;
  air_units_ = false;
  for (const TUnit& p : w.player_units) {
    if (is_aircraft(p.type)) air_units_ = true;
    if (p.type != kPlayerHq || !inside_map(p.x, p.y)) continue;
    for (int d = 0; d < 4; ++d) {
      const int nx = p.x + kDx[d];
      const int ny = p.y + kDy[d];
      if (inside_map(nx, ny) && homes_ < kRosterSlots * 4)
        home_cells_[homes_++] = CellPoint{nx, ny};
    }
    bool threatened = false;
    for (int i = 0; i < aware_count_; ++i) {
      const TUnit& e = memory_[aware_[i]];
      const TUnitSpec& es = w.unit_specs[e.type];
      // HQs and dug-in positions never walk up to ours.
      if (e.type == kEnemyHq || es.move == 0) continue;
      if (distance(p.x, p.y, e.x, e.y) > kThreatDistance) continue;
      if (!threatened_[aware_[i]]) threats_[threat_count_++] = CellPoint{e.x, e.y};
      threatened_[aware_[i]] = true;
      threatened = true;
    }
    if (threatened) threatened_hqs_[threatened_hq_count_++] = CellPoint{p.x, p.y};
  }
  assign_guards(g);
}

void Tactics::forget() {
  for (TUnit& m : memory_) m = TUnit{};
  aware_count_ = 0;
}

void Tactics::remember(const Game& g) {
  const WorldState& w = g.world;
  const int32_t turn = g.flow.turn_no;
  aware_count_ = 0;
  for (int s = 0; s < kRosterSlots; ++s) {
    const TUnit& e = w.enemy_units[s];
    const bool seen = is_enemy_type(e.type) && inside_map(e.x, e.y) &&
                      (e.type == kEnemyHq || w.vision[kSidePlayer][e.x][e.y] == 1);
    TUnit& m = memory_[s];
    if (seen) {
      m = e;
      memory_turn_[s] = turn;
    } else if (m.type != 0) {
      // Gone from where it was seen, or seen too long ago to count on.
      if (w.vision[kSidePlayer][m.x][m.y] == 1 || turn - memory_turn_[s] > kMemoryTurns) {
        m = TUnit{};
      }
    }
    if (m.type != 0) aware_[aware_count_++] = s;
  }
}

void Tactics::assign_guards(const Game& g) {
  const WorldState& w = g.world;
  std::fill(std::begin(guard_of_), std::end(guard_of_), 0);
  hq_count_ = 0;
  int army = 0;
  for (const TUnit& u : w.player_units) {
    if (u.type == kPlayerHq && inside_map(u.x, u.y)) hq_cells_[hq_count_++] = CellPoint{u.x, u.y};
    if (is_player_troop(u.type)) ++army;
  }
  // Guards stand between the HQ and the enemy: whatever comes for the HQ meets them first, and
  // the computer's units shoot at the nearest unit in range. The nearest units that keep the
  // ground from afar: guns before scouts and riflemen, tanks only when nothing else is near,
  // never aircraft. Two for a big enough army.
  // What a kind of unit adds to four times its distance from the HQ when the guards are picked,
  // by row: none, HQ, scout, assault, riflemen, anti-tank, artillery, self-propelled gun, AA gun,
  // tank, and the aircraft, which never guard.
  constexpr int kNeverGuards = 99;
  static constexpr int kPreference[kPlayerFighter + 1] = {
      0, 0, 8, 20, 10, 4, 0, 15, 25, 40, kNeverGuards, kNeverGuards};
  const int per_hq = army >= kArmyForTwoGuards ? 2 : 1;
  for (int round = 0; round < per_hq; ++round) {
    for (int h = 0; h < hq_count_; ++h) {
      int best = -1;
      int best_key = 0;
      for (int s = 0; s < kRosterSlots; ++s) {
        const TUnit& u = w.player_units[s];
        if (!is_player_troop(u.type) || guard_of_[s] != 0 || !inside_map(u.x, u.y)) continue;
        if (kPreference[u.type] >= kNeverGuards) continue;
        const int d = distance(u.x, u.y, hq_cells_[h].x, hq_cells_[h].y);
        if (d > kGuardRecruitDistance) continue;
        const int key = d * kGuardDistanceWeight + kPreference[u.type];
        if (best < 0 || key < best_key) {
          best = s;
          best_key = key;
        }
      }
      if (best >= 0) guard_of_[best] = static_cast<int8_t>(h + 1);
    }
  }
}

void Tactics::place_guards(const Game& g) {
  // Posts two cells out from the HQ on the enemy's side, a different one for each guard.
  bool taken[kMapSize][kMapSize] = {};
  for (int s = 0; s < kRosterSlots; ++s) {
    if (guard_of_[s] == 0) continue;
    const CellPoint hq = hq_cells_[guard_of_[s] - 1];
    CellPoint best = hq;
    int32_t best_d = kUnreached + 1;
    for (int x = hq.x - kGuardDistance; x <= hq.x + kGuardDistance; ++x) {
      for (int y = hq.y - kGuardDistance; y <= hq.y + kGuardDistance; ++y) {
        if (!inside_map(x, y) || distance(x, y, hq.x, hq.y) != kGuardDistance || taken[x][y])
          continue;
        if (terrain_cost(g, x, y, false, 1) >= kImpassable) continue;
        if (goal_ground_[x][y] < best_d) {
          best_d = goal_ground_[x][y];
          best = CellPoint{x, y};
        }
      }
    }
    if (best.x != hq.x || best.y != hq.y) taken[best.x][best.y] = true;
    post_of_[s] = best;
  }
}

bool Tactics::guard_post(int slot, CellPoint* post) const {
  if (slot < 0 || slot >= kRosterSlots || guard_of_[slot] == 0) return false;
  *post = post_of_[slot];
  return true;
}

namespace {

int target_index(int type) {
  switch (target_class(type)) {
    case TargetClass::kArmor:
      return 1;
    case TargetClass::kAir:
      return 2;
    default:
      return 0;
  }
}

// A defence typical of each class: an attack that cannot beat it is left out of the danger.
constexpr int32_t kTypicalDefense[3] = {10, 30, 20};
// Types that stand for each class when an enemy's attack is looked up.
constexpr int kClassType[3] = {4, 9, 10};

}  // namespace

void Tactics::build_danger(const Game& g) {
  const WorldState& w = g.world;
  for (auto& by_kind : attack_sum_) {
    for (auto& grid : by_kind) {
      for (auto& column : grid) std::fill(std::begin(column), std::end(column), 0);
    }
  }
  for (auto& by_kind : weight_sum_) {
    for (auto& grid : by_kind) {
      for (auto& column : grid) std::fill(std::begin(column), std::end(column), 0);
    }
  }
  for (int i = 0; i < aware_count_; ++i) {
    const TUnit& e = memory_[aware_[i]];
    if (e.type == kEnemyHq) continue;  // HQs never strike in the enemy's turn
    const TUnitSpec& es = w.unit_specs[e.type];
    const int kind = is_aircraft(e.type) ? 1 : 0;
    const int32_t strength = es.max_hp > 0 ? std::clamp(e.hp * 100 / es.max_hp, 0, 100) : 0;
    const int reach = es.move + es.range;
    for (int c = 0; c < 3; ++c) {
      const int32_t twice = 2 * attack_value(es, kClassType[c]);
      if (twice <= kTypicalDefense[c]) continue;
      const int eva = w.unit_specs[kClassType[c]].evasion;
      for_each_cell_within(e.x, e.y, reach, [&](int x, int y) {
        // Beyond its range it must walk first, and a unit that walked hits half as often.
        const int acc = distance(x, y, e.x, e.y) > es.range ? es.accuracy / 2 : es.accuracy;
        const int32_t hit = (std::clamp(acc, 0, 99) + 1) * (100 - eva) / 100;
        const int32_t weight = hit * strength / 100;
        attack_sum_[kind][c][x][y] += twice * weight;
        weight_sum_[kind][c][x][y] += weight;
      });
    }
  }
}

int32_t Tactics::danger(const Game& g, int type, int x, int y) const {
  if (type < 1 || type >= kUnitSpecRows || !inside_map(x, y)) return 0;
  const TUnitSpec& s = g.world.unit_specs[type];
  const int c = target_index(type);
  const int64_t ground =
      int64_t{attack_sum_[0][c][x][y]} -
      int64_t{s.defense_ground + terrain_defense(g, x, y)} * weight_sum_[0][c][x][y];
  const int64_t air =
      int64_t{attack_sum_[1][c][x][y]} - int64_t{s.defense_air} * weight_sum_[1][c][x][y];
  return static_cast<int32_t>((std::max<int64_t>(0, ground) + std::max<int64_t>(0, air)) / 100);
}

void Tactics::prepare(const Game& g) {
  refresh_known(g);
  build_danger(g);
  body_ = kUnreached;
  terrain_distance(g, enemy_hq_cells_, enemy_hqs_, false, goal_ground_, heap_);
  terrain_distance(g, home_cells_, homes_, false, home_ground_, heap_);
  terrain_distance(g, threats_, threat_count_, false, threat_ground_, heap_);
  if (air_units_) {
    terrain_distance(g, enemy_hq_cells_, enemy_hqs_, true, goal_air_, heap_);
    terrain_distance(g, home_cells_, homes_, true, home_air_, heap_);
    terrain_distance(g, threats_, threat_count_, true, threat_air_, heap_);
  }
  place_guards(g);
  // The goal distances of the army, bar guards.
  int32_t distances[kRosterSlots];
  int n = 0;
  for (int s = 0; s < kRosterSlots; ++s) {
    const TUnit& u = g.world.player_units[s];
    if (!is_player_troop(u.type) || guard_of_[s] != 0 || !inside_map(u.x, u.y)) continue;
    if (goal_ground_[u.x][u.y] >= kUnreached) continue;
    distances[n++] = goal_ground_[u.x][u.y];
  }
  if (n >= 3) {
    std::sort(distances, distances + n);
    body_ = distances[n / 3];
  }
}

const CellGrid& Tactics::goal_field(const Game& g, const TUnit& u, bool* defending) const {
  (void)g;
  const bool air = is_aircraft(u.type);
  *defending = false;
  for (int i = 0; i < threatened_hq_count_; ++i) {
    const CellPoint& h = threatened_hqs_[i];
    // The last HQ calls in units from further away.
    const int reach = hq_count_ == 1 ? kDefenderDistance * 3 / 2 : kDefenderDistance;
    if (distance(u.x, u.y, h.x, h.y) <= reach) {
      *defending = true;
      return air ? threat_air_ : threat_ground_;
    }
  }
  return air ? goal_air_ : goal_ground_;
}

int32_t Tactics::goal_distance(const Game& g, int slot) const {
  const TUnit& u = g.world.player_units[slot];
  if (!inside_map(u.x, u.y)) return kUnreached;
  bool defending = false;
  return goal_field(g, u, &defending)[u.x][u.y];
}

int32_t Tactics::purchase(const Game& g, int hq_slot) const {
  const WorldState& w = g.world;
  const TUnit& hq = w.player_units[hq_slot];
  if (count_units(g, kCountPlayerUnits) >= kMaxOwnUnits) return 0;
  const int32_t sp = hq.sp;
  const auto affordable = [&](int t) {
    return w.unit_specs[t].cost < NO_AIR && unit_price(g, t) <= sp;
  };
  const auto count = [&](int t) { return w.unit_specs[t].count; };
  bool enemy_air = false;
  for (int i = 0; i < aware_count_; ++i) {
    const int t = memory_[aware_[i]].type;
    if (is_aircraft(t)) enemy_air = true;
  }
  // Near the ceiling, income is lost unless it is spent.
  const bool rich = sp >= w.unit_specs[kPlayerHq].max_sp - 15;

  if (enemy_air && count(kPlayerAntiAir) < 2 && affordable(kPlayerAntiAir)) return kPlayerAntiAir;
  // Guns carry the fight (they outrange everything), riflemen take the HQs, tanks shield both.
  if (count(kPlayerRiflemen) < 2 && affordable(kPlayerRiflemen)) return kPlayerRiflemen;
  // Scouts see furthest: without them the enemy shoots from the fog.
  if (count(kPlayerScout) < 2 && affordable(kPlayerScout)) return kPlayerScout;
  if (count(kPlayerArtillery) < 4 && affordable(kPlayerArtillery)) return kPlayerArtillery;
  if (affordable(kPlayerBomber) && count(kPlayerBomber) < 3 && rich) return kPlayerBomber;
  if (count(kPlayerTank) < count(kPlayerArtillery) && affordable(kPlayerTank)) return kPlayerTank;
  if (count(kPlayerRiflemen) < 4 && affordable(kPlayerRiflemen)) return kPlayerRiflemen;
  if (count(kPlayerArtillery) < 8 && affordable(kPlayerArtillery)) return kPlayerArtillery;
  if (affordable(kPlayerTank)) return kPlayerTank;
  if (rich) {
    for (int t : {kPlayerSelfPropelledGun, kPlayerArtillery, kPlayerRiflemen, kPlayerAssault}) {
      if (affordable(t)) return t;
    }
  }
  return 0;
}

int Tactics::deploy_dir(const Game& g, int hq_slot) const {
  const TUnit& hq = g.world.player_units[hq_slot];
  bool available[4];
  free_neighbours(g, hq.x, hq.y, available);
  int best = 0;
  int32_t best_d = kUnreached + 1;
  for (int dir = 1; dir <= 4; ++dir) {
    if (!available[dir - 1]) continue;
    int nx = 0;
    int ny = 0;
    deploy_neighbour(hq.x, hq.y, dir, &nx, &ny);
    if (goal_ground_[nx][ny] < best_d) {
      best_d = goal_ground_[nx][ny];
      best = dir;
    }
  }
  return best;
}

HqPlan Tactics::plan_hq(const Game& g, int slot) const {
  HqPlan plan;
  const TUnit& hq = g.world.player_units[slot];
  if (hq.type != kPlayerHq || hq.ready != 1) return plan;
  plan.build_type = purchase(g, slot);
  if (plan.build_type != 0 && deploy_dir(g, slot) == 0) plan.build_type = 0;
  const int range = g.world.unit_specs[kPlayerHq].range;
  for (int e = 0; e < kRosterSlots; ++e) {
    const TUnit& t = g.world.enemy_units[e];
    if (!is_enemy_type(t.type) || !inside_map(t.x, t.y)) continue;
    if (distance(hq.x, hq.y, t.x, t.y) <= range && attack_score(g, hq, false, e) > 0)
      plan.attack = true;
  }
  return plan;
}

int32_t Tactics::best_target(const Game& g) const {
  const WorldState& w = g.world;
  const int slot = w.selected_slot;
  if (slot < 0 || slot >= kRosterSlots) return -1;
  const TUnit& a = w.player_units[slot];
  int32_t best = -1;
  int32_t best_score = 0;
  for (int e = 0; e < kRosterSlots; ++e) {
    const TUnit& t = w.enemy_units[e];
    if (!is_enemy_type(t.type) || !inside_map(t.x, t.y)) continue;
    if (g.rules.attack_range[t.x][t.y] != 0) continue;
    if (terrain_at(g, t.x, t.y) == 0) continue;
    const int32_t s = attack_score(g, a, a.moved != 0, e);
    if (s > best_score) {
      best_score = s;
      best = e;
    }
  }
  return best;
}
