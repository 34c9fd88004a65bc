// What the built-in player expects of one attack. The rules say what an attack comes to before
// its draws (rules/combat.h, attack_basis); the expectation over the draws is the player's own.
#pragma once

#include <cstdint>

#include "state/world_state.h"

struct Game;

// What one attack is likely to do: the mean damage of a hit, already scaled by the attacker's
// strength and the HQ rule, and the chance to hit in percent.
struct AttackOdds {
  int32_t damage = 0;
  int32_t hit_percent = 0;
};
// `moved` stands for the attacker's moved byte at the time of the attack, which may lie after a
// walk the player is only weighing.
AttackOdds attack_odds(const Game& g, const TUnit& attacker, bool moved, const TUnit& target);
