#include "game/attack_forecast.h"

#include "rules/forecast.h"
#include "state/game.h"
#include "view/forecast_card.h"
#include "world/unit_kinds.h"

namespace {

// As the map view draws them: a unit in the fog stays hidden, an enemy HQ is always known.
bool player_sees(const Game& g, const TUnit& u) {
  if (u.x < 0 || u.x >= kMapSize || u.y < 0 || u.y >= kMapSize) return false;
  return g.world.vision[kSidePlayer][u.x][u.y] == 1 || u.type == kEnemyHq;
}

}  // namespace

void show_attack_forecast(Game& g, int e) {
  if (!g.flow.assist || e < 0 || e >= kRosterSlots) return;
  // A card over a fogged cell would tell where a hidden unit stands.
  if (!player_sees(g, g.world.enemy_units[e])) return;
  g.assist.forecast = forecast_player_attack(g, g.world.selected_slot, e);
  draw_forecast_card(g);
}
