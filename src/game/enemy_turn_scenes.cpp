// The computer's units, one after another, and defeat.
#include "game/game.h"
#include "game/scenes.h"

void scene_5031(Game& g) {
  (void)g;
}

void scene_5032(Game& g) {
  (void)g;
}

void scene_5033(Game& g) {
  (void)g;
}

void scene_5040(Game& g) {
  (void)g;
}

void scene_5050(Game& g) {
  (void)g;
}

void scene_5060(Game& g) {
  (void)g;
}

void scene_5070(Game& g) {
  (void)g;
}
