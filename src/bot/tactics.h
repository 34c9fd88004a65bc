// How the built-in player judges the battle from what it can see: where each unit can walk,
// how far every cell is from the enemy's HQs and from its own, what an attack is likely to do,
// which unit should act next and what the HQs should buy. Reads the game, never writes it, and
// keeps every work grid in fixed arrays.
#pragma once

#include <cstdint>

#include "world/world_state.h"

struct Game;

using CellGrid = int32_t[kMapSize][kMapSize];

// The value of a cell no walk reaches.
constexpr int32_t kUnreached = 65535;

// A binary heap of cells by cost, for the searches; room for every push a search over the
// whole map can make.
class SearchHeap {
 public:
  void clear() { n_ = 0; }
  bool empty() const { return n_ == 0; }
  void push(int32_t cost, int x, int y);
  // The cheapest entry; the heap must not be empty.
  void pop(int32_t* cost, int* x, int* y);

 private:
  struct Entry {
    int32_t cost;
    int16_t x;
    int16_t y;
  };
  static constexpr int kCapacity = kMapSize * kMapSize * 5 + 8;
  Entry e_[kCapacity];
  int n_ = 0;
};

// The least cost of walking from player unit `slot` to every cell, as the move command
// computes it: terrain costs of the unit's class, the whole move for water and for every cell
// next to an enemy unit that can attack the unit's class, no cell holding a unit entered, the
// border never entered. kUnreached elsewhere and on the unit's own cell.
void player_reach(const Game& g, int slot, CellGrid& reach, SearchHeap& heap);

// The cost of the cheapest walk from each cell to the nearest of the goal cells for a ground
// unit (air false) or an aircraft, over terrain alone: units are left out, since they move.
// Water counts as a long step. kUnreached where no goal can be reached.
void terrain_distance(const Game& g, const CellPoint* goals, int count, bool air, CellGrid& out,
                      SearchHeap& heap);

// What one attack is likely to do: the mean damage of a hit, already scaled by the attacker's
// strength and the HQ rule, and the chance to hit in percent.
struct AttackOdds {
  int32_t damage = 0;
  int32_t hit_percent = 0;
};
AttackOdds attack_odds(const Game& g, const TUnit& attacker, bool moved, const TUnit& target);

enum class PlanKind {
  kNothing,     // no use acting: the unit waits for the end of the turn
  kAttackHere,  // "攻撃" from where it stands
  kMoveAttack,  // "移動" to a cell from which the target is in range, then the attack
  kMove,        // "移動" toward its goal
};

struct UnitPlan {
  PlanKind kind = PlanKind::kNothing;
  int32_t score = 0;  // worth of the attack; 0 for a plain move
  int32_t dest_x = 0;
  int32_t dest_y = 0;
  int32_t target = -1;  // enemy slot
};

struct HqPlan {
  int32_t build_type = 0;  // 0: buy nothing
  bool attack = false;     // an enemy is worth shooting at from the HQ
};

// Cut-offs of the strategy.
constexpr int kRetreatPercent = 35;    // hit points at or below this share send a unit home
constexpr int kThreatDistance = 7;     // an enemy this close to one of our HQs is a threat
constexpr int kDefenderDistance = 12;  // our units this close to a threatened HQ defend it
constexpr int kMaxOwnUnits = 19;       // never more units of types 2 to 11 than this

class Tactics {
 public:
  // Reads the battle afresh: the enemies the player can see, the distance fields to the enemy's
  // HQs, to the cells beside our own and to the enemies threatening them.
  void prepare(const Game& g);
  // Only the enemies the player can see and which of them threaten our HQs; enough for the
  // target choice, which passes the distance fields by.
  void refresh_known(const Game& g);

  // The plan of player unit `slot` given where it can walk this turn.
  UnitPlan plan_unit(const Game& g, int slot, const CellGrid& reach) const;
  // The same with the walk computed here.
  UnitPlan plan_unit(const Game& g, int slot);

  // What player HQ `slot` should do this turn.
  HqPlan plan_hq(const Game& g, int slot) const;
  // The unit type the HQ should buy now, 0 for none.
  int32_t purchase(const Game& g, int hq_slot) const;
  // The free cell next to the HQ where a new unit should stand (1 up, 2 right, 3 down, 4 left),
  // 0 when none is free.
  int deploy_dir(const Game& g, int hq_slot) const;

  // The enemy the selected player unit should attack among those inside the game's attack
  // range (the target choice), -1 when none it can see is worth it.
  int32_t best_target(const Game& g) const;

  // How far the unit still is from its goal; units nearer the front move first.
  int32_t goal_distance(const Game& g, int slot) const;

  // The worth of attacking enemy slot e with player unit a.
  int32_t attack_score(const Game& g, const TUnit& a, bool moved, int e) const;

  // The enemies the player can see (HQs are always seen), by slot.
  int known_count() const { return known_count_; }
  int known(int i) const { return known_[i]; }

 private:
  const CellGrid& goal_field(const Game& g, const TUnit& u, bool* defending) const;

  CellGrid goal_ground_;
  CellGrid goal_air_;
  CellGrid home_ground_;
  CellGrid home_air_;
  CellGrid threat_ground_;
  CellGrid threat_air_;
  CellGrid reach_;
  SearchHeap heap_;
  int32_t known_[kRosterSlots] = {};
  int known_count_ = 0;
  bool threatened_[kRosterSlots] = {};  // enemy slots near one of our HQs
  CellPoint threatened_hqs_[kRosterSlots] = {};
  int threatened_hq_count_ = 0;
  CellPoint enemy_hq_cells_[kRosterSlots] = {};
  int enemy_hqs_ = 0;
  CellPoint threats_[kRosterSlots] = {};
  int threat_count_ = 0;
  CellPoint home_cells_[kRosterSlots * 4] = {};
  int homes_ = 0;
  bool air_units_ = false;
};
