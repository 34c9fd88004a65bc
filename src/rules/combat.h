// Attack ranges, target lists, the pair sort and the two attack routines.
//
// Each operation has a core that reads the game and writes only buffers its caller hands it,
// so the built-in player (and anything else that asks "what if") gets the rules' own answers
// without touching the game; the operations named on Game& are thin wrappers over the cores that
// write the game's own lists.
#pragma once

#include <cstdint>

#include "state/random.h"
#include "state/rules_state.h"
#include "world/unit_kinds.h"

struct Game;

// attack_soft, attack_armor or attack_air of `attacker` against a unit of `target_type`; 0 for
// a type that is no unit.
int32_t attack_value(const TUnitSpec& attacker, int target_type);

// |ax - bx| + |ay - by|.
int32_t cell_distance(int ax, int ay, int bx, int by);

// Where a target listing writes: the range grid, both candidate lists, the pairs and the two
// records the sort leaves behind. rules_target_lists names the game's own; TargetBuffers holds
// a caller's.
struct TargetLists {
  int32_t (&attack_range)[kMapSize][kMapSize];
  TCandidate (&player_candidates)[kCandidates];
  TCandidate (&enemy_candidates)[kCandidates];
  TPair (&pair_list)[kPairs];
  TPair& sort_swap;
  TPair& sort_pivot;
};
TargetLists rules_target_lists(RulesState& r);

struct TargetBuffers {
  int32_t attack_range[kMapSize][kMapSize];
  TCandidate player_candidates[kCandidates];
  TCandidate enemy_candidates[kCandidates];
  TPair pair_list[kPairs];
  TPair sort_swap;
  TPair sort_pivot;
  TargetLists lists() {
    return TargetLists{attack_range, player_candidates, enemy_candidates,
                       pair_list,    sort_swap,         sort_pivot};
  }
};

// The cores of list_player_targets and list_enemy_targets: they read the rosters and fill
// `out` exactly as those fill the game's lists, the entries they leave alone included.
void fill_player_targets(const Game& g, int x, int y, int slot, int range, const TargetLists& out);
void fill_enemy_targets(const Game& g, int x, int y, int slot, int range, const TargetLists& out);

// Sets every pair_list record to the cleared record: slots and distance 65535, cells 0.
void clear_pair_list(Game& g);

// Fills attack_range around (x, y) (0 within `range`, 65535 elsewhere), lists the enemy units in
// range in enemy_candidates, puts (slot, x, y) in player_candidates entry 0 and pairs it with
// every enemy candidate in pair_list, nearest first.
void list_player_targets(Game& g, int x, int y, int slot, int range);
// The same for the enemy unit in `slot`: player units in range go to player_candidates, the
// attacker to enemy_candidates entry 0.
void list_enemy_targets(Game& g, int x, int y, int slot, int range);

// Sorts pair_list entries lo to hi by distance, a quicksort with the first entry as pivot whose
// order of equal distances is part of the game (the computer attacks the first pair). Leaves
// the last pivot in sort_pivot and the last exchanged entry in sort_swap. lo and hi are held
// to 0..99.
void sort_pairs(Game& g, int lo, int hi);
// The same on a caller's lists.
void sort_pairs(const TargetLists& lists, int lo, int hi);

// Whether an attack of the target is doubled or halved because the target is an HQ.
enum class HqRule {
  kNone,    // the target is no HQ
  kDouble,  // infantry storm HQs
  kHalve,   // everything else barely scratches them
};

// What an attack comes to before any random draw, as the attack itself works it out: the one
// formula of the game's damage and hit chance, for the attack, for the built-in player's odds and
// for anything that shows a forecast. The draws are then (in this order): a doubling, a bonus
// of up to a fifth, the two numbers of the evasion cut, the aim test and the dodge test.
struct AttackBasis {
  bool possible = false;    // both are units; no attack happens otherwise
  int32_t attack = 0;       // the attacker's value against the target's class
  int64_t defense = 0;      // air defence against aircraft, else ground defence plus cover
  int64_t base_damage = 0;  // 2 * attack - defense, not below 0
  int64_t cut_evasion = 1;  // the first number of the cut is taken modulo this (at least 1)
  int64_t cut_aim = 1;      // the second modulo this: half the full accuracy, at least 1
  HqRule hq = HqRule::kNone;
  int32_t hp = 0;       // the attacker's hit points and its type's full hit points:
  int32_t max_hp = 0;   // a weakened unit strikes in proportion
  int64_t aim = 0;      // a first test number (modulo 100) above this misses; halved
                        // for a unit that has moved this turn
  int64_t evasion = 0;  // a second test number (modulo 100) below this is dodged
};
// `attacker.moved` decides the aim; the target's cell decides its cover.
AttackBasis attack_basis(const Game& g, const TUnit& attacker, const TUnit& target);
// The draws of an attack that shape its damage, taken from `rng` in the attack's own order (a
// doubling, a bonus, the two numbers of the evasion cut): the base damage as they leave it,
// before the HQ rule and the attacker's strength. Three or four numbers are drawn.
int64_t drawn_damage(const AttackBasis& b, Random& rng);
// What a hit deals when the draws have made `dmg` of the base damage: the HQ rule, then the
// attacker's strength (in double precision, truncated, as the attack does it).
int32_t hit_damage(const AttackBasis& b, int64_t dmg);
// The most a hit can deal: the draws at their kindest to the attacker (a doubling, the whole
// bonus, no cut), then the HQ rule and the attacker's strength as in hit_damage.
int32_t best_hit_damage(const AttackBasis& b);
// The chance that the attack hits, in percent, reading the test numbers as even over 0 to 99.
int32_t hit_percent(const AttackBasis& b);

// Player unit in slot p attacks enemy unit in slot e: returns the damage dealt (0 or more) or
// MISS, lowers the target's hp and sets last_target. Draws five or six random numbers. A slot
// outside 0..59 or one that holds no unit (type 0 or outside 1..25) makes no attack: 65535, no
// draws, nothing changed.
int32_t player_attack(Game& g, int p, int e);

// Enemy unit in slot e attacks the nearest player unit within its range (the first pair after
// list_enemy_targets). Returns the damage, MISS, or 65535 with no draws when no player unit is
// in range. A slot outside 0..59 or one holding no unit returns 65535 and changes nothing.
int32_t enemy_attack(Game& g, int e);
