#include "bot/odds.h"

#include <algorithm>

#include "rules/combat.h"

namespace {

// Mean of max(0, a - b) with a drawn from 0..ev-1 and b from 0..half-1: what the evasion cut
// takes off a hit on average, times ev * half.
int64_t mean_cut_scaled(int64_t ev, int64_t half) {
  int64_t sum = 0;
  for (int64_t a = 1; a < ev; ++a) {
    const int64_t m = std::min(a, half);
    sum += m * a - m * (m - 1) / 2;
  }
  return sum;
}

// Mean damages beyond this are all the same to the plans, and keep their sums far from overflow.
constexpr int64_t kDamageCap = 1 << 20;

}  // namespace

AttackOdds attack_odds(const Game& g, const TUnit& attacker, bool moved, const TUnit& target) {
  AttackOdds o;
  TUnit a = attacker;
  a.moved = moved ? 1 : 0;
  const AttackBasis b = attack_basis(g, a, target);
  if (!b.possible) return o;
  int64_t dmg = b.base_damage;
  // The bonus draw adds 0 to dmg / 5 - 1, a doubling comes once in thirty.
  if (dmg >= 5) dmg += (dmg / 5 - 1) / 2;
  dmg += dmg / 30;
  dmg -= mean_cut_scaled(b.cut_evasion, b.cut_aim) / (b.cut_evasion * b.cut_aim);
  if (dmg < 0) dmg = 0;
  o.damage = static_cast<int32_t>(std::min<int64_t>(hit_damage(b, dmg), kDamageCap));
  o.hit_percent = hit_percent(b);
  return o;
}
