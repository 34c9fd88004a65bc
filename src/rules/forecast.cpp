#include "rules/forecast.h"

#include "rules/combat.h"
#include "state/game.h"
#include "world/unit_kinds.h"

AttackForecast forecast_player_attack(const Game& g, int p, int e) {
  AttackForecast f;
  if (p < 0 || p >= kRosterSlots || e < 0 || e >= kRosterSlots) return f;
  const TUnit& attacker = g.world.player_units[p];
  const TUnit& target = g.world.enemy_units[e];
  const AttackBasis b = attack_basis(g, attacker, target);
  if (!b.possible) return f;

  // Nothing draws between this pass and the click that attacks, so the copy draws exactly what
  // the attack will.
  Random next_draws = g.rng;
  f.shown = true;
  f.target_slot = e;
  f.x = target.x;
  f.y = target.y;
  f.hit_percent = hit_percent(b);
  f.damage = hit_damage(b, drawn_damage(b, next_draws));
  f.target_hp = target.hp;
  f.target_max_hp = g.world.unit_specs[target.type].max_hp;
  const int64_t left = int64_t{target.hp} - f.damage;
  f.target_hp_after = left > 0 ? static_cast<int32_t>(left) : 0;
  f.destroyed = f.target_hp_after == 0 && !is_hq_type(target.type);
  f.captured = f.target_hp_after == 0 && is_hq_type(target.type);
  return f;
}
