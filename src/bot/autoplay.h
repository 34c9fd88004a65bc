// The built-in player: plays the red side through the pointer and its two buttons only, the way
// a person at the mouse would. Before every pass the host asks it for the pointer sample; it
// looks at the game (never changing it), keeps an intention (act with this unit, buy at that HQ,
// end the turn) and turns it into gestures: move the pointer, press, release, and look again at
// what the game did. Every intention that stops making progress is cancelled with the right
// button, so the player is never stuck.
#pragma once

#include <cstdint>
#include <cstdio>

#include "bot/battle_log.h"
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

class Autoplay : public PointerDriver {
 public:
  explicit Autoplay(const AutoplayOptions& options);

  PointerSample next_sample(const Game& g) override;
  bool finished() const override { return finished_; }

  int battle_count() const { return log_.count(); }
  const BattleRecord& battle(int i) const { return log_.battle(i); }
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

  BattleLog log_;
};
