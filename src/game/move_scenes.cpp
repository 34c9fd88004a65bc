// Destination pick and the walk of a player unit.
#include "game/game.h"
#include "game/scenes.h"

void scene_360(Game& g) {
  (void)g;
}

void scene_370(Game& g) {
  (void)g;
}
