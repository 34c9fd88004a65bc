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
// Rows 1 to 25 are the unit types; row 0 is the empty slot and the rows after 25 are spare.
bool is_unit_type(int type) {
  return type >= 1 && type <= 25;
}

constexpr TCandidate kEmptyCandidate{kNone, kNone, kNone};
constexpr TPair kClearedPair{kNone, 0, 0, kNone, 0, 0, kNone};

void fill_attack_range(Game& g, int x, int y, int range) {
  for (int cx = 0; cx < kMapSize; ++cx) {
    for (int cy = 0; cy < kMapSize; ++cy) {
      const int64_t d = std::llabs(int64_t{cx} - x) + std::llabs(int64_t{cy} - y);
      g.rules.attack_range[cx][cy] = d <= range ? 0 : kNone;
    }
  }
}

bool in_attack_range(const Game& g, const TUnit& u) {
  return on_grid(u.x, u.y) && g.rules.attack_range[u.x][u.y] == 0;
}

// Fills `targets` with the units of `roster` of types lo..hi standing in attack_range, in slot
// order, after emptying it.
void list_in_range(const Game& g, const TUnit (&roster)[kRosterSlots], int lo, int hi,
                   TCandidate (&targets)[kCandidates]) {
  for (TCandidate& c : targets) c = kEmptyCandidate;
  int n = 0;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& u = roster[slot];
    if (u.type >= lo && u.type <= hi && in_attack_range(g, u)) {
      targets[n++] = TCandidate{slot, u.x, u.y};
    }
  }
}

TPair pair_of(const TCandidate& p, const TCandidate& e) {
  return TPair{p.slot, p.x, p.y, e.slot, e.x, e.y, cell_distance(p.x, p.y, e.x, e.y)};
}

// One attack of `a` on `t` (in slot t_slot of its roster). Both are known to be units.
int32_t resolve_attack(Game& g, const TUnit& a, TUnit& t, int t_slot) {
  const TUnitSpec& as = g.world.unit_specs[a.type];
  const TUnitSpec& ts = g.world.unit_specs[t.type];

  int64_t acc = as.accuracy;
  const int64_t eva = ts.evasion;
  int64_t def = 0;
  if (is_aircraft_attacker(a.type)) {
    def = ts.defense_air;
  } else {
    def =
        int64_t{ts.defense_ground} + g.world.terrain_specs[rules_terrain_code(g, t.x, t.y)].defense;
  }

  int64_t dmg = 2 * int64_t{attack_value(as, t.type)} - def;
  if (dmg < 0) dmg = 0;
  if (g.rng.next() % 30 == 0) dmg *= 2;
  if (dmg >= 5) {  // a fifth of the damage is at least 1
    const int64_t m = dmg / 5;
    dmg += g.rng.next() % m;
  }

  const int64_t half = acc / 2 > 0 ? acc / 2 : 1;
  const int64_t ev = eva > 0 ? eva : 1;
  const int64_t first = g.rng.next();
  const int64_t second = g.rng.next();
  const int64_t cut = first % ev - second % half;
  if (cut > 0) {
    dmg -= cut;
    if (dmg < 0) dmg = 0;
  }

  if (is_hq_type(t.type)) {
    if (is_infantry_attacker(a.type)) {
      dmg *= 2;
    } else {
      dmg /= 2;
    }
  }

  // A weakened unit strikes weaker, in proportion to its hit points. A unit with no hit points
  // left deals nothing rather than a negative amount, which would heal the target or read as a
  // miss.
  const double strength = as.max_hp > 0 ? static_cast<double>(a.hp) / as.max_hp : 0.0;
  const double scaled = static_cast<double>(dmg) * strength;
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  const int32_t damage = scaled <= 0.0    ? 0
                         : scaled >= kMax ? std::numeric_limits<int32_t>::max()
                                          : static_cast<int32_t>(scaled);

  // Having moved spoils the aim, not the damage already worked out.
  if (a.moved != 0) acc /= 2;
  int32_t result = damage;
  if (g.rng.next() % 100 > acc) {
    result = MISS;
  } else if (g.rng.next() % 100 < eva) {
    result = MISS;  // dodged
  } else {
    const int64_t left = int64_t{t.hp} - damage;
    t.hp = left > 0 ? static_cast<int32_t>(left) : 0;
  }
  g.rules.last_target = t_slot;
  return result;
}

void sort_range(RulesState& r, int lo, int hi) {
  if (lo >= hi) return;
  TPair* pairs = r.pair_list;
  const TPair pivot = pairs[lo];
  r.sort_pivot = pivot;
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
    r.sort_swap = pairs[i];
    pairs[i] = pairs[j];
    pairs[j] = r.sort_swap;
  }
  pairs[lo] = pairs[j];
  pairs[j] = pivot;
  sort_range(r, lo, j - 1);
  sort_range(r, j + 1, hi);
}

}  // namespace

TargetClass target_class(int type) {
  if ((type >= 1 && type <= 6) || (type >= 12 && type <= 17) || (type >= 23 && type <= 25)) {
    return TargetClass::kSoft;
  }
  if ((type >= 7 && type <= 9) || (type >= 18 && type <= 20)) return TargetClass::kArmor;
  if (type == 10 || type == 11 || type == 21 || type == 22) return TargetClass::kAir;
  return TargetClass::kNone;
}

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

bool is_aircraft_attacker(int type) {
  return type == 10 || type == 11 || type == 21 || type == 22;
}

bool is_infantry_attacker(int type) {
  return (type >= 2 && type <= 4) || (type >= 13 && type <= 15);
}

bool is_hq_type(int type) {
  return type == kPlayerHq || type == kEnemyHq;
}

int32_t cell_distance(int ax, int ay, int bx, int by) {
  const int64_t d = std::llabs(int64_t{ax} - bx) + std::llabs(int64_t{ay} - by);
  return d < std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(d)
                                                 : std::numeric_limits<int32_t>::max();
}

void clear_pair_list(Game& g) {
  for (TPair& p : g.rules.pair_list) p = kClearedPair;
}

void list_player_targets(Game& g, int x, int y, int slot, int range) {
  RulesState& r = g.rules;
  fill_attack_range(g, x, y, range);
  list_in_range(g, g.world.enemy_units, 12, 25, r.enemy_candidates);
  r.player_candidates[0] = TCandidate{slot, x, y};
  clear_pair_list(g);
  int n = 0;
  for (const TCandidate& e : r.enemy_candidates) {
    if (e.slot != kNone && r.player_candidates[0].slot != kNone) {
      r.pair_list[n++] = pair_of(r.player_candidates[0], e);
    }
  }
  sort_pairs(g, 0, kPairs - 1);
}

void list_enemy_targets(Game& g, int x, int y, int slot, int range) {
  RulesState& r = g.rules;
  fill_attack_range(g, x, y, range);
  list_in_range(g, g.world.player_units, 1, 11, r.player_candidates);
  r.enemy_candidates[0] = TCandidate{slot, x, y};
  clear_pair_list(g);
  int n = 0;
  for (const TCandidate& p : r.player_candidates) {
    if (p.slot != kNone && r.enemy_candidates[0].slot != kNone) {
      r.pair_list[n++] = pair_of(p, r.enemy_candidates[0]);
    }
  }
  sort_pairs(g, 0, kPairs - 1);
}

void sort_pairs(Game& g, int lo, int hi) {
  sort_range(g.rules, lo < 0 ? 0 : lo, hi > kPairs - 1 ? kPairs - 1 : hi);
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
