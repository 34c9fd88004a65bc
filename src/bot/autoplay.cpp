#include "bot/autoplay.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "game/campaign.h"
#include "state/game.h"
#include "state/scene.h"
#include "world/production.h"
#include "world/roster_queries.h"
#include "world/unit_kinds.h"

namespace {

// Clicks in one visit of a scene before the intention is given up.
constexpr int kMaxTries = 4;
// Passes of holding the button in the scroll frame in one visit of a scene.
constexpr int kMaxScrolls = 240;
// Intentions started in one turn before the turn is simply ended.
constexpr int kMaxTurnActions = 120;
// A view shift of more cells than this goes through the unit list instead of the scroll frame.
constexpr int kScrollCells = 4;

constexpr Aim kMapMiddle{320, 240};

// Turns without an enemy falling before the player takes more risk, and how much more a turn.
constexpr int kPatientTurns = 3;
constexpr int kBoldnessStep = 20;

bool player_scene(int s) {
  return battle_scene(s) && s < kSceneEnemyTurnPause;
}

bool save_file_readable(const Game& g) {
  return access(progress_file_to_read(g).c_str(), R_OK) == 0;
}

}  // namespace

Autoplay::Autoplay(const AutoplayOptions& options) : options_(options) {
  if (options_.dwell < 0) options_.dwell = 0;
}

PointerSample Autoplay::next_sample(const Game& g) {
  ++pass_;
  observe(g);
  if (step_pos_ >= step_count_) {
    step_count_ = 0;
    step_pos_ = 0;
    decide(g);
    if (step_count_ == 0) idle();
  }
  const Step& s = steps_[step_pos_++];
  last_ = PointerSample{s.x, s.y, s.left, s.right};
  return last_;
}

// ---------------------------------------------------------------------------------------------
// What happened since the last pass.

void Autoplay::observe(const Game& g) {
  const int scene = g.flow.scene;
  if (log_.observe(g, pass_)) {
    sortie_sent_ = false;
    tactics_.forget();
    turn_seen_ = -1;
  }
  // "出撃" that leads to the intermission's pause instead of the map: the stage's map could not
  // be read, and trying again would only show the same message.
  if (scene == kSceneIntermissionSavePause && sortie_sent_) finished_ = true;
  // The save notice shows only once the file was written.
  if (scene == kSceneIntermissionSavePause) {
    saved_stage_ = g.flow.stage_no;
    saved_max_ = g.flow.max_stage;
  }
  if (scene == kSceneEnding) ending_seen_ = true;
  const bool limit_reached = options_.battles > 0 && log_.ended() >= options_.battles;
  // Stop where the outcome shows: the next intermission or the title.
  const bool outcome_shown =
      scene == kSceneTitleMenu || scene == kSceneIntermission || scene == kSceneEnding;
  if (limit_reached && outcome_shown) finished_ = true;
  if (!player_scene(scene)) intent_ = Intention{};
}

// ---------------------------------------------------------------------------------------------
// Gestures: one Step per pass.

void Autoplay::push(int x, int y, bool left, bool right) {
  if (step_count_ >= static_cast<int>(sizeof steps_ / sizeof steps_[0])) return;
  steps_[step_count_++] = Step{x, y, left, right};
}

void Autoplay::click(Aim at) {
  for (int i = 0; i < options_.dwell; ++i) push(at.x, at.y, false, false);
  push(at.x, at.y, true, false);
  push(at.x, at.y, false, false);
}

void Autoplay::right_click(Aim at) {
  for (int i = 0; i < options_.dwell; ++i) push(at.x, at.y, false, false);
  push(at.x, at.y, false, true);
  push(at.x, at.y, false, false);
}

void Autoplay::hold_left(Aim at) {
  push(at.x, at.y, true, false);
}

void Autoplay::idle() {
  push(last_.x, last_.y, false, false);
}

bool Autoplay::too_many_tries() {
  return ++visit_tries_ > kMaxTries;
}

void Autoplay::give_up(bool cancel) {
  if (options_.trace != nullptr) {
    std::fprintf(options_.trace, "pass %lld scene %d: give up slot %d\n",
                 static_cast<long long>(pass_), visit_scene_, intent_.slot);
  }
  if (intent_.slot >= 0 && intent_.slot < kRosterSlots) tried_[intent_.slot] = 1;
  log_.count_cancel();
  intent_ = Intention{};
  if (cancel) {
    right_click(kMapMiddle);
  } else {
    idle();
  }
}

