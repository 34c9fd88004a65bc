// The map, the map menu and its screens.
#include "game/game.h"
#include "game/scenes.h"

void scene_100(Game& g) {
  (void)g;
}

void scene_380(Game& g) {
  (void)g;
}

void scene_390(Game& g) {
  (void)g;
}

void scene_391(Game& g) {
  (void)g;
}

void scene_400(Game& g) {
  (void)g;
}

void scene_410(Game& g) {
  (void)g;
}

void scene_420(Game& g) {
  (void)g;
}
