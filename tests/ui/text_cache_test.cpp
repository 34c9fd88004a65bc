// Texts are rendered once and copied from then on: the copy must be the very text asked for (its
// words, size, weight and colour), the cache must stay within its room whatever is written, and
// a screen that writes the same texts again allocates nothing.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/surface.h"
#include "ui/ui_fixtures.h"

namespace {

struct Variant {
  const char* text;
  int points;
  bool bold;
  Rgb color;
  bool solid;  // a solid brush fills the text's box first
};

// Pairs that differ in one thing only, so an entry found for the wrong key shows.
const Variant kVariants[] = {
    {"ユニット一覧", 20, false, {255, 255, 255}, false},
    {"ユニット一覧", 20, false, {112, 112, 112}, false},
    {"ユニット一覧", 20, true, {255, 255, 255}, false},
    {"ユニット一覧", 16, false, {255, 255, 255}, false},
    {"ユニット一覧", 20, false, {255, 255, 255}, true},
    {"ユニット一", 20, false, {255, 255, 255}, false},
    {"HP 20", 10, false, {255, 255, 0}, false},
    {"HP 2", 10, false, {255, 255, 0}, false},
    {"現ターン数 12", 12, false, {255, 255, 255}, false},
    {"Stage 10", 20, false, {255, 255, 255}, true},
};

constexpr int kW = 320;
constexpr int kH = 96;

std::vector<Uint32> draw(FontCache* fonts, const Variant& v) {
  Picture p;
  EXPECT_TRUE(create_picture(p, kW, kH));
  p.fonts = fonts;
  ui_test::fill_all(p, ui_test::kSentinel);
  set_font_size(p, v.points);
  set_font_bold(p, v.bold);
  set_font_color(p, v.color);
  if (v.solid) {
    set_brush_color(p, Rgb{0, 0, 128});
  } else {
    set_brush_clear(p);
  }
  text_out(p, 7, 5, v.text);
  std::vector<Uint32> pixels;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Rgb c = read_pixel(p, x, y);
      pixels.push_back(Uint32{c.r} << 16 | Uint32{c.g} << 8 | c.b);
    }
  }
  free_picture(p);
  return pixels;
}

// The text as a font cache that has never drawn anything renders it.
std::vector<Uint32> fresh_rendering(const Variant& v) {
  std::string error;
  FontCache* own = open_fonts(&error);
  EXPECT_NE(own, nullptr) << error;
  std::vector<Uint32> pixels = draw(own, v);
  close_fonts(own);
  return pixels;
}

TEST(TextCache, EveryCopyIsTheTextAskedForInItsFontAndColour) {
  ASSERT_NE(ui_test::fonts(), nullptr);
  std::vector<std::vector<Uint32>> fresh;
  for (const Variant& v : kVariants) fresh.push_back(fresh_rendering(v));
  // Twice round, in order: the first round fills the cache, the second copies from it.
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < std::size(kVariants); ++i) {
      SCOPED_TRACE(std::string(kVariants[i].text) + " #" + std::to_string(i) + " round " +
                   std::to_string(round));
      EXPECT_TRUE(draw(ui_test::fonts(), kVariants[i]) == fresh[i]);
    }
  }
}

TEST(TextCache, ManyDifferentTextsStayWithinItsRoomAndOldOnesComeBackRight) {
  ASSERT_NE(ui_test::fonts(), nullptr);
  const std::vector<Uint32> first = fresh_rendering(kVariants[0]);
  EXPECT_TRUE(draw(ui_test::fonts(), kVariants[0]) == first);
  const int before = SDL_GetNumAllocations();
  Picture p;
  ASSERT_TRUE(create_picture(p, kW, kH));
  p.fonts = ui_test::fonts();
  set_font_size(p, 10);
  for (int i = 0; i < 3000; ++i) text_out(p, 0, 0, ("HP " + std::to_string(i)).c_str());
  free_picture(p);
  // 512 entries, each a surface with its pixels and blit map; 3000 kept texts would be
  // thousands more.
  EXPECT_LT(SDL_GetNumAllocations() - before, 512 * 4);
  EXPECT_TRUE(draw(ui_test::fonts(), kVariants[0]) == first);
}

// Counts SDL's allocations while a test watches, passing every call on to SDL's own functions.
std::atomic<long> g_allocations{0};
SDL_malloc_func g_malloc;
SDL_calloc_func g_calloc;
SDL_realloc_func g_realloc;
SDL_free_func g_free;
void* counting_malloc(size_t n) {
  ++g_allocations;
  return g_malloc(n);
}
void* counting_calloc(size_t n, size_t size) {
  ++g_allocations;
  return g_calloc(n, size);
}
void* counting_realloc(void* p, size_t n) {
  ++g_allocations;
  return g_realloc(p, n);
}

TEST(TextCache, AScreenWrittenAgainAllocatesNothing) {
  ASSERT_NE(ui_test::fonts(), nullptr);
  Picture p;
  ASSERT_TRUE(create_picture(p, 640, 480));
  p.fonts = ui_test::fonts();
  set_font_size(p, 10);
  set_brush_clear(p);
  const auto screen = [&] {
    for (int row = 0; row < 40; ++row) {
      text_out(p, 16 + 320 * (row / 20), 80 + 20 * (row % 20),
               ("突撃兵  PPSh-41  HP " + std::to_string(row)).c_str());
    }
  };
  screen();
  screen();
  SDL_GetMemoryFunctions(&g_malloc, &g_calloc, &g_realloc, &g_free);
  ASSERT_EQ(SDL_SetMemoryFunctions(counting_malloc, counting_calloc, counting_realloc, g_free), 0);
  g_allocations = 0;
  screen();
  const long counted = g_allocations;
  SDL_SetMemoryFunctions(g_malloc, g_calloc, g_realloc, g_free);
  EXPECT_EQ(counted, 0);
  free_picture(p);
}

}  // namespace