bool Autoplay::click_cell(const Game& g, int x, int y) {
  const int vx = g.view.view_x;
  const int vy = g.view.view_y;
  if (cell_clickable(x, y, vx, vy)) {
    if (too_many_tries()) return false;
    click(cell_centre(x, y, vx, vy));
    return true;
  }
  Aim at;
  if (++visit_scrolls_ > kMaxScrolls || !scroll_point(x, y, vx, vy, &at)) return false;
  hold_left(at);
  return true;
}

// ---------------------------------------------------------------------------------------------
// What to do in the scene at hand.

void Autoplay::decide(const Game& g) {
  const int scene = g.flow.scene;
  if (scene != visit_scene_) {
    visit_scene_ = scene;
    visit_tries_ = 0;
    visit_scrolls_ = 0;
  }
  if (finished_) return idle();
  switch (scene) {
    case kSceneTitleMenu:
      return on_title(g);
    case kSceneIntermission:
      return on_intermission(g);
    case kSceneMap:
      return on_map(g);
    case kSceneHqMenu:
      return on_hq_menu(g);
    case kSceneProductionList:
      return on_production(g);
    case kSceneDeployCell:
      return on_deploy(g);
    case kSceneUnitMenu:
      return on_unit_menu(g);
    case kSceneMoveTarget:
      return on_destination(g);
    case kSceneAttackTarget:
      return on_target(g);
    case kSceneMapMenu:
      return on_map_menu(g);
    case kSceneUnitList:
      return on_unit_list(g);
    case kSceneStageSelect:  // never wanted: back to the intermission
    case kSceneSkillPanel:
    case kSceneVictoryCondition:
      return right_click(kMapMiddle);
    case kSceneEnding:
      return click(kMapMiddle);
    default:
      // Pauses, walks, the computer's turn and the release gates: hands off the buttons.
      return idle();
  }
}

void Autoplay::on_title(const Game& g) {
  const bool resume =
      options_.save_exists != nullptr ? options_.save_exists() : save_file_readable(g);
  click(menu_row_point(kTitleMenu.x, kTitleMenu.y, kTitleMenu.width,
                       resume ? kRowContinue : kRowStart));
}

void Autoplay::on_intermission(const Game& g) {
  if (ending_seen_ && options_.battles == 0) {
    // Back from the ending: the campaign is played through.
    finished_ = true;
    return idle();
  }
  // Saved before every sortie, so that after a defeat "Continue" resumes this stage.
  const bool saved = saved_stage_ == g.flow.stage_no && saved_max_ == g.flow.max_stage;
  const int row = saved ? kRowSortie : kRowSaveAtCamp;
  sortie_sent_ = row == kRowSortie;
  click(menu_row_point(kIntermissionMenu.x, kIntermissionMenu.y, kIntermissionMenu.width, row));
}

void Autoplay::choose_next(const Game& g) {
  intent_ = Intention{};
  if (++turn_actions_ > kMaxTurnActions) {
    intent_.kind = Intent::kEndTurn;
    return;
  }
  // A battle that stands still makes the player bolder, turn by turn.
  if (log_.count() > 0) {
    tactics_.set_boldness((log_.turns_without_progress() - kPatientTurns) * kBoldnessStep);
  }
  tactics_.prepare(g);
  const WorldState& w = g.world;

  int attack_slot = -1;
  UnitPlan attack;
  int move_slot = -1;
  UnitPlan move;
  int32_t move_key = kUnreached + 1;
  for (int s = 0; s < kRosterSlots; ++s) {
    const TUnit& u = w.player_units[s];
    if (!is_player_troop(u.type) || u.ready != 1 || tried_[s] != 0) continue;
    const UnitPlan p = tactics_.plan_unit(g, s);
    switch (p.kind) {
      case PlanKind::kAttackHere:
      case PlanKind::kMoveAttack:
        if (p.score > attack.score) {
          attack = p;
          attack_slot = s;
        }
        break;
      case PlanKind::kMove: {
        // The front moves first, so the units behind find the way clear; the scouts before
        // everyone, so the others see what they shoot at.
        int32_t key = tactics_.goal_distance(g, s);
        if (u.type == kPlayerScout) key -= kUnreached;
        if (move_slot < 0 || key < move_key) {
          move = p;
          move_slot = s;
          move_key = key;
        }
        break;
      }
      case PlanKind::kNothing:
        tried_[s] = 1;
        break;
    }
  }
  const bool scout_first = move_slot >= 0 && w.player_units[move_slot].type == kPlayerScout;
  if (attack_slot >= 0 && !scout_first) {
    intent_.kind = Intent::kUnit;
    intent_.slot = attack_slot;
    intent_.unit = attack;
  } else if (move_slot >= 0) {
    intent_.kind = Intent::kUnit;
    intent_.slot = move_slot;
    intent_.unit = move;
  } else {
    // The HQs last: the units around them have made room, and what they build acts at once.
    for (int s = 0; s < kRosterSlots && intent_.kind == Intent::kNone; ++s) {
      const TUnit& h = w.player_units[s];
      if (h.type != kPlayerHq || h.ready != 1 || tried_[s] != 0) continue;
      const HqPlan p = tactics_.plan_hq(g, s);
      if (p.build_type == 0 && !p.attack) {
        tried_[s] = 1;
        continue;
      }
      intent_.kind = Intent::kHq;
      intent_.slot = s;
      intent_.hq = p;
    }
  }
  if (intent_.kind == Intent::kNone) intent_.kind = Intent::kEndTurn;
  if (options_.trace != nullptr) {
    std::fprintf(options_.trace,
                 "pass %lld turn %d: intent %d slot %d plan %d score %d dest %d,%d target %d "
                 "build %d attack %d\n",
                 static_cast<long long>(pass_), g.flow.turn_no, static_cast<int>(intent_.kind),
                 intent_.slot, static_cast<int>(intent_.unit.kind), intent_.unit.score,
                 intent_.unit.dest_x, intent_.unit.dest_y, intent_.unit.target,
                 intent_.hq.build_type, intent_.hq.attack ? 1 : 0);
  }
  if (intent_.kind == Intent::kEndTurn) return;

  // Far away: the unit list centres the view on the unit, when the row of the map menu that
  // opens the list does not choose another unit in the same pass.
  const TUnit& u = w.player_units[intent_.slot];
  const int dx = std::max({0, 1 - (u.x - g.view.view_x), (u.x - g.view.view_x) - 18});
  const int dy = std::max({0, 1 - (u.y - g.view.view_y), (u.y - g.view.view_y) - 13});
  const bool list_usable =
      intent_.slot < 40 && (intent_.slot == 21 || intent_.slot == 22 ||
                            w.player_units[21].type == 0 || w.player_units[22].type == 0);
  intent_.want_list = list_usable && std::max(dx, dy) > kScrollCells;
}

