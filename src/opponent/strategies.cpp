#include "opponent/strategies.h"

#include "rules/combat.h"
#include "rules/path.h"
#include "rules/reach.h"
#include "state/game.h"
#include "world/roster.h"
#include "world/unit_kinds.h"
#include "world/vision.h"

namespace {

constexpr TCandidate kClearedCandidate{kNone, 0, 0};

void clear_candidates(TCandidate (&list)[kCandidates]) {
  for (TCandidate& c : list) c = kClearedCandidate;
}

bool player_holds_hq(const Game& g) {
  for (const TUnit& unit : g.world.player_units) {
    if (unit.type == kPlayerHq) return true;
  }
  return false;
}

// Pairs every listed goal in player_candidates with the actor, nearest first.
void pair_goals_with(Game& g, const TCandidate& actor) {
  RulesState& r = g.rules;
  clear_pair_list(g);
  int n = 0;
  for (const TCandidate& goal : r.player_candidates) {
    if (goal.slot == kNone || n >= kPairs) continue;
    r.pair_list[n++] = TPair{goal.slot,
                             goal.x,
                             goal.y,
                             actor.slot,
                             actor.x,
                             actor.y,
                             cell_distance(goal.x, goal.y, actor.x, actor.y)};
  }
  sort_pairs(g, 0, kPairs - 1);
}

// The move costs and the reach of the selected unit, hindered by the player's units.
void build_reach_of_selected(Game& g) {
  const TUnitSpec& stats = g.world.selected_spec;
  build_move_cost(g, stats.move, move_class_of(stats), kRingPlayerUnits);
  compute_reach(g, g.world.selected_unit.x, g.world.selected_unit.y);
}

// The walk shrinks to a single step onto the unit's own cell: it stays and attacks from there.
void stay_on_own_cell(Game& g) {
  g.rules.path_list[0] = CellPoint{g.world.selected_unit.x, g.world.selected_unit.y};
  g.rules.walk_index = 0;
  g.opponent.enemy_moved = 0;
}

// A damaged unit already beside one of its own HQs waits there for the next repair.
bool hold_beside_hq(Game& g, int slot) {
  const TUnit& unit = g.world.enemy_units[slot];
  if (unit.hp >= g.world.unit_specs[unit.type].max_hp) return false;
  if (beside_own_hq(g, slot) == kNone) return false;
  stay_on_own_cell(g);
  return true;
}

int32_t reach_at(const Game& g, CellPoint cell) {
  if (!on_grid(cell.x, cell.y)) return kNone;
  return g.rules.reach[cell.x][cell.y];
}

}  // namespace

int32_t choose_actor(Game& g) {
  TCandidate(&list)[kCandidates] = g.rules.enemy_candidates;
  clear_candidates(list);
  int n = 0;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& unit = g.world.enemy_units[slot];
    if (is_enemy_troop(unit.type) && unit.ready == 1) {
      list[n++] = TCandidate{slot, unit.x, unit.y};
    }
  }
  return list[0].slot;
}

void select_enemy(Game& g, int slot) {
  WorldState& w = g.world;
  w.selected_slot = slot;
  w.selected_unit = w.enemy_units[slot];
  w.selected_spec = w.unit_specs[w.selected_unit.type];
}

int32_t choose_strategy(Game& g) {
  int actor = -1;
  for (int slot = 0; slot < kRosterSlots && actor < 0; ++slot) {
    const TUnit& unit = g.world.enemy_units[slot];
    if (is_enemy_troop(unit.type) && unit.ready != 0) actor = slot;
  }
  rebuild_occupancy(g);
  if (actor >= 0) {
    const TUnit& unit = g.world.enemy_units[actor];
    if (g.world.unit_specs[unit.type].max_hp / 5 < unit.hp) return enemy_advance(g);
  }
  return enemy_retreat(g);
}

