// The hand-over to the computer and the hand-back to the player.
#include "game/game.h"
#include "game/scenes.h"

void scene_5000(Game& g) {
  (void)g;
}

void scene_5010(Game& g) {
  (void)g;
}

void scene_5020(Game& g) {
  (void)g;
}

void scene_5030(Game& g) {
  (void)g;
}

void scene_6000(Game& g) {
  (void)g;
}

void scene_6010(Game& g) {
  (void)g;
}

void scene_6020(Game& g) {
  (void)g;
}

void scene_6030(Game& g) {
  (void)g;
}

void scene_6040(Game& g) {
  (void)g;
}