void Autoplay::on_map(const Game& g) {
  if (g.flow.turn_no != turn_seen_) {
    turn_seen_ = g.flow.turn_no;
    std::memset(tried_, 0, sizeof tried_);
    turn_actions_ = 0;
    intent_ = Intention{};
  }
  // Back on the map after the unit's menu: its action is over, whatever came of it.
  if (intent_.kind != Intent::kNone && intent_.engaged) {
    if (intent_.slot >= 0) tried_[intent_.slot] = 1;
    intent_ = Intention{};
  }
  if (intent_.kind == Intent::kUnit || intent_.kind == Intent::kHq) {
    const TUnit& u = g.world.player_units[intent_.slot];
    const bool hq = intent_.kind == Intent::kHq;
    if (u.ready != 1 || (hq ? u.type != kPlayerHq : !is_player_troop(u.type))) {
      tried_[intent_.slot] = 1;
      intent_ = Intention{};
    }
  }
  if (intent_.kind == Intent::kNone) choose_next(g);

  if (intent_.kind == Intent::kEndTurn) return right_click(kMapMiddle);

  const TUnit& u = g.world.player_units[intent_.slot];
  const int vx = g.view.view_x;
  const int vy = g.view.view_y;
  if (cell_clickable(u.x, u.y, vx, vy)) {
    if (too_many_tries()) return give_up(false);
    return click(cell_centre(u.x, u.y, vx, vy));
  }
  if (intent_.want_list && !intent_.listed) return right_click(kMapMiddle);
  if (!click_cell(g, u.x, u.y)) give_up(false);
}

void Autoplay::on_map_menu(const Game& g) {
  const MenuWindow& m = kMapMenu;
  if (intent_.kind == Intent::kEndTurn) {
    if (too_many_tries()) return give_up(true);
    return click(menu_row_point(m.x, m.y, m.width, kRowTurnEnd));
  }
  if (intent_.kind != Intent::kNone && intent_.want_list && !intent_.listed) {
    if (too_many_tries()) return give_up(true);
    intent_.listed = true;
    // The list is drawn in this same pass under the held button: the press lands on the row
    // of slot 21 or 22, which must be empty or the unit wanted.
    const int slot = intent_.slot;
    int y_slot = slot;
    if (slot != 21 && slot != 22) y_slot = g.world.player_units[21].type == 0 ? 21 : 22;
    Aim at = menu_row_point(m.x, m.y, m.width, kRowUnitList);
    at.y = unit_list_row_y_for(y_slot);
    return click(at);
  }
  right_click(kMapMiddle);
}

void Autoplay::on_unit_list(const Game& g) {
  (void)g;
  if (intent_.kind != Intent::kNone && intent_.want_list && intent_.slot < 40) {
    if (too_many_tries()) return give_up(true);
    intent_.want_list = false;
    return click(unit_list_point(intent_.slot));
  }
  right_click(kMapMiddle);
}

