#include "bot/tactics.h"

#include <algorithm>

#include "rules/combat.h"
#include "state/game.h"
#include "world/production.h"
#include "world/roster_queries.h"
#include "world/tables.h"

namespace {

constexpr int kDx[4] = {0, 1, 0, -1};
constexpr int kDy[4] = {1, 0, -1, 0};

// Water ends a ground unit's move: as a distance it counts like several plain steps.
constexpr int32_t kWaterStep = 6;
constexpr int32_t kImpassable = 65535;
constexpr int32_t kFullMoveCost = 255;

bool inside_map(int x, int y) {
  return x >= 1 && x <= kMapSize - 2 && y >= 1 && y <= kMapSize - 2;
}

bool is_player_unit_type(int t) {
  return t >= 2 && t <= 11;
}

bool is_enemy_type(int t) {
  return t >= kEnemyHq && t <= 25;
}

int32_t distance(int ax, int ay, int bx, int by) {
  return std::abs(ax - bx) + std::abs(ay - by);
}

// The terrain cost of a cell for a ground unit (air false) or an aircraft with `move` points.
int32_t terrain_cost(const Game& g, int x, int y, bool air, int32_t move) {
  const TTerrainSpec& t = g.world.terrain_specs[terrain_at(g, x, y)];
  if (air) return t.air_cost;
  if (t.ground_cost == kFullMoveCost) return move;
  return t.ground_cost;
}

int32_t terrain_defense(const Game& g, int x, int y) {
  const int32_t d = g.world.terrain_specs[terrain_at(g, x, y)].defense;
  return d >= kImpassable ? 0 : d;
}

// Mean of max(0, a - b) with a drawn from 0..ev-1 and b from 0..half-1: what the evasion cut
// takes off a hit on average, times ev * half.
int64_t mean_cut_scaled(int ev, int half) {
  int64_t sum = 0;
  for (int a = 1; a < ev; ++a) {
    const int64_t m = std::min(a, half);
    sum += m * a - m * (m - 1) / 2;
  }
  return sum;
}

bool fits(const TUnitSpec& hinderer, bool air) {
  return air ? hinderer.attack_air > 0 : hinderer.attack_soft + hinderer.attack_armor > 0;
}

}  // namespace

void SearchHeap::push(int32_t cost, int x, int y) {
  if (n_ >= kCapacity) return;
  int i = n_++;
  const Entry item{cost, static_cast<int16_t>(x), static_cast<int16_t>(y)};
  while (i > 0) {
    const int parent = (i - 1) / 2;
    if (e_[parent].cost <= cost) break;
    e_[i] = e_[parent];
    i = parent;
  }
  e_[i] = item;
}

void SearchHeap::pop(int32_t* cost, int* x, int* y) {
  const Entry top = e_[0];
  const Entry last = e_[--n_];
  int i = 0;
  while (true) {
    int child = 2 * i + 1;
    if (child >= n_) break;
    if (child + 1 < n_ && e_[child + 1].cost < e_[child].cost) ++child;
    if (e_[child].cost >= last.cost) break;
    e_[i] = e_[child];
    i = child;
  }
  if (n_ > 0) e_[i] = last;
  *cost = top.cost;
  *x = top.x;
  *y = top.y;
}

