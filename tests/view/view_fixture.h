// A game that draws the map for real: the tables, the sight stencils, the game's sprite sheet and
// font, a 640x480 main picture, and helpers that paint what a cell or a piece of text should look
// like on a second picture to compare with.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "state/game.h"
#include "support/game_builder.h"
#include "ui/surface.h"
#include "ui/ui_fixtures.h"
#include "ui/window.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/vision.h"

namespace view_test {

using ui_test::kSentinel;

// Plain terrain everywhere, no unit, and everything needed to draw the map.
inline std::unique_ptr<Game> make_map_game(int terrain = test_game::kPlain) {
  auto g = ui_test::make_drawing_game();
  test_game::make_battlefield(*g, terrain);
  EXPECT_TRUE(load_sprite_sheet(g->form.ImageList1));
  return g;
}

// A sentinel-filled picture with the game's fonts, to paint expectations on.
struct Reference {
  Picture p;
  Reference() {
    EXPECT_TRUE(create_picture(p, kScreenWidth, kScreenHeight));
    p.fonts = ui_test::fonts();
    ui_test::fill_all(p, kSentinel);
  }
  ~Reference() { free_picture(p); }
  Reference(const Reference&) = delete;
  Reference& operator=(const Reference&) = delete;
};

// The number of pixels inside r that differ between the two pictures.
inline int differing_pixels(const Picture& a, const Picture& b, Rect r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += !(read_pixel(a, x, y) == read_pixel(b, x, y));
  }
  return n;
}

inline int differing_pixels(const Picture& a, const Picture& b) {
  return differing_pixels(a, b, Rect{0, 0, kScreenWidth, kScreenHeight});
}

// True when screen cell (i, j) of img_main shows exactly the sprites given, drawn in order.
inline bool cell_shows(const Game& g, int i, int j, std::initializer_list<int> sprites) {
  static Reference* ref = new Reference;  // one scratch picture for the whole run
  for (int s : sprites) draw_image(ref->p, g.form.ImageList1, 32 * i, 32 * j, s);
  const Rect cell{32 * i, 32 * j, 32 * i + 32, 32 * j + 32};
  const bool same = differing_pixels(g.form.img_main, ref->p, cell) == 0;
  ui_test::fill_all(ref->p, kSentinel);
  return same;
}

}  // namespace view_test
