// Attack targeting, the pause after an attack, and its aftermath with the victory test.
#include "game/game.h"
#include "game/scenes.h"

void scene_330(Game& g) {
  (void)g;
}

void scene_371(Game& g) {
  (void)g;
}

void scene_372(Game& g) {
  (void)g;
}

void scene_373(Game& g) {
  (void)g;
}
