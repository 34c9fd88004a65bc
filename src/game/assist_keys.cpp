#include "game/assist_keys.h"

#include "state/game.h"

namespace {

bool pressed(const Game& g, uint16_t key) {
  return (g.input.keys_pressed & key) != 0;
}

}  // namespace

void assist_keys(Game& g) {
  if (!g.flow.assist) return;
  if (pressed(g, kKeyT)) g.assist.threat_shown = !g.assist.threat_shown;
}
