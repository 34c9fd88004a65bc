// The cost of the drawing a screen does on every 30 ms pass: a menu over its picture, and a
// full map's worth of sprites.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "state/game.h"
#include "ui/screens.h"
#include "ui/surface.h"
#include "ui/window.h"

namespace {

struct Screen {
  Screen() {
    g = std::make_unique<Game>();
    fill_highlight_colors(*g);
    std::string error;
    g->form.fonts = open_fonts(&error);
    const std::string dir = NEVALT_DATA_DIR;
    load_form_picture(*g, g->form.img_main, (dir + "/Title.bmp").c_str());
    load_form_picture(*g, g->form.img_window, (dir + "/Window.bmp").c_str());
    load_sprite_sheet(g->form.ImageList1);
  }
  ~Screen() {
    free_picture(g->form.img_main);
    free_picture(g->form.img_window);
    free_sprite_sheet(g->form.ImageList1);
    close_fonts(g->form.fonts);
  }
  std::unique_ptr<Game> g;
};

void BM_TitleMenu(benchmark::State& state) {
  Screen s;
  s.g->input.cursor_x = 300;
  s.g->input.cursor_y = 360;
  for (auto _ : state) {
    draw_title_menu(*s.g);
    benchmark::DoNotOptimize(s.g->ui.hover_item);
  }
}
BENCHMARK(BM_TitleMenu);

void BM_StageSelect(benchmark::State& state) {
  Screen s;
  s.g->flow.max_stage = 10;
  for (auto _ : state) draw_stage_select(*s.g);
}
BENCHMARK(BM_StageSelect);

// 300 terrain cells and a unit on every third one, as a map redraw paints them.
void BM_MapSprites(benchmark::State& state) {
  Screen s;
  for (auto _ : state) {
    for (int j = 0; j < 15; ++j) {
      for (int i = 0; i < 20; ++i) {
        draw_image(s.g->form.img_main, s.g->form.ImageList1, 32 * i, 32 * j, (i + j) % 12);
        if ((i + j) % 3 == 0)
          draw_image(s.g->form.img_main, s.g->form.ImageList1, 32 * i, 32 * j, 19);
      }
    }
  }
}
BENCHMARK(BM_MapSprites);

}  // namespace