int32_t enemy_advance(Game& g) {
  update_vision(g, kSideEnemy);
  const int32_t slot = choose_actor(g);
  if (slot == AI_DONE) return AI_DONE;
  const TCandidate actor = g.rules.enemy_candidates[0];
  const TUnit& unit = g.world.enemy_units[slot];
  const TUnitSpec& stats = g.world.unit_specs[unit.type];

  // Any player unit in range counts, seen or not.
  list_enemy_targets(g, unit.x, unit.y, slot, stats.range);
  const bool in_range = g.rules.player_candidates[0].slot != kNone;

  // The goals: every player unit the computer sees, and the player's HQs, which it always knows.
  RulesState& r = g.rules;
  clear_candidates(r.player_candidates);
  bool has_hq = false;
  int n = 0;
  for (int p = 0; p < kRosterSlots; ++p) {
    const TUnit& target = g.world.player_units[p];
    if (target.type == kPlayerHq) has_hq = true;
    if (!is_player_type(target.type)) continue;
    const bool seen =
        on_grid(target.x, target.y) && g.world.vision[kSideEnemy][target.x][target.y] != 0;
    if (seen || target.type == kPlayerHq)
      r.player_candidates[n++] = TCandidate{p, target.x, target.y};
  }
  pair_goals_with(g, actor);

  // The nearest goal the actor can hurt; failing that, the nearest one at all.
  for (int m = 0; m < kRosterSlots; ++m) {
    const TPair& pair = r.pair_list[m];
    if (pair.p_slot == kNone) break;
    const TUnit& target = g.world.player_units[pair.p_slot];
    const TUnitSpec& target_spec = g.world.unit_specs[target.type];
    const int64_t attack = attack_value(stats, target.type);
    const int64_t defence =
        is_aircraft(unit.type) ? target_spec.defense_air : target_spec.defense_ground;
    if (2 * attack > defence) {
      r.pair_list[0] = pair;
      break;
    }
  }
  if (r.pair_list[0].p_slot == kNone || !has_hq) return AI_PLAYER_LOST;

  select_enemy(g, slot);
  build_reach_of_selected(g);
  clear_path_list(g);
  descend_path(g, r.pair_list[0].p_x, r.pair_list[0].p_y, 0);
  cut_to_move(g);

  if (in_range) {
    stay_on_own_cell(g);
  } else {
    g.opponent.enemy_moved = 1;
  }
  if (hold_beside_hq(g, slot)) return AI_HOLD;
  return slot;
}

int32_t enemy_retreat(Game& g) {
  const int32_t slot = choose_actor(g);
  if (slot == AI_DONE) return AI_DONE;
  const TCandidate actor = g.rules.enemy_candidates[0];

  // The goals: free cells beside the computer's own HQs. The list keeps one entry for its end,
  // so many HQs cannot write past it.
  RulesState& r = g.rules;
  clear_candidates(r.player_candidates);
  int n = 0;
  for (int h = 0; h < kRosterSlots; ++h) {
    const TUnit& hq = g.world.enemy_units[h];
    if (hq.type != kEnemyHq) continue;
    const int around[4][2] = {
        {hq.x - 1, hq.y}, {hq.x + 1, hq.y}, {hq.x, hq.y - 1}, {hq.x, hq.y + 1}};
    for (const auto& cell : around) {
      if (n >= kCandidates - 1) break;
      if (!on_grid(cell[0], cell[1])) continue;
      if (g.world.occupancy[cell[0]][cell[1]] != kNoUnit) continue;
      r.player_candidates[n++] = TCandidate{h, cell[0], cell[1]};
    }
  }
  pair_goals_with(g, actor);

  if (!player_holds_hq(g)) return AI_PLAYER_LOST;

  select_enemy(g, slot);
  build_reach_of_selected(g);
  clear_path_list(g);
  if (r.pair_list[0].p_slot == kNone) {
    // No own HQ has room beside it: nowhere to fall back to. The unit stays where it is and
    // still fights whatever is in range, at full aim since it does not move.
    r.path_fill = 0;
    r.walk_index = -1;
    g.opponent.enemy_moved = 0;
  } else {
    descend_path(g, r.pair_list[0].p_x, r.pair_list[0].p_y, 1);
    cut_to_move(g);
    g.opponent.enemy_moved = 1;
  }
  if (hold_beside_hq(g, slot)) return AI_HOLD;
  return slot;
}

int32_t beside_own_hq(const Game& g, int slot) {
  if (slot < 0 || slot >= kRosterSlots) return kNone;
  const TUnit& unit = g.world.enemy_units[slot];
  if (!is_enemy_troop(unit.type)) return kNone;
  for (int h = 0; h < kRosterSlots; ++h) {
    const TUnit& hq = g.world.enemy_units[h];
    if (hq.type == kEnemyHq && cell_distance(hq.x, hq.y, unit.x, unit.y) == 1) return h;
  }
  return kNone;
}

void cut_to_move(Game& g) {
  RulesState& r = g.rules;
  const int last = last_path_entry(g);
  const int32_t move = g.world.selected_spec.move;
  int i = last;
  while (i >= 0 && reach_at(g, r.path_list[i]) <= move) --i;
  const int shift = i + 1;
  if (shift > 0) {
    for (int t = 0; t < kPathEntries; ++t) {
      r.path_list[t] = t + shift < kPathEntries ? r.path_list[t + shift] : CellPoint{0, 0};
    }
  }
  r.walk_index = last - shift;
}