void Autoplay::on_hq_menu(const Game& g) {
  const WorldState& w = g.world;
  if (intent_.kind != Intent::kHq || w.selected_slot != intent_.slot ||
      w.selected_unit.type != kPlayerHq) {
    return right_click(kMapMiddle);
  }
  intent_.engaged = true;
  if (too_many_tries()) return give_up(true);
  const int x0 = command_menu_left(w.selected_unit.x, g.view.view_x);
  int row = kRowHqWait;
  if (intent_.hq.build_type != 0 && !intent_.build_chosen &&
      count_units(g, kCountPlayerUnits) < kPlayerProductionLimit) {
    intent_.build_chosen = true;
    row = kRowHqProduce;
  } else if (intent_.hq.attack && !intent_.attack_chosen) {
    intent_.attack_chosen = true;
    row = kRowHqAttack;
  }
  click(menu_row_point(x0, kCommandMenuY, kCommandMenuWidth, row));
}

void Autoplay::on_production(const Game& g) {
  const WorldState& w = g.world;
  const int type = intent_.hq.build_type;
  if (intent_.kind != Intent::kHq || !is_player_troop(type)) return right_click(kMapMiddle);
  if (unit_price(g, type) > w.selected_unit.sp || too_many_tries()) return give_up(true);
  const int x0 = production_list_left(w.selected_unit.x, g.view.view_x);
  click(production_row_point(x0, type - 1));
}

void Autoplay::on_deploy(const Game& g) {
  const WorldState& w = g.world;
  if (intent_.kind != Intent::kHq || w.selected_slot != intent_.slot) {
    return right_click(kMapMiddle);
  }
  const int dir = tactics_.deploy_dir(g, intent_.slot);
  int nx = 0;
  int ny = 0;
  if (!deploy_neighbour(w.selected_unit.x, w.selected_unit.y, dir, &nx, &ny) || too_many_tries()) {
    return give_up(true);
  }
  click(cell_centre(nx, ny, g.view.view_x, g.view.view_y));
}

void Autoplay::on_unit_menu(const Game& g) {
  const WorldState& w = g.world;
  const bool ours = (intent_.kind == Intent::kUnit || intent_.kind == Intent::kHq) &&
                    w.selected_slot == intent_.slot;
  if (!ours) return right_click(kMapMiddle);
  intent_.engaged = true;
  if (too_many_tries()) return give_up(true);
  int row = kRowWait;
  if (intent_.kind == Intent::kUnit) {
    switch (intent_.unit.kind) {
      case PlanKind::kMove:
      case PlanKind::kMoveAttack:
        if (!intent_.move_chosen && w.selected_unit.moved == 0) {
          intent_.move_chosen = true;
          row = kRowMove;
        }
        break;
      case PlanKind::kAttackHere:
        if (!intent_.attack_chosen) {
          intent_.attack_chosen = true;
          row = kRowAttack;
        }
        break;
      case PlanKind::kNothing:
        break;
    }
  }
  const int x0 = command_menu_left(w.selected_unit.x, g.view.view_x);
  click(menu_row_point(x0, kCommandMenuY, kCommandMenuWidth, row));
}

void Autoplay::on_destination(const Game& g) {
  const WorldState& w = g.world;
  if (intent_.kind != Intent::kUnit || w.selected_slot != intent_.slot) {
    return right_click(kMapMiddle);
  }
  const int move = w.selected_spec.move;
  const UnitPlan& p = intent_.unit;
  const bool walks = p.kind == PlanKind::kMove || p.kind == PlanKind::kMoveAttack;
  if (!walks || g.rules.reach[p.dest_x][p.dest_y] > move) {
    // The outlined area is the word of the game: plan again on it.
    const UnitPlan again = tactics_.plan_unit(g, intent_.slot, g.rules.reach);
    if (again.kind != PlanKind::kMove && again.kind != PlanKind::kMoveAttack) {
      return give_up(true);
    }
    intent_.unit = again;
  }
  if (!click_cell(g, intent_.unit.dest_x, intent_.unit.dest_y)) give_up(true);
}

void Autoplay::on_target(const Game& g) {
  tactics_.refresh_known(g);
  const int e = tactics_.best_target(g);
  if (options_.trace != nullptr) {
    std::fprintf(options_.trace, "pass %lld target of slot %d: %d\n", static_cast<long long>(pass_),
                 g.world.selected_slot, e);
  }
  if (e < 0) return right_click(kMapMiddle);
  const TUnit& t = g.world.enemy_units[e];
  if (!click_cell(g, t.x, t.y)) give_up(true);
}
