// How the built-in player judges the battle from what it can see: where each unit can walk,
// how far every cell is from the enemy's HQs and from its own, what an attack is likely to do,
// which unit should act next and what the HQs should buy. Reads the game, never writes it, and
// keeps every work grid in fixed arrays.
#pragma once

#include <cstdint>

#include "bot/odds.h"
#include "bot/search.h"
#include "rules/reach.h"
#include "state/world_state.h"

struct Game;

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
constexpr int kThreatDistance = 10;    // an enemy this close to one of our HQs is a threat
constexpr int kDefenderDistance = 12;  // our units this close to a threatened HQ defend it
constexpr int kMaxOwnUnits = 19;       // never more units of types 2 to 11 than this
constexpr int kGuardDistance = 2;      // a guard stays this close to its HQ
constexpr int kLead = 4;               // how far a unit may run ahead of the body of the army
constexpr int kMemoryTurns = 4;        // an enemy out of sight is remembered this many turns

class Tactics {
 public:
  // Reads the battle afresh: the enemies the player can see, the distance fields to the enemy's
  // HQs, to the cells beside our own and to the enemies threatening them.
  void prepare(const Game& g);
  // Only the enemies the player can see or remembers and which of them threaten our HQs;
  // enough for the target choice, which passes the distance fields by.
  void refresh_known(const Game& g);
  // A new battle: nothing seen yet.
  void forget();

  // The plan of player unit `slot` given where it can walk this turn.
  UnitPlan plan_unit(const Game& g, int slot, const CellGrid& reach) const;
  // The same with the walk computed here.
  UnitPlan plan_unit(const Game& g, int slot);
  // Where player unit `slot` can walk this turn, as the move command would outline it: the
  // rules' own reach, worked out in the player's grids without touching the game. kUnreached
  // everywhere for a slot that holds no troop on the map.
  const CellGrid& walk_area(const Game& g, int slot);

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
  // The same against a unit as it was last seen.
  int32_t attack_score(const Game& g, const TUnit& a, bool moved, const TUnit& t, int e) const;

  // How much risk the player takes, 0 (careful) to 100 (reckless): grows while the battle
  // stands still, so a careful army does not wait forever before a line that never moves.
  void set_boldness(int boldness) {
    boldness_ = boldness < 0 ? 0 : boldness > 100 ? 100 : boldness;
  }

  // The hit points a unit of `type` standing on (x, y) may expect to lose in the enemy's next
  // turn, from every enemy the player can see that could walk into range of it.
  int32_t danger(const Game& g, int type, int x, int y) const;

  // The cell where unit `slot` stands guard over one of our HQs, false when it guards none.
  bool guard_post(int slot, CellPoint* post) const;

  // The enemies the player can see (HQs are always seen), by slot.
  int known_count() const { return known_count_; }
  int known(int i) const { return known_[i]; }

 private:
  const CellGrid& goal_field(const Game& g, const TUnit& u, bool* defending) const;
  void build_danger(const Game& g);
  void assign_guards(const Game& g);
  // Keeps where each enemy unit was last seen: those out of sight now are still reckoned with
  // (their danger, their threat to our HQs) for a few turns, until their cell is seen empty.
  void remember(const Game& g);
  void place_guards(const Game& g);
  // What the danger at a cell costs a unit of `hp` hit points, in the units of the plans' keys.
  int32_t danger_cost(const Game& g, const TUnit& u, int x, int y) const;
  // The parts of plan_unit: the best attack from where the unit stands; the best attack after a
  // walk, better than `here_score` (a guard, with its `post`, strikes only from near it); the
  // way back to the post; the step toward the unit's goal, or home when it is `hurt`.
  UnitPlan attack_from_here(const Game& g, const TUnit& u) const;
  UnitPlan attack_after_walk(const Game& g, const TUnit& u, const CellGrid& reach,
                             const CellPoint* post, int32_t here_score) const;
  UnitPlan back_to_post(const Game& g, const TUnit& u, const CellGrid& reach, CellPoint post) const;
  UnitPlan advance(const Game& g, const TUnit& u, const CellGrid& reach, bool hurt) const;

  CellGrid goal_ground_;
  CellGrid goal_air_;
  CellGrid home_ground_;
  CellGrid home_air_;
  CellGrid threat_ground_;
  CellGrid threat_air_;
  // The walk of the unit being planned, worked out by the rules' reach in the player's own
  // grids.
  CellGrid move_cost_;
  CellGrid reach_;
  ReachWork reach_work_;
  // What the enemies that could strike each cell next turn bring against a soft, an armoured
  // and a flying unit there, by the kind of attacker (ground units meet the cell's cover,
  // aircraft do not): the sum of twice their attack and the sum of the weights (chance to hit
  // times strength, in percent) it was taken with.
  CellGrid attack_sum_[2][3];
  CellGrid weight_sum_[2][3];
  int boldness_ = 0;
  // The goal distance of the body of the army (a third of it is further forward), which the
  // others wait for; kUnreached when there is no army to speak of.
  int32_t body_ = kUnreached;
  // For every player slot, the index + 1 of the HQ (in hq_cells_) it guards; 0 for none.
  int8_t guard_of_[kRosterSlots] = {};
  CellPoint hq_cells_[kRosterSlots] = {};
  CellPoint post_of_[kRosterSlots] = {};
  int hq_count_ = 0;
  SearchHeap heap_;
  int32_t known_[kRosterSlots] = {};
  int known_count_ = 0;
  TUnit memory_[kRosterSlots] = {};
  int32_t memory_turn_[kRosterSlots] = {};
  int32_t aware_[kRosterSlots] = {};
  int aware_count_ = 0;
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