void player_reach(const Game& g, int slot, CellGrid& reach, SearchHeap& heap) {
  for (auto& column : reach) std::fill(std::begin(column), std::end(column), kUnreached);
  if (slot < 0 || slot >= kRosterSlots) return;
  const TUnit& u = g.world.player_units[slot];
  if (u.type < 1 || u.type >= kUnitSpecRows || !inside_map(u.x, u.y)) return;
  const TUnitSpec& stats = g.world.unit_specs[u.type];
  const bool air = stats.air == 1;
  const int32_t move = stats.move;

  // Cells that cost the whole move: next to an enemy that can hit this kind of unit.
  static_assert(kMapSize <= 64);
  uint64_t ring[kMapSize] = {};
  bool blocked[kMapSize][kMapSize] = {};
  for (const TUnit& e : g.world.enemy_units) {
    if (e.type == 0 || e.type >= kUnitSpecRows) continue;
    if (is_enemy_type(e.type) && e.x >= 0 && e.x < kMapSize && e.y >= 0 && e.y < kMapSize)
      blocked[e.x][e.y] = true;
    if (!fits(g.world.unit_specs[e.type], air)) continue;
    for (int d = 0; d < 4; ++d) {
      const int nx = e.x + kDx[d];
      const int ny = e.y + kDy[d];
      if (nx >= 0 && nx < kMapSize && ny >= 0 && ny < kMapSize) ring[nx] |= uint64_t{1} << ny;
    }
  }
  for (const TUnit& p : g.world.player_units) {
    if (p.type >= 1 && p.type <= 11 && p.x >= 0 && p.x < kMapSize && p.y >= 0 && p.y < kMapSize)
      blocked[p.x][p.y] = true;
  }

  heap.clear();
  reach[u.x][u.y] = 0;
  heap.push(0, u.x, u.y);
  while (!heap.empty()) {
    int32_t cost = 0;
    int x = 0;
    int y = 0;
    heap.pop(&cost, &x, &y);
    if (cost > reach[x][y]) continue;
    for (int d = 0; d < 4; ++d) {
      const int nx = x + kDx[d];
      const int ny = y + kDy[d];
      if (!inside_map(nx, ny) || blocked[nx][ny]) continue;
      int32_t step = (ring[nx] >> ny) & 1 ? move : terrain_cost(g, nx, ny, air, move);
      if (step >= kImpassable) continue;
      if (step < 0) step = 0;
      const int32_t next = cost + step;
      if (next < reach[nx][ny]) {
        reach[nx][ny] = next;
        heap.push(next, nx, ny);
      }
    }
  }
  // The mover's own cell holds a unit: it is no destination.
  reach[u.x][u.y] = kUnreached;
}

void terrain_distance(const Game& g, const CellPoint* goals, int count, bool air, CellGrid& out,
                      SearchHeap& heap) {
  for (auto& column : out) std::fill(std::begin(column), std::end(column), kUnreached);
  heap.clear();
  for (int i = 0; i < count; ++i) {
    const int x = goals[i].x;
    const int y = goals[i].y;
    if (!inside_map(x, y) || out[x][y] == 0) continue;
    out[x][y] = 0;
    heap.push(0, x, y);
  }
  while (!heap.empty()) {
    int32_t cost = 0;
    int x = 0;
    int y = 0;
    heap.pop(&cost, &x, &y);
    if (cost > out[x][y]) continue;
    // The walk runs from the neighbour into this cell, so this cell's cost is paid.
    int32_t step = terrain_cost(g, x, y, air, kWaterStep);
    if (step >= kImpassable && cost > 0) continue;
    if (step >= kImpassable || step < 1) step = 1;
    for (int d = 0; d < 4; ++d) {
      const int nx = x + kDx[d];
      const int ny = y + kDy[d];
      if (!inside_map(nx, ny)) continue;
      if (terrain_cost(g, nx, ny, air, kWaterStep) >= kImpassable) continue;
      const int32_t next = cost + step;
      if (next < out[nx][ny]) {
        out[nx][ny] = next;
        heap.push(next, nx, ny);
      }
    }
  }
}

