#include "rules/combat.h"

#include <cstdlib>
#include <limits>

#include "rules/reach.h"
#include "rules/terrain_code.h"
#include "state/game.h"

namespace {

bool is_slot(int slot) {
  return slot >= 0 && slot < kRosterSlots;
}

constexpr TCandidate kEmptyCandidate{kNone, kNone, kNone};
constexpr TPair kClearedPair{kNone, 0, 0, kNone, 0, 0, kNone};

void fill_attack_range(int32_t (&grid)[kMapSize][kMapSize], int x, int y, int range) {
  for (int cx = 0; cx < kMapSize; ++cx) {
    for (int cy = 0; cy < kMapSize; ++cy) {
      const int64_t d = std::llabs(int64_t{cx} - x) + std::llabs(int64_t{cy} - y);
      grid[cx][cy] = d <= range ? 0 : kNone;
    }
  }
}

// Fills `targets` with the units of `roster` of `side` standing inside `range_grid`, in slot
// order, after emptying it.
void list_in_range(const TUnit (&roster)[kRosterSlots], bool (*of_side)(int),
                   const int32_t (&range_grid)[kMapSize][kMapSize],
                   TCandidate (&targets)[kCandidates]) {
  for (TCandidate& c : targets) c = kEmptyCandidate;
  int n = 0;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& u = roster[slot];
    if (of_side(u.type) && on_grid(u.x, u.y) && range_grid[u.x][u.y] == 0) {
      targets[n++] = TCandidate{slot, u.x, u.y};
    }
  }
}

TPair pair_of(const TCandidate& p, const TCandidate& e) {
  return TPair{p.slot, p.x, p.y, e.slot, e.x, e.y, cell_distance(p.x, p.y, e.x, e.y)};
}

// One attack of `a` on `t` (in slot t_slot of its roster). Both are known to be units.
int32_t resolve_attack(Game& g, const TUnit& a, TUnit& t, int t_slot) {
  const AttackBasis b = attack_basis(g, a, t);
  const int32_t damage = hit_damage(b, drawn_damage(b, g.rng));

  int32_t result = damage;
  if (g.rng.next() % 100 > b.aim) {
    result = MISS;
  } else if (g.rng.next() % 100 < b.evasion) {
    result = MISS;  // dodged
  } else {
    const int64_t left = int64_t{t.hp} - damage;
    t.hp = left > 0 ? static_cast<int32_t>(left) : 0;
  }
  g.rules.last_target = t_slot;
  return result;
}

void sort_range(const TargetLists& lists, int lo, int hi) {
  if (lo >= hi) return;
  TPair* pairs = lists.pair_list;
  const TPair pivot = pairs[lo];
  lists.sort_pivot = pivot;
  int i = lo;
  int j = hi + 1;
  for (;;) {
    do {
      ++i;
    } while (i <= hi && pairs[i].distance < pivot.distance);
    // Entry lo holds the pivot and is never exchanged, so j stops there at the latest.
    do {
      --j;
    } while (pairs[j].distance > pivot.distance);
    if (i >= j) break;
    lists.sort_swap = pairs[i];
    pairs[i] = pairs[j];
    pairs[j] = lists.sort_swap;
  }
  pairs[lo] = pairs[j];
  pairs[j] = pivot;
  sort_range(lists, lo, j - 1);
  sort_range(lists, j + 1, hi);
}

// Pairs `attacker` (already in its own list's entry 0) with every candidate of `targets`,
// the player's side first in each pair, and sorts the pairs.
void pair_and_sort(const TargetLists& out, const TCandidate& attacker,
                   const TCandidate (&targets)[kCandidates], bool attacker_is_player) {
  for (TPair& p : out.pair_list) p = kClearedPair;
  int n = 0;
  for (const TCandidate& c : targets) {
    if (c.slot != kNone && attacker.slot != kNone) {
      out.pair_list[n++] = attacker_is_player ? pair_of(attacker, c) : pair_of(c, attacker);
    }
  }
  sort_pairs(out, 0, kPairs - 1);
}

}  // namespace

int32_t attack_value(const TUnitSpec& attacker, int target_type) {
  switch (target_class(target_type)) {
    case TargetClass::kSoft:
      return attacker.attack_soft;
    case TargetClass::kArmor:
      return attacker.attack_armor;
    case TargetClass::kAir:
      return attacker.attack_air;
    case TargetClass::kNone:
      break;
  }
  return 0;
}

int32_t cell_distance(int ax, int ay, int bx, int by) {
  const int64_t d = std::llabs(int64_t{ax} - bx) + std::llabs(int64_t{ay} - by);
  return d < std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(d)
                                                 : std::numeric_limits<int32_t>::max();
}

TargetLists rules_target_lists(RulesState& r) {
  return TargetLists{r.attack_range, r.player_candidates, r.enemy_candidates,
                     r.pair_list,    r.sort_swap,         r.sort_pivot};
}

void fill_player_targets(const Game& g, int x, int y, int slot, int range, const TargetLists& out) {
  fill_attack_range(out.attack_range, x, y, range);
  list_in_range(g.world.enemy_units, is_enemy_type, out.attack_range, out.enemy_candidates);
  out.player_candidates[0] = TCandidate{slot, x, y};
  pair_and_sort(out, out.player_candidates[0], out.enemy_candidates, true);
}

