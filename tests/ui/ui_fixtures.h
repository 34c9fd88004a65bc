// Small pictures and fonts for the drawing tests: a skin whose every pixel tells which piece and
// which position it came from, and the game's font opened once for the whole run.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "state/game.h"
#include "ui/surface.h"
#include "ui/window.h"

inline void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

namespace ui_test {

// A colour that nothing the tests draw can produce.
constexpr Rgb kSentinel{1, 2, 3};

inline void put(Picture& p, int x, int y, Rgb c) {
  SDL_Rect r{x, y, 1, 1};
  SDL_FillRect(p.surface, &r, SDL_MapRGB(p.surface->format, c.r, c.g, c.b));
}

inline void fill_all(Picture& p, Rgb c) {
  SDL_FillRect(p.surface, nullptr, SDL_MapRGB(p.surface->format, c.r, c.g, c.b));
}

// Pixel (u, v) of skin piece p. Never white and never a grey (g != b), so neither menu text nor
// a highlight bar can be mistaken for skin.
inline Rgb skin_pixel(int piece, int u, int v) {
  return Rgb{static_cast<uint8_t>(piece * 28 + 8), static_cast<uint8_t>(u * 8 + 1),
             static_cast<uint8_t>(v * 8 + 2)};
}

inline void make_skin(Picture& skin) {
  ASSERT_TRUE(create_picture(skin, 288, 32));
  for (int piece = 0; piece < 9; ++piece) {
    for (int v = 0; v < 32; ++v) {
      for (int u = 0; u < 32; ++u) put(skin, piece * 32 + u, v, skin_pixel(piece, u, v));
    }
  }
}

inline FontCache* fonts() {
  static FontCache* cache = [] {
    std::string error;
    FontCache* f = open_fonts(&error);
    if (f == nullptr) ADD_FAILURE() << "no game font: " << error;
    return f;
  }();
  return cache;
}

// A game with a 640x480 main picture filled with the sentinel, the synthetic skin and fonts.
inline std::unique_ptr<Game> make_drawing_game() {
  auto g = std::make_unique<Game>();
  fill_highlight_colors(*g);
  g->form.fonts = fonts();
  EXPECT_TRUE(create_picture(g->form.img_main, kScreenWidth, kScreenHeight));
  g->form.img_main.fonts = g->form.fonts;
  fill_all(g->form.img_main, kSentinel);
  make_skin(g->form.img_window);
  return g;
}

inline void free_game_pictures(Game& g) {
  free_picture(g.form.img_main);
  free_picture(g.form.img_window);
  free_picture(g.form.img_tile);
  free_sprite_sheet(g.form.ImageList1);
}

// Pixels of exactly this colour inside the rectangle.
inline int count_color(const Picture& p, Rect r, Rgb c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += read_pixel(p, x, y) == c;
  }
  return n;
}

}  // namespace ui_test
