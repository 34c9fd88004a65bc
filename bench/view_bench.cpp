// The cost of a pass over the map of stage 1: the map scene with the unit panel, the unit list
// with the status panel, and the map menu, each redrawing the whole view first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "game/campaign.h"
#include "game/game_tick.h"
#include "game/scenes.h"
#include "state/game.h"
#include "ui/screens.h"
#include "ui/surface.h"

namespace {

struct Stage {
  Stage() {
    // The maps and pictures are read from the data folder, as the game reads them.
    if (chdir(NEVALT_DATA_DIR) != 0) return;
    g = std::make_unique<Game>();
    form_create(*g, 1);
    std::string error;
    g->form.fonts = open_fonts(&error);
    load_sprite_sheet(g->form.ImageList1);
    load_form_picture(*g, g->form.img_tile, "TileA.bmp");
    load_form_picture(*g, g->form.img_window, "Window.bmp");
    load_form_picture(*g, g->form.img_main, "BG1.bmp");
    g->flow.stage_no = 0;
    stage_setup(*g);
  }
  ~Stage() {
    free_picture(g->form.img_main);
    free_picture(g->form.img_window);
    free_picture(g->form.img_tile);
    free_sprite_sheet(g->form.ImageList1);
    close_fonts(g->form.fonts);
  }
  // The pointer resting at (x, y), no button down.
  void point(int x, int y) {
    g->input.cursor_x = x;
    g->input.cursor_y = y;
    g->input.mouse_y = y;
    g->input.left_down = 0;
    g->input.right_down = 0;
  }
  std::unique_ptr<Game> g;
};

// The pointer on the first unit: the map, its vision and the unit panel.
void BM_MapSceneWithUnitPanel(benchmark::State& state) {
  Stage s;
  s.point(336, 272);
  for (auto _ : state) {
    scene_map(*s.g);
    benchmark::DoNotOptimize(s.g->world.selected_slot);
  }
}
BENCHMARK(BM_MapSceneWithUnitPanel);

void BM_UnitListScene(benchmark::State& state) {
  Stage s;
  s.point(100, 125);
  for (auto _ : state) {
    scene_unit_list(*s.g);
    benchmark::DoNotOptimize(s.g->ui.hover_item);
  }
}
BENCHMARK(BM_UnitListScene);

void BM_MapMenuScene(benchmark::State& state) {
  Stage s;
  s.point(500, 180);
  for (auto _ : state) {
    scene_map_menu(*s.g);
    benchmark::DoNotOptimize(s.g->ui.hover_item);
  }
}
BENCHMARK(BM_MapMenuScene);

}  // namespace
