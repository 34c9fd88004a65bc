// One block per scene code. game_tick runs them in ascending code order; a block runs only when
// `scene` equals its code at the moment it is reached.
#pragma once

struct Game;

// Screens between stages.
void scene_0(Game& g);
void scene_10(Game& g);
void scene_11(Game& g);
void scene_12(Game& g);
void scene_13(Game& g);
void scene_20(Game& g);
void scene_374(Game& g);
void scene_375(Game& g);
// The map and the map menu.
void scene_100(Game& g);
void scene_380(Game& g);
void scene_390(Game& g);
void scene_391(Game& g);
void scene_400(Game& g);
void scene_410(Game& g);
void scene_420(Game& g);
// An HQ's commands and production; a unit's command menu and its gates.
void scene_110(Game& g);
void scene_120(Game& g);
void scene_130(Game& g);
void scene_140(Game& g);
void scene_150(Game& g);
void scene_160(Game& g);
void scene_300(Game& g);
void scene_310(Game& g);
void scene_320(Game& g);
void scene_340(Game& g);
void scene_401(Game& g);
// Destination pick and walk.
void scene_360(Game& g);
void scene_370(Game& g);
// Attack targeting, pause, aftermath.
void scene_330(Game& g);
void scene_371(Game& g);
void scene_372(Game& g);
void scene_373(Game& g);
// Hand-over to the computer and back.
void scene_5000(Game& g);
void scene_5010(Game& g);
void scene_5020(Game& g);
void scene_5030(Game& g);
void scene_6000(Game& g);
void scene_6010(Game& g);
void scene_6020(Game& g);
void scene_6030(Game& g);
void scene_6040(Game& g);
// The computer's units, one after another, and defeat.
void scene_5031(Game& g);
void scene_5032(Game& g);
void scene_5033(Game& g);
void scene_5040(Game& g);
void scene_5050(Game& g);
void scene_5060(Game& g);
void scene_5070(Game& g);

struct SceneBlock {
  int code;
  void (*run)(Game&);
};

// Every scene code in the order the pass visits them.
extern const SceneBlock kSceneBlocks[];
extern const int kSceneBlockCount;
bool is_scene_code(int code);
