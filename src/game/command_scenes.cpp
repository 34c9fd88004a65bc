// An HQ's commands and production; a unit's command menu and its release gates.
#include "game/game.h"
#include "game/scenes.h"

void scene_110(Game& g) {
  (void)g;
}

void scene_160(Game& g) {
  (void)g;
}

void scene_300(Game& g) {
  (void)g;
}

void scene_310(Game& g) {
  (void)g;
}

void scene_320(Game& g) {
  (void)g;
}

void scene_340(Game& g) {
  (void)g;
}

void scene_401(Game& g) {
  (void)g;
}
