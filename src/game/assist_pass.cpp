#include "game/assist_pass.h"

#include "state/game.h"

void assist_before_scenes(Game& g) {
  g.assist.forecast.shown = false;
}
