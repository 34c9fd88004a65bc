// The built-in player: plays the red side through the pointer and its two buttons only, the way
// a person at the mouse would. Before every pass the host asks it for the pointer sample; it
// looks at the game (never changing it), keeps an intention (act with this unit, buy at that HQ,
// end the turn) and turns it into gestures: move the pointer, press, release, and look again at
// what the game did. Every intention that stops making progress is cancelled with the right
// button, so the player is never stuck.
#pragma once

#include <cstdint>
#include <cstdio>

#include "bot/pointer_plan.h"
#include "bot/tactics.h"
#include "state/host.h"

struct Game;

struct AutoplayOptions {
  // Passes the pointer rests on its target before the button goes down; more makes the play
  // easier to follow in the window.
  int dwell = 1;
  // Stop once this many battles have ended, won or lost; 0 plays the campaign to the ending.
  int battles = 0;
  // Whether a saved campaign can be continued from the title; by default, whether the save file
  // "Continue" would read can be read.
  bool (*save_exists)() = nullptr;
  // Where to write one line per decision and per cancel, for studying a game; nullptr: none.
  std::FILE* trace = nullptr;
};

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

class Autoplay : public PointerDriver {
 public:
  explicit Autoplay(const AutoplayOptions& options);

  PointerSample next_sample(const Game& g) override;
  bool finished() const override { return finished_; }

  static constexpr int kMaxBattles = 128;
  int battle_count() const { return battle_count_; }
  const BattleRecord& battle(int i) const { return battles_[i]; }
  int64_t passes() const { return pass_; }

 private:
  enum class Intent { kNone, kUnit, kHq, kEndTurn };
  struct Intention {
    Intent kind = Intent::kNone;
    int slot = -1;
    UnitPlan unit;
    HqPlan hq;
    bool engaged = false;      // its menu has opened
    bool want_list = false;    // bring it into view through the unit list
    bool listed = false;       // the unit list was asked for
    bool move_chosen = false;  // "移動" was chosen
    bool attack_chosen = false;
    bool build_chosen = false;
  };
  struct Step {
    int x;
    int y;
    bool left;
    bool right;
  };

  void observe(const Game& g);
  void begin_battle(const Game& g);
  void end_battle(const Game& g, BattleRecord::Outcome outcome);
  void count_losses(const Game& g);

  void decide(const Game& g);
  void on_title(const Game& g);
  void on_intermission(const Game& g);
  void on_map(const Game& g);
  void on_map_menu(const Game& g);
  void on_unit_list(const Game& g);
  void on_hq_menu(const Game& g);
  void on_production(const Game& g);
  void on_deploy(const Game& g);
  void on_unit_menu(const Game& g);
  void on_destination(const Game& g);
  void on_target(const Game& g);
  void choose_next(const Game& g);
  // Click the map cell, scrolling first when it lies outside the map area; false when no
  // scroll can bring it in.
  bool click_cell(const Game& g, int x, int y);
  // Gives up the intention: right click where the scene offers a cancel.
  void give_up(bool right_click);
  bool too_many_tries();

  void click(Aim at);
  void right_click(Aim at);
  void hold_left(Aim at);
  void idle();
  void push(int x, int y, bool left, bool right);

  AutoplayOptions options_;
  Tactics tactics_;

  Step steps_[16] = {};
  int step_count_ = 0;
  int step_pos_ = 0;
  PointerSample last_{320, 240, false, false};

  int64_t pass_ = 0;
  Intention intent_;
  int visit_scene_ = -1;
  int visit_tries_ = 0;
  int visit_scrolls_ = 0;
  int32_t turn_seen_ = -1;
  int turn_actions_ = 0;
  uint8_t tried_[kRosterSlots] = {};

  int32_t saved_stage_ = -1;
  int32_t saved_max_ = -1;
  bool ending_seen_ = false;
  bool sortie_sent_ = false;  // "出撃" was clicked and no battle has begun since
  bool finished_ = false;

  bool in_battle_ = false;
  int32_t battle_turn0_ = 0;
  int32_t progress_turn_ = 0;  // the last turn an enemy unit or HQ fell
  int64_t battle_pass0_ = 0;
  int32_t prev_player_[kRosterSlots] = {};
  int32_t prev_enemy_[kRosterSlots] = {};
  BattleRecord battles_[kMaxBattles] = {};
  int battle_count_ = 0;
  int battles_ended_ = 0;
};
