// mapview: one screen of a stage as the game draws it, for judging maps and art at their real
// size: the 20x15 cells from a view origin with the player's fog, and on request a unit panel
// and a command menu drawn with the window skin over it.
//
//   mapview --data DIR [--view X Y] [--acted] [--panel] MAP.fmf OUT.png
//
// DIR holds TileA.bmp and Window.bmp. Without --view the screen is centred on the player's first
// unit, as a stage begins. --acted draws the enemy's units as they look during the player's
// turns (already acted); --panel adds the frames and portraits.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "state/game.h"
#include "ui/surface.h"
#include "ui/window.h"
#include "view/map_view.h"
#include "world/map_file.h"
#include "world/roster_queries.h"
#include "world/tables.h"
#include "world/vision.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: mapview --data DIR [--view X Y] [--acted] [--panel] MAP.fmf OUT.png\n");
  return 2;
}

// The portrait area of Window.bmp for a unit image, as the unit panel picks it; false for the
// types that have none.
bool portrait_of(int image, Rect* area) {
  if (image == 16)
    *area = Rect{0, 32, 64, 96};
  else if (image >= 17 && image <= 26)
    *area = Rect{64, 32, 128, 96};
  else if (image == 48)
    *area = Rect{0, 96, 64, 160};
  else if (image >= 49 && image <= 58)
    *area = Rect{64, 96, 128, 160};
  else if (image == 61)
    *area = Rect{128, 96, 192, 160};
  else
    return false;
  return true;
}

void draw_text(Game& g, int x, int y, int points, Rgb colour, const char* text) {
  set_font_size(g.form.img_main, points);
  set_font_color(g.form.img_main, colour);
  set_brush_clear(g.form.img_main);
  text_out(g.form.img_main, x, y, text);
}

// A unit panel for every portrait in a row along the bottom, and a command menu on the right.
void draw_panels(Game& g) {
  draw_window(g, 0, 384, 640, 100);
  const int images[] = {16, 17, 48, 49, 61};
  const char* names[] = {"司令部", "突撃兵", "敵司令部", "突撃兵", "ロスヴァイク"};
  for (int i = 0; i < 5; ++i) {
    Rect area{};
    if (!portrait_of(images[i], &area)) continue;
    copy_rect(g.form.img_main, 16 + 124 * i, 400, g.form.img_window, area);
    draw_text(g, 84 + 124 * i, 404, 10, Rgb{255, 255, 255}, names[i]);
    draw_text(g, 84 + 124 * i, 426, 10, Rgb{255, 255, 255}, "HP 20 / 20");
  }
  menu_begin(g, 480, 100, 160, 160);
  const char* rows[] = {"移動", "攻撃", "スキル", "待機"};
  g.input.cursor_x = 560;
  g.input.cursor_y = 150;
  for (int k = 1; k <= 4; ++k) {
    menu_hover_row(g, menu_row_band(480, 100, 160, k), menu_row_highlight(480, 100, 160, k), k,
                   k != 3);
  }
  menu_text_style(g, kMenuFontSize);
  for (int k = 1; k <= 4; ++k) {
    menu_row_text_out(g, menu_row_text(480, 100, k), rows[k - 1], k != 3);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string data;
  int vx = -1, vy = -1;
  bool acted = false, panel = false;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      data = argv[++i];
    } else if (std::strcmp(argv[i], "--view") == 0 && i + 2 < argc) {
      vx = std::atoi(argv[++i]);
      vy = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--acted") == 0) {
      acted = true;
    } else if (std::strcmp(argv[i], "--panel") == 0) {
      panel = true;
    } else {
      files.push_back(argv[i]);
    }
  }
  if (data.empty() || files.size() != 2) return usage();

  std::ifstream in(files[0], std::ios::binary);
  const std::vector<unsigned char> map((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  if (map.size() != static_cast<size_t>(kMapFileBytes)) {
    std::fprintf(stderr, "mapview: %s is no map file\n", files[0]);
    return 1;
  }
  if (SDL_Init(0) != 0) {
    std::fprintf(stderr, "mapview: %s\n", SDL_GetError());
    return 1;
  }
  auto g = std::make_unique<Game>();
  init_tables(*g);
  build_sight_stencils(*g);
  fill_highlight_colors(*g);
  TForm1& form = g->form;
  std::string error;
  form.fonts = open_fonts(&error);
  if (form.fonts == nullptr) {
    std::fprintf(stderr, "mapview: %s\n", error.c_str());
    return 1;
  }
  const std::string tile = data + "/TileA.bmp";
  const std::string skin = data + "/Window.bmp";
  if (!load_sprite_sheet(form.ImageList1) || !load_picture(form.img_tile, tile.c_str()) ||
      !load_picture(form.img_window, skin.c_str()) ||
      !create_picture(form.img_main, kScreenWidth, kScreenHeight) ||
      !create_picture(form.img_unit, kScreenWidth, kScreenHeight + 1)) {
    std::fprintf(stderr, "mapview: %s\n", SDL_GetError());
    return 1;
  }
  form.img_main.fonts = form.fonts;
  g->world.player_start_sp = 100;
  g->world.enemy_start_sp = 100;
  load_map_image(*g, map.data(), map.size());
  recount_types(*g);
  if (acted) mark_all_acted(*g, kSideEnemy);
  if (vx < 0) {
    g->world.focus_slot = 0;
    focus_unit(*g, kSidePlayer, 0);
    vx = g->view.view_x;
    vy = g->view.view_y;
  }
  draw_map_view(*g, vx, vy);
  if (panel) draw_panels(*g);

  const bool ok = IMG_SavePNG(form.img_main.surface, files[1]) == 0;
  if (!ok) std::fprintf(stderr, "mapview: cannot write %s: %s\n", files[1], SDL_GetError());
  free_sprite_sheet(form.ImageList1);
  free_picture(form.img_main);
  free_picture(form.img_unit);
  free_picture(form.img_tile);
  free_picture(form.img_window);
  close_fonts(form.fonts);
  SDL_Quit();
  return ok ? 0 : 1;
}
