// What the built-in player saw of its battles: when each began and ended, and what fell in
// between, read from the rosters pass by pass. Kept apart from the player's decisions so that the
// figures tools/balance reports do not depend on how the player chooses its moves.
#pragma once

#include <cstdint>

#include "state/world_state.h"

struct Game;

// What the player saw of one battle.
struct BattleRecord {
  enum Outcome { kUnfinished, kVictory, kDefeat };
  int32_t stage = 0;  // 1 to 10
  Outcome outcome = kUnfinished;
  int32_t turns = 0;              // player turns begun
  int64_t passes = 0;             // passes from the sortie to the outcome
  int32_t units_lost = 0;         // our units destroyed (types 2 to 11)
  int32_t hqs_lost = 0;           // our HQs taken by the enemy
  int32_t units_built = 0;        // units our HQs placed
  int32_t enemies_destroyed = 0;  // enemy units destroyed (HQs not counted)
  int32_t hqs_taken = 0;          // enemy HQs we took
  int32_t cancels = 0;            // intentions given up with the right button or dropped
};

// Scenes the player's side of a battle and the computer's turn run in; the victory pause and the
// ending follow the last blow of a won battle.
bool battle_scene(int32_t scene);

class BattleLog {
 public:
  static constexpr int kMaxBattles = 128;

  // Looks at the game after pass `pass`; true when a battle began with it.
  bool observe(const Game& g, int64_t pass);
  // One intention given up; counted only while a battle runs.
  void count_cancel();

  bool in_battle() const { return in_battle_; }
  int count() const { return count_; }
  const BattleRecord& battle(int i) const { return battles_[i]; }
  // Battles that have ended since the start, including those the record no longer keeps.
  int ended() const { return ended_; }
  // Player turns since an enemy unit or HQ last fell in the latest battle; 0 before any battle.
  int32_t turns_without_progress() const;

 private:
  void begin(const Game& g, int64_t pass);
  void end(BattleRecord::Outcome outcome);
  void count_losses(const Game& g, int64_t pass);

  bool in_battle_ = false;
  int32_t turn0_ = 0;
  int32_t progress_turn_ = 0;  // the last turn an enemy unit or HQ fell
  int64_t pass0_ = 0;
  int32_t prev_player_[kRosterSlots] = {};
  int32_t prev_enemy_[kRosterSlots] = {};
  BattleRecord battles_[kMaxBattles] = {};
  int count_ = 0;
  int ended_ = 0;
};
