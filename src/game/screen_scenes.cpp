// Screens between stages: title, intermission, save pause, stage select, stage start, victory
// pause, ending.
#include "game/game.h"
#include "game/scenes.h"

void scene_0(Game& g) {
  (void)g;
}

void scene_10(Game& g) {
  (void)g;
}

void scene_11(Game& g) {
  (void)g;
}

void scene_12(Game& g) {
  (void)g;
}

void scene_13(Game& g) {
  (void)g;
}

void scene_20(Game& g) {
  (void)g;
}

void scene_374(Game& g) {
  (void)g;
}

void scene_375(Game& g) {
  (void)g;
}
