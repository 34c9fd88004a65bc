#include "world/roster_queries.h"

#include "state/game.h"
#include "world/roster.h"
#include "world/unit_kinds.h"

int32_t first_ready(const Game& g, int kind) {
  if (kind != kReadyAnyPlayer && kind != kReadyEnemyNotHq) return kNone;
  const TUnit* roster = roster_of(g, kind == kReadyAnyPlayer ? kSidePlayer : kSideEnemy);
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& unit = roster[slot];
    if (unit.x == 0 || unit.y == 0 || unit.ready != 1) continue;
    if (kind == kReadyEnemyNotHq && unit.type == kEnemyHq) continue;
    return slot;
  }
  return kNone;
}

int32_t count_units(const Game& g, int kind) {
  int side = kSidePlayer;
  bool (*counted)(int) = nullptr;
  switch (kind) {
    case kCountPlayerUnits:
      side = kSidePlayer, counted = is_player_troop;
      break;
    case kCountEnemyUnits:
      side = kSideEnemy, counted = is_enemy_produced;
      break;
    case kCountPlayerHqs:
      side = kSidePlayer, counted = [](int type) { return type == kPlayerHq; };
      break;
    case kCountEnemyHqs:
      side = kSideEnemy, counted = [](int type) { return type == kEnemyHq; };
      break;
    default:
      return 0;
  }
  const TUnit* roster = roster_of(g, side);
  int32_t n = 0;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    if (counted(roster[slot].type)) ++n;
  }
  return n;
}

void mark_all_acted(Game& g, int side) {
  TUnit* roster = roster_of(g, side);
  for (int slot = 0; slot < kRosterSlots; ++slot) roster[slot].ready = 0;
}

void refresh_side(Game& g, int side) {
  TUnit* roster = roster_of(g, side);
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    TUnit& unit = roster[slot];
    if (unit.x == 0 && unit.y == 0) {
      unit.ready = 0;
    } else {
      unit.ready = 1;
      unit.moved = 0;
    }
  }
}

static void centre_view_on(Game& g, const TUnit& unit, int slot) {
  g.view.view_x = unit.x - 10;
  g.view.view_y = unit.y - 8;
  g.world.focus_slot = slot;
}

void focus_unit(Game& g, int side, int skip) {
  const TUnit* roster = roster_of(g, side);
  int32_t& focus_slot = g.world.focus_slot;
  if (focus_slot < 0 || focus_slot >= kRosterSlots) focus_slot = 0;

  bool found = false;
  int seen = 0;
  for (int slot = focus_slot; slot < kRosterSlots; ++slot) {
    if (roster[slot].type == 0) continue;
    if (seen == skip) {
      centre_view_on(g, roster[slot], slot);
      found = true;
      break;
    }
    ++seen;
  }
  if (!found) {
    focus_slot = 0;
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      if (roster[slot].type == 0) continue;
      centre_view_on(g, roster[slot], slot);
      break;
    }
  }

  ViewState& v = g.view;
  if (v.view_x > 44) v.view_x = 44;
  if (v.view_y > 49) v.view_y = 49;
  if (v.view_x < 0) v.view_x = 0;
  if (v.view_y < 0) v.view_y = 0;
}
