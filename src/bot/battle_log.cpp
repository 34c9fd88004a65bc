#include "bot/battle_log.h"

#include "state/game.h"
#include "state/scene.h"
#include "world/unit_kinds.h"

bool battle_scene(int32_t scene) {
  return scene >= kSceneMap && scene != kSceneVictoryPause && scene != kSceneEnding;
}

bool BattleLog::observe(const Game& g, int64_t pass) {
  const int32_t scene = g.flow.scene;
  // The defeat banner's pause ends a battle; it never begins one.
  const bool began = !in_battle_ && battle_scene(scene) && scene != kSceneDefeatPause;
  if (began) begin(g, pass);
  if (in_battle_) {
    count_losses(g, pass);
    if (scene == kSceneVictoryPause) {
      end(BattleRecord::kVictory);
    } else if (scene == kSceneDefeatPause) {
      end(BattleRecord::kDefeat);
    } else if (!battle_scene(scene)) {
      end(BattleRecord::kUnfinished);
    }
  }
  return began;
}

void BattleLog::count_cancel() {
  if (in_battle_ && count_ > 0) ++battles_[count_ - 1].cancels;
}

int32_t BattleLog::turns_without_progress() const {
  return count_ > 0 ? battles_[count_ - 1].turns - progress_turn_ : 0;
}

void BattleLog::begin(const Game& g, int64_t pass) {
  in_battle_ = true;
  if (count_ == kMaxBattles) {
    // The record keeps the first battles and the latest one.
    count_ = kMaxBattles - 1;
  }
  BattleRecord& r = battles_[count_++];
  r = BattleRecord{};
  // A damaged save can leave any stage number; the record must not overflow counting from one.
  r.stage = g.flow.stage_no < INT32_MAX ? g.flow.stage_no + 1 : INT32_MAX;
  turn0_ = g.flow.turn_no;
  progress_turn_ = 1;
  pass0_ = pass;
  for (int s = 0; s < kRosterSlots; ++s) {
    prev_player_[s] = g.world.player_units[s].type;
    prev_enemy_[s] = g.world.enemy_units[s].type;
  }
}

void BattleLog::end(BattleRecord::Outcome outcome) {
  battles_[count_ - 1].outcome = outcome;
  in_battle_ = false;
  ++ended_;
}

void BattleLog::count_losses(const Game& g, int64_t pass) {
  BattleRecord& r = battles_[count_ - 1];
  // The first turn of a stage counts one; every later player turn adds two to the counter.
  r.turns = (g.flow.turn_no - turn0_) / 2 + 1;
  r.passes = pass - pass0_;
  for (int s = 0; s < kRosterSlots; ++s) {
    const int32_t p = g.world.player_units[s].type;
    if (p != prev_player_[s]) {
      if (is_player_troop(prev_player_[s])) ++r.units_lost;
      if (prev_player_[s] == kPlayerHq) ++r.hqs_lost;
      if (is_player_troop(p)) ++r.units_built;
      prev_player_[s] = p;
    }
    const int32_t e = g.world.enemy_units[s].type;
    if (e != prev_enemy_[s]) {
      if (is_enemy_troop(prev_enemy_[s])) ++r.enemies_destroyed;
      if (prev_enemy_[s] == kEnemyHq) ++r.hqs_taken;
      if (is_enemy_type(prev_enemy_[s])) progress_turn_ = r.turns;
      prev_enemy_[s] = e;
    }
  }
}
