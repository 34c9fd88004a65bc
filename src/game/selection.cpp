#include "game/selection.h"

#include "state/game.h"
#include "world/unit_kinds.h"

TUnit* selected_player_slot(Game& g) {
  const int slot = g.world.selected_slot;
  if (slot < 0 || slot >= kRosterSlots) return nullptr;
  return &g.world.player_units[slot];
}

void write_back_selected(Game& g) {
  if (TUnit* slot = selected_player_slot(g)) *slot = g.world.selected_unit;
}

void use_up_action(Game& g) {
  g.world.selected_unit.ready = 0;
  if (TUnit* slot = selected_player_slot(g)) slot->ready = 0;
}

int selected_range(const Game& g) {
  const int type = g.world.selected_unit.type;
  if (!is_table_row(type)) return 0;
  return g.world.unit_specs[type].range;
}