AttackOdds attack_odds(const Game& g, const TUnit& attacker, bool moved, const TUnit& target) {
  AttackOdds o;
  if (attacker.type < 1 || attacker.type >= kUnitSpecRows) return o;
  if (target.type < 1 || target.type >= kUnitSpecRows) return o;
  const TUnitSpec& a = g.world.unit_specs[attacker.type];
  const TUnitSpec& t = g.world.unit_specs[target.type];
  const int32_t atk = attack_value(a, target.type);
  const int32_t def = is_aircraft_attacker(attacker.type)
                          ? t.defense_air
                          : t.defense_ground + terrain_defense(g, target.x, target.y);
  int64_t dmg = std::max<int64_t>(0, 2 * int64_t{atk} - def);
  // The bonus draw adds 0 to dmg / 5 - 1, a doubling comes once in thirty.
  if (dmg >= 5) dmg += (dmg / 5 - 1) / 2;
  dmg += dmg / 30;
  const int ev = std::max(1, t.evasion);
  const int half = std::max(1, a.accuracy / 2);
  dmg -= mean_cut_scaled(ev, half) / (int64_t{ev} * half);
  if (dmg < 0) dmg = 0;
  if (is_hq_type(target.type)) dmg = is_infantry_attacker(attacker.type) ? dmg * 2 : dmg / 2;
  if (a.max_hp > 0) dmg = dmg * std::max(0, attacker.hp) / a.max_hp;
  o.damage = static_cast<int32_t>(std::min<int64_t>(dmg, 1 << 20));

  int acc = moved ? a.accuracy / 2 : a.accuracy;
  acc = std::clamp(acc, 0, 99);
  const int eva = std::clamp(t.evasion, 0, 100);
  o.hit_percent = ((acc + 1) * (100 - eva) + 50) / 100;
  return o;
}

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
    if (p.type == 10 || p.type == 11) air_units_ = true;
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
    if (is_player_unit_type(u.type)) ++army;
  }
  // Guards stand between the HQ and the enemy: whatever comes for the HQ meets them first, and
  // the computer's units shoot at the nearest unit in range. The nearest units that keep the
  // ground from afar: guns before scouts and riflemen, tanks only when nothing else is near,
  // never aircraft. Two for a big enough army.
  static constexpr int kPreference[12] = {0, 0, 8, 20, 10, 4, 0, 15, 25, 40, 99, 99};
  const int per_hq = army >= 6 ? 2 : 1;
  for (int round = 0; round < per_hq; ++round) {
    for (int h = 0; h < hq_count_; ++h) {
      int best = -1;
      int best_key = 0;
      for (int s = 0; s < kRosterSlots; ++s) {
        const TUnit& u = w.player_units[s];
        if (!is_player_unit_type(u.type) || guard_of_[s] != 0 || !inside_map(u.x, u.y)) continue;
        if (kPreference[u.type] >= 99) continue;
        const int d = distance(u.x, u.y, hq_cells_[h].x, hq_cells_[h].y);
        if (d > 20) continue;
        const int key = d * 4 + kPreference[u.type];
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

// Every cell inside the map's ring within `move` steps of (ux, uy), column by column.
template <typename Visit>
void for_each_cell_within(int ux, int uy, int move, Visit visit) {
  for (int x = std::max(1, ux - move); x <= std::min(kMapSize - 2, ux + move); ++x) {
    const int span = move - std::abs(x - ux);
    for (int y = std::max(1, uy - span); y <= std::min(kMapSize - 2, uy + span); ++y) visit(x, y);
  }
}

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
    const int kind = is_aircraft_attacker(e.type) ? 1 : 0;
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

int32_t Tactics::danger_cost(const Game& g, const TUnit& u, int x, int y) const {
  const int32_t hp = std::max(1, u.hp);
  const int32_t percent = std::min(150, danger(g, u.type, x, y) * 100 / hp);
  // Careful, a unit weighs losing its whole strength like two cells of ground; reckless, like
  // half a cell.
  const int32_t weight = 32 - 24 * boldness_ / 100;
  return percent * weight / 100;
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
    if (!is_player_unit_type(u.type) || guard_of_[s] != 0 || !inside_map(u.x, u.y)) continue;
    if (goal_ground_[u.x][u.y] >= kUnreached) continue;
    distances[n++] = goal_ground_[u.x][u.y];
  }
  if (n >= 3) {
    std::sort(distances, distances + n);
    body_ = distances[n / 3];
  }
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
    // Taking the HQs wins the stage; wearing one down comes next.
    value = dealt * 300 / std::max(1, ts.max_hp);
    if (kills) value += enemy_hqs_ <= 1 ? 100000 : 3000;
  } else {
    value = dealt * 100 / std::max(1, ts.max_hp);
    // A unit that hits hard is worth removing sooner.
    value = value * (100 + std::min(160, ts.attack_soft + ts.attack_armor + ts.attack_air)) / 100;
    if (kills) value += 150;
    if (threatened_[e]) value *= 2;
  }
  return static_cast<int32_t>(std::min<int64_t>(value * o.hit_percent / 100, 1 << 30));
}

const CellGrid& Tactics::goal_field(const Game& g, const TUnit& u, bool* defending) const {
  (void)g;
  const bool air = u.type == 10 || u.type == 11;
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

UnitPlan Tactics::plan_unit(const Game& g, int slot) {
  player_reach(g, slot, reach_, heap_);
  return plan_unit(g, slot, reach_);
}

UnitPlan Tactics::plan_unit(const Game& g, int slot, const CellGrid& reach) const {
  UnitPlan plan;
  if (slot < 0 || slot >= kRosterSlots) return plan;
  const WorldState& w = g.world;
  const TUnit& u = w.player_units[slot];
  if (!is_player_unit_type(u.type) || u.ready != 1 || !inside_map(u.x, u.y)) return plan;
  const TUnitSpec& stats = w.unit_specs[u.type];
  const bool air = stats.air == 1;
  const bool can_walk = u.moved == 0;
  CellPoint post{0, 0};
  const bool guard = guard_post(slot, &post);

  // The best attack from where it stands, at whatever stands in range: like the computer's
  // units, the player shoots into the fog inside the range outline.
  UnitPlan here;
  for (int e = 0; e < kRosterSlots; ++e) {
    const TUnit& t = w.enemy_units[e];
    if (!is_enemy_type(t.type) || !inside_map(t.x, t.y)) continue;
    if (distance(u.x, u.y, t.x, t.y) > stats.range) continue;
    const int32_t s = attack_score(g, u, u.moved != 0, e);
    if (s > here.score) {
      here.kind = PlanKind::kAttackHere;
      here.score = s;
      here.target = e;
      here.dest_x = u.x;
      here.dest_y = u.y;
    }
  }

  const bool hurt = u.hp * 100 <= stats.max_hp * kRetreatPercent;
  const CellGrid& home = air ? home_air_ : home_ground_;
  bool beside_home = false;
  for (const TUnit& h : w.player_units) {
    if (h.type == kPlayerHq && distance(h.x, h.y, u.x, u.y) == 1) beside_home = true;
  }

  // The best attack after a walk: a moved unit hits half as often, so only a better target
  // than the one at hand is worth it.
  UnitPlan walk;
  if (can_walk && !hurt) {
    // Walks only toward enemies seen now or lately, where they were seen.
    for (int i = 0; i < aware_count_; ++i) {
      const int e = aware_[i];
      const TUnit& t = memory_[e];
      if (distance(u.x, u.y, t.x, t.y) > stats.range + stats.move + 1) continue;
      const int32_t s = attack_score(g, u, true, t, e);
      if (s <= walk.score || s <= here.score) continue;
      // Among the cells in range, the safest, with cover; ranged units keep their distance.
      bool found = false;
      int32_t best_key = 0;
      int32_t best_cost = 0;
      int bx = 0;
      int by = 0;
      for_each_cell_within(t.x, t.y, stats.range, [&](int x, int y) {
        if (reach[x][y] > stats.move) return;
        // A guard strikes only from near its post.
        if (guard && distance(x, y, post.x, post.y) > kGuardDistance) return;
        const int32_t cost = danger_cost(g, u, x, y);
        int32_t key = terrain_defense(g, x, y) + 10 * distance(x, y, t.x, t.y) - cost * 4;
        // Keep the cells beside our HQs free for new units.
        for (const TUnit& h : w.player_units) {
          if (h.type == kPlayerHq && distance(h.x, h.y, x, y) == 1) key -= 30;
        }
        if (!found || key > best_key) {
          found = true;
          best_key = key;
          best_cost = cost;
          bx = x;
          by = y;
        }
      });
      // What the walk exposes the unit to is paid out of what the attack is worth.
      const int32_t net = s - best_cost * 3 / 2;
      if (!found || net <= walk.score || net <= here.score) continue;
      walk.kind = PlanKind::kMoveAttack;
      walk.score = net;
      walk.target = e;
      walk.dest_x = bx;
      walk.dest_y = by;
    }
  }

  if (hurt) {
    // Home to the HQ for repairs, shooting only where it stands.
    if (here.score > 0) return here;
    if (beside_home || !can_walk) return plan;
  } else {
    if (walk.score > here.score) return walk;
    if (here.score > 0) return here;
    if (!can_walk) return plan;
  }

  if (guard && !hurt) {
    // Back to the post.
    const auto post_key = [&](int x, int y) {
      return distance(x, y, post.x, post.y) * 16 + danger_cost(g, u, x, y);
    };
    int32_t best = post_key(u.x, u.y);
    for_each_cell_within(u.x, u.y, stats.move, [&](int x, int y) {
      if (reach[x][y] > stats.move) return;
      const int32_t key = post_key(x, y);
      if (key < best) {
        best = key;
        plan.kind = PlanKind::kMove;
        plan.dest_x = x;
        plan.dest_y = y;
      }
    });
    return plan;
  }

  bool defending = false;
  const CellGrid& field = hurt ? home : goal_field(g, u, &defending);
  const int32_t now = field[u.x][u.y];
  int64_t best = int64_t{now} * 16 + danger_cost(g, u, u.x, u.y);
  for_each_cell_within(u.x, u.y, stats.move, [&](int x, int y) {
    if (reach[x][y] > stats.move || field[x][y] >= kUnreached) return;
    // Danger alone never sends a healthy unit back: the enemy's reach covers half the map.
    if (!hurt && field[x][y] > now) return;
    // The army keeps together, unless it is defending or has waited too long.
    if (!hurt && !defending && !air && boldness_ < 50 && body_ < kUnreached &&
        field[x][y] < body_ - kLead && field[x][y] < now) {
      return;
    }
    int64_t key =
        int64_t{field[x][y]} * 16 - terrain_defense(g, x, y) / 5 + danger_cost(g, u, x, y);
    if (!hurt) {
      for (const TUnit& h : w.player_units) {
        if (h.type == kPlayerHq && distance(h.x, h.y, x, y) == 1) key += 40;
      }
    }
    if (key < best) {
      best = key;
      plan.kind = PlanKind::kMove;
      plan.dest_x = x;
      plan.dest_y = y;
    }
  });
  return plan;
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
    if (t == 21 || t == 22) enemy_air = true;
  }
  // Near the ceiling, income is lost unless it is spent.
  const bool rich = sp >= w.unit_specs[kPlayerHq].max_sp - 15;

  if (enemy_air && count(8) < 2 && affordable(8)) return 8;
  // Guns carry the fight (they outrange everything), riflemen take the HQs, tanks shield both.
  if (count(4) < 2 && affordable(4)) return 4;
  // Scouts see furthest: without them the enemy shoots from the fog.
  if (count(2) < 2 && affordable(2)) return 2;
  if (count(6) < 4 && affordable(6)) return 6;
  if (affordable(10) && count(10) < 3 && rich) return 10;
  if (count(9) < count(6) && affordable(9)) return 9;
  if (count(4) < 4 && affordable(4)) return 4;
  if (count(6) < 8 && affordable(6)) return 6;
  if (affordable(9)) return 9;
  if (rich) {
    for (int t : {7, 6, 4, 3}) {
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
