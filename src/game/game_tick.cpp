#include "game/game_tick.h"

#include <cstdio>

#include "game/scenes.h"
#include "state/game.h"
#include "ui/window.h"
#include "world/tables.h"
#include "world/vision.h"

const SceneBlock kSceneBlocks[] = {
    {0, scene_0},       {10, scene_10},     {11, scene_11},     {12, scene_12},
    {13, scene_13},     {20, scene_20},     {100, scene_100},   {110, scene_110},
    {120, scene_120},   {130, scene_130},   {140, scene_140},   {150, scene_150},
    {160, scene_160},   {300, scene_300},   {310, scene_310},   {320, scene_320},
    {330, scene_330},   {340, scene_340},   {360, scene_360},   {370, scene_370},
    {371, scene_371},   {372, scene_372},   {373, scene_373},   {374, scene_374},
    {375, scene_375},   {380, scene_380},   {390, scene_390},   {391, scene_391},
    {400, scene_400},   {401, scene_401},   {410, scene_410},   {420, scene_420},
    {5000, scene_5000}, {5010, scene_5010}, {5020, scene_5020}, {5030, scene_5030},
    {5031, scene_5031}, {5032, scene_5032}, {5033, scene_5033}, {5040, scene_5040},
    {5050, scene_5050}, {5060, scene_5060}, {5070, scene_5070}, {6000, scene_6000},
    {6010, scene_6010}, {6020, scene_6020}, {6030, scene_6030}, {6040, scene_6040},
};
const int kSceneBlockCount = sizeof(kSceneBlocks) / sizeof(kSceneBlocks[0]);

bool is_scene_code(int code) {
  for (const SceneBlock& block : kSceneBlocks) {
    if (block.code == code) return true;
  }
  return false;
}

static void advance_animation(FlowState& f) {
  f.anim_fast += 1;
  if (f.anim_fast > 5) f.anim_fast = 0;
  f.anim_scroll += 1;
  if (f.anim_scroll > 2) f.anim_scroll = 0;
  if (f.anim_fast == 0) f.anim_slow += 1;
  if (f.anim_slow >= 8) f.anim_slow = 0;
}

void game_tick(Game& g) {
  run_pass(g, kSceneBlocks, kSceneBlockCount);
}

void run_pass(Game& g, const SceneBlock* blocks, int count) {
  FlowState& f = g.flow;
  f.timer1_enabled = false;

  char caption[64];
  // In 64 bits: a stage number read from a damaged save may sit at the top of the range.
  std::snprintf(caption, sizeof caption, "ネヴァルト Stage %lld",
                static_cast<long long>(f.stage_no) + 1);
  if (g.form.host != nullptr) g.form.host->set_caption(caption);

  advance_animation(f);

  if (g.form.host != nullptr && g.form.host->escape_down()) f.scene = 0;

  // A block that moves the scene to a higher code is reached later in this same pass.
  for (int i = 0; i < count; ++i) {
    if (f.scene == blocks[i].code) blocks[i].run(g);
  }

  f.timer1_enabled = true;
}

void form_create(Game& g, unsigned seed) {
  init_tables(g);
  g.rng.seed(seed);
  fill_highlight_colors(g);
  build_sight_stencils(g);
  // Taken from the scout and anti-tank rows before any stage rewrites a price: the prices the
  // anti-aircraft guns get in a stage where the other side may build aircraft.
  g.flow.player_aa_price = g.world.unit_specs[5].cost;
  g.flow.enemy_aa_price = g.world.unit_specs[13].cost;
  g.flow.scene = 0;
}
