#include "game/turn_cycle.h"

#include "state/game.h"
#include "state/scene.h"
#include "ui/popups.h"
#include "view/map_view.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/roster_queries.h"

void turn_end_check(Game& g) {
  if (first_ready(g, kReadyAnyPlayer) == kNone) {
    g.flow.scene = kSceneEnemyTurnPause;
    redraw(g);
    g.flow.wait_ticks = 30;
  } else {
    g.flow.scene = kSceneMap;
  }
}

void add_income(Game& g, int32_t amount, int side) {
  const bool player = side == kSidePlayer;
  const int hq_type = player ? kPlayerHq : kEnemyHq;
  const int32_t hqs = count_units(g, player ? kCountPlayerHqs : kCountEnemyHqs);
  const int32_t ceiling = g.world.unit_specs[hq_type].max_sp;
  TUnit* roster = roster_of(g, side);
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    TUnit& hq = roster[slot];
    if (hq.type != hq_type) continue;
    // Widened so that no income, however large, can wrap an HQ's SP round to a negative value.
    const int64_t sp = int64_t{hq.sp} + amount + hqs;
    hq.sp = sp > ceiling ? ceiling : static_cast<int32_t>(sp);
  }
}

// The part both sides share, after the computer's reserves.
static void start_turn(Game& g, int side, int32_t income, int banner) {
  g.flow.turn_no += 1;
  g.world.focus_slot = 0;
  focus_unit(g, side, 0);
  add_income(g, income, side);
  repair_at_hqs(g, side);
  g.flow.heal_pos = 0;
  refresh_side(g, side);
  redraw(g);
  draw_banner(g, banner);
}

void start_enemy_turn(Game& g) {
  if (g.world.reserves_pending) {
    deploy_reserves(g);
    g.world.reserves_pending = false;
  }
  start_turn(g, kSideEnemy, g.flow.enemy_income, kBannerEnemyTurn);
}

void start_player_turn(Game& g) {
  start_turn(g, kSidePlayer, g.flow.player_income, kBannerPlayerTurn);
}

bool show_next_heal_popup(Game& g) {
  int32_t& pos = g.flow.heal_pos;
  if (pos >= 0 && pos < kHealEntries) {
    const HealEntry& entry = g.world.heal_list[pos];
    draw_heal_popup(g, entry.x, entry.y, entry.amount);
  }
  pos += 1;
  // A position past the list reads as its end, so the popups always finish.
  return pos < 0 || pos >= kHealEntries || g.world.heal_list[pos].amount == kNone;
}