void fill_enemy_targets(const Game& g, int x, int y, int slot, int range, const TargetLists& out) {
  fill_attack_range(out.attack_range, x, y, range);
  list_in_range(g.world.player_units, is_player_type, out.attack_range, out.player_candidates);
  out.enemy_candidates[0] = TCandidate{slot, x, y};
  pair_and_sort(out, out.enemy_candidates[0], out.player_candidates, false);
}

void clear_pair_list(Game& g) {
  for (TPair& p : g.rules.pair_list) p = kClearedPair;
}

void list_player_targets(Game& g, int x, int y, int slot, int range) {
  fill_player_targets(g, x, y, slot, range, rules_target_lists(g.rules));
}

void list_enemy_targets(Game& g, int x, int y, int slot, int range) {
  fill_enemy_targets(g, x, y, slot, range, rules_target_lists(g.rules));
}

void sort_pairs(Game& g, int lo, int hi) {
  sort_pairs(rules_target_lists(g.rules), lo, hi);
}

void sort_pairs(const TargetLists& lists, int lo, int hi) {
  sort_range(lists, lo < 0 ? 0 : lo, hi > kPairs - 1 ? kPairs - 1 : hi);
}

AttackBasis attack_basis(const Game& g, const TUnit& attacker, const TUnit& target) {
  AttackBasis b;
  if (!is_unit_type(attacker.type) || !is_unit_type(target.type)) return b;
  const TUnitSpec& as = g.world.unit_specs[attacker.type];
  const TUnitSpec& ts = g.world.unit_specs[target.type];
  b.possible = true;
  b.attack = attack_value(as, target.type);
  if (is_aircraft(attacker.type)) {
    b.defense = ts.defense_air;
  } else {
    b.defense = int64_t{ts.defense_ground} +
                g.world.terrain_specs[rules_terrain_code(g, target.x, target.y)].defense;
  }
  b.base_damage = 2 * int64_t{b.attack} - b.defense;
  if (b.base_damage < 0) b.base_damage = 0;

  const int64_t acc = as.accuracy;
  b.cut_evasion = ts.evasion > 0 ? ts.evasion : 1;
  b.cut_aim = acc / 2 > 0 ? acc / 2 : 1;
  if (is_hq_type(target.type)) b.hq = is_infantry(attacker.type) ? HqRule::kDouble : HqRule::kHalve;
  b.hp = attacker.hp;
  b.max_hp = as.max_hp;
  // Having moved spoils the aim, not the damage already worked out.
  b.aim = attacker.moved != 0 ? acc / 2 : acc;
  b.evasion = ts.evasion;
  return b;
}

int64_t drawn_damage(const AttackBasis& b, Random& rng) {
  int64_t dmg = b.base_damage;
  if (rng.next() % 30 == 0) dmg *= 2;
  if (dmg >= 5) {  // a fifth of the damage is at least 1
    const int64_t m = dmg / 5;
    dmg += rng.next() % m;
  }
  const int64_t first = rng.next();
  const int64_t second = rng.next();
  const int64_t cut = first % b.cut_evasion - second % b.cut_aim;
  if (cut > 0) {
    dmg -= cut;
    if (dmg < 0) dmg = 0;
  }
  return dmg;
}

int32_t best_hit_damage(const AttackBasis& b) {
  if (!b.possible) return 0;
  int64_t dmg = 2 * b.base_damage;
  if (dmg >= 5) dmg += dmg / 5 - 1;
  return hit_damage(b, dmg);
}

int32_t hit_damage(const AttackBasis& b, int64_t dmg) {
  if (b.hq == HqRule::kDouble) dmg *= 2;
  if (b.hq == HqRule::kHalve) dmg /= 2;
  // A weakened unit strikes weaker, in proportion to its hit points. A unit with no hit points
  // left deals nothing rather than a negative amount, which would heal the target or read as a
  // miss.
  const double strength = b.max_hp > 0 ? static_cast<double>(b.hp) / b.max_hp : 0.0;
  const double scaled = static_cast<double>(dmg) * strength;
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  return scaled <= 0.0    ? 0
         : scaled >= kMax ? std::numeric_limits<int32_t>::max()
                          : static_cast<int32_t>(scaled);
}

int32_t hit_percent(const AttackBasis& b) {
  if (!b.possible) return 0;
  // The aim test passes on the numbers 0 to aim, the dodge test on evasion to 99.
  const int64_t aimed = b.aim + 1 < 0 ? 0 : b.aim + 1 > 100 ? 100 : b.aim + 1;
  const int64_t undodged = 100 - (b.evasion < 0 ? 0 : b.evasion > 100 ? 100 : b.evasion);
  return static_cast<int32_t>((aimed * undodged + 50) / 100);
}

int32_t player_attack(Game& g, int p, int e) {
  if (!is_slot(p) || !is_slot(e)) return kNone;
  const TUnit& a = g.world.player_units[p];
  TUnit& t = g.world.enemy_units[e];
  if (!is_unit_type(a.type) || !is_unit_type(t.type)) return kNone;
  return resolve_attack(g, a, t, e);
}

int32_t enemy_attack(Game& g, int e) {
  if (!is_slot(e)) return kNone;
  const TUnit& a = g.world.enemy_units[e];
  if (!is_unit_type(a.type)) return kNone;
  list_enemy_targets(g, a.x, a.y, e, g.world.unit_specs[a.type].range);
  if (g.rules.player_candidates[0].slot == kNone) return kNone;
  const int p = g.rules.pair_list[0].p_slot;
  return resolve_attack(g, a, g.world.player_units[p], p);
}
