#include "ui/surface.h"

#include <gtest/gtest.h>

#include <string>

#include "ui_fixtures.h"

using namespace ui_test;

namespace {

void expect_same_canvas(const CanvasState& a, const CanvasState& b) {
  EXPECT_EQ(a.font_size, b.font_size);
  EXPECT_EQ(a.font_color, b.font_color);
  EXPECT_EQ(a.bold, b.bold);
  EXPECT_EQ(a.brush_color, b.brush_color);
  EXPECT_EQ(a.brush_style, b.brush_style);
  EXPECT_EQ(a.pen_color, b.pen_color);
}

std::string temp_bmp(const char* name, int w, int h, Rgb fill) {
  const std::string path = testing::TempDir() + name;
  Picture p;
  EXPECT_TRUE(create_picture(p, w, h));
  fill_all(p, fill);
  EXPECT_EQ(SDL_SaveBMP(p.surface, path.c_str()), 0);
  free_picture(p);
  return path;
}

TEST(Canvas, StatePersistsAcrossDrawingUntilAPictureLoadResetsIt) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 64, 64));
  p.fonts = fonts();
  set_font_size(p, 16);
  set_font_color(p, Rgb{1, 2, 3});
  set_font_bold(p, true);
  set_brush_color(p, Rgb{4, 5, 6});
  set_pen_color(p, Rgb{7, 8, 9});
  const CanvasState set = p.canvas;
  EXPECT_EQ(set.brush_style, BrushStyle::kSolid);

  fill_rect(p, Rect{0, 0, 10, 10});
  text_out(p, 0, 0, "Stage");
  const Point line[] = {{0, 0}, {10, 10}};
  polyline(p, line, 2);
  expect_same_canvas(p.canvas, set);

  const std::string path = temp_bmp("canvas_load.bmp", 20, 10, Rgb{90, 80, 70});
  ASSERT_TRUE(load_picture(p, path.c_str()));
  expect_same_canvas(p.canvas, CanvasState{});
  EXPECT_FALSE(p.canvas.bold) << "a load gives the regular style";
  EXPECT_EQ(p.fonts, fonts()) << "the fonts stay with the picture";
  EXPECT_EQ(p.surface->w, 20);
  EXPECT_EQ(read_pixel(p, 19, 9), (Rgb{90, 80, 70}));
  free_picture(p);
}

TEST(Canvas, FailedLoadKeepsPixelsAndState) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 8, 8));
  fill_all(p, Rgb{9, 9, 9});
  set_font_bold(p, true);
  SDL_Surface* before = p.surface;
  EXPECT_FALSE(load_picture(p, "no-such-picture.bmp"));
  EXPECT_EQ(p.surface, before);
  EXPECT_TRUE(p.canvas.bold);
  EXPECT_EQ(read_pixel(p, 3, 3), (Rgb{9, 9, 9}));
  free_picture(p);
}

TEST(Canvas, PictureWithoutPixelsAcceptsEverything) {
  Picture empty;
  Picture other;
  SpriteSheet no_sprites;
  fill_rect(empty, Rect{0, 0, 640, 480});
  text_out(empty, 1, 1, "ネヴァルト");
  const Point pts[] = {{0, 0}, {5, 5}, {0, 5}};
  polyline(empty, pts, 3);
  copy_rect(empty, 0, 0, other, Rect{0, 0, 32, 32});
  draw_image(empty, no_sprites, 0, 0, 3);
  set_brush_color(empty, Rgb{1, 1, 1});
  EXPECT_EQ(read_pixel(empty, 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(text_extent(empty, "abc").x, 0);
  EXPECT_EQ(empty.canvas.brush_color, (Rgb{1, 1, 1}));
}

TEST(Canvas, ReadPixelOutsideThePictureIsBlack) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 4, 4));
  fill_all(p, Rgb{50, 60, 70});
  const Point outside[] = {{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {100000, 100000}};
  for (Point o : outside) EXPECT_EQ(read_pixel(p, o.x, o.y), (Rgb{0, 0, 0}));
  EXPECT_EQ(read_pixel(p, 3, 3), (Rgb{50, 60, 70}));
  free_picture(p);
}

TEST(FillRect, SolidBrushFillsExactlyTheRectangleAndAClearOneNothing) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 40, 40));
  fill_all(p, kSentinel);
  set_brush_color(p, Rgb{0, 200, 0});
  fill_rect(p, Rect{10, 12, 20, 15});  // right and bottom excluded
  EXPECT_EQ(count_color(p, Rect{0, 0, 40, 40}, Rgb{0, 200, 0}), 10 * 3);
  EXPECT_EQ(read_pixel(p, 19, 14), (Rgb{0, 200, 0}));
  EXPECT_EQ(read_pixel(p, 20, 14), kSentinel);
  EXPECT_EQ(read_pixel(p, 19, 15), kSentinel);

  set_brush_clear(p);
  fill_rect(p, Rect{0, 0, 40, 40});
  EXPECT_EQ(read_pixel(p, 0, 0), kSentinel);
  // Inverted and off-picture rectangles are harmless.
  set_brush_color(p, Rgb{9, 9, 9});
  fill_rect(p, Rect{30, 30, 10, 10});
  fill_rect(p, Rect{-100, -100, -50, -50});
  EXPECT_EQ(count_color(p, Rect{0, 0, 40, 40}, Rgb{9, 9, 9}), 0);
  free_picture(p);
}

// Each channel becomes (old x (256 - alpha) + colour x alpha) / 256, inside the rectangle as
// the picture clips it; the canvas is not touched.
TEST(TintRect, MixesTheColourIntoTheRectangleOnly) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 40, 30));
  fill_all(p, Rgb{100, 200, 40});
  set_brush_color(p, Rgb{9, 9, 9});
  const CanvasState before = p.canvas;
  tint_rect(p, Rect{-5, 20, 10, 99}, Rgb{255, 0, 0}, 64);
  EXPECT_EQ(read_pixel(p, 0, 20), (Rgb{138, 150, 30}));
  EXPECT_EQ(read_pixel(p, 9, 29), (Rgb{138, 150, 30}));
  EXPECT_EQ(read_pixel(p, 10, 25), (Rgb{100, 200, 40}));
  EXPECT_EQ(read_pixel(p, 5, 19), (Rgb{100, 200, 40}));
  expect_same_canvas(p.canvas, before);

  tint_rect(p, Rect{0, 0, 40, 30}, Rgb{0, 0, 255}, 0);
  EXPECT_EQ(read_pixel(p, 30, 5), (Rgb{100, 200, 40})) << "alpha 0 mixes nothing";
  tint_rect(p, Rect{30, 0, 40, 10}, Rgb{0, 0, 255}, 300);
  EXPECT_EQ(read_pixel(p, 30, 5), (Rgb{0, 0, 255})) << "alpha above 256 is the colour alone";
  {
    const PaintLock held(p);
    tint_rect(p, Rect{0, 0, 40, 30}, Rgb{0, 255, 0}, 128);
  }
  EXPECT_EQ(read_pixel(p, 20, 5), (Rgb{100, 200, 40})) << "painting held";
  free_picture(p);
  Picture empty;
  tint_rect(empty, Rect{0, 0, 10, 10}, Rgb{0, 255, 0}, 128);  // no pixels: nothing to do
}

TEST(TextOut, ClearBrushPaintsOnlyGlyphsSolidBrushFillsTheTextBox) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 200, 60));
  p.fonts = fonts();
  set_font_size(p, 20);
  set_font_color(p, Rgb{255, 255, 255});
  const Point box = text_extent(p, "Start");
  ASSERT_GT(box.x, 20);
  EXPECT_EQ(box.y, 27) << "20 points at 96 DPI";

  fill_all(p, kSentinel);
  set_brush_clear(p);
  text_out(p, 10, 10, "Start");
  const Rect r{10, 10, 10 + box.x, 10 + box.y};
  EXPECT_GT(count_color(p, r, Rgb{255, 255, 255}), 20);
  EXPECT_GT(count_color(p, r, kSentinel), box.x * box.y / 2) << "the background shows through";
  EXPECT_EQ(count_color(p, Rect{0, 0, 200, 60}, Rgb{255, 255, 255}),
            count_color(p, r, Rgb{255, 255, 255}))
      << "glyphs outside their box";

  fill_all(p, kSentinel);
  set_brush_color(p, Rgb{0, 0, 160});
  text_out(p, 10, 10, "Start");
  EXPECT_EQ(count_color(p, r, kSentinel), 0);
  EXPECT_EQ(read_pixel(p, 10, 10), (Rgb{0, 0, 160}));
  EXPECT_EQ(read_pixel(p, 10 + box.x, 10), kSentinel);
  EXPECT_EQ(read_pixel(p, 10, 10 + box.y), kSentinel);
  free_picture(p);
}

TEST(TextOut, BoldStrokesAreHeavier) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 300, 40));
  p.fonts = fonts();
  set_font_size(p, 20);
  set_font_color(p, Rgb{255, 255, 255});
  set_brush_clear(p);
  int inked[2] = {};
  for (int bold = 0; bold < 2; ++bold) {
    fill_all(p, Rgb{0, 0, 0});
    set_font_bold(p, bold == 1);
    text_out(p, 0, 0, "Player's Turn");
    inked[bold] = 300 * 40 - count_color(p, Rect{0, 0, 300, 40}, Rgb{0, 0, 0});
  }
  EXPECT_GT(inked[1], inked[0] * 11 / 10);
  free_picture(p);
}

TEST(Polyline, ClosedOutlineTouchesEveryEdgePixelAndNothingElse) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 64, 64));
  fill_all(p, kSentinel);
  set_pen_color(p, Rgb{255, 0, 0});
  const Point pts[] = {{10, 10}, {42, 10}, {42, 42}, {10, 42}, {10, 10}};
  polyline(p, pts, 5);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool on_edge = (x >= 10 && x <= 42 && (y == 10 || y == 42)) ||
                           (y >= 10 && y <= 42 && (x == 10 || x == 42));
      ASSERT_EQ(read_pixel(p, x, y) == (Rgb{255, 0, 0}), on_edge) << x << ", " << y;
    }
  }
  // Lines running off the picture are clipped.
  const Point off[] = {{-10, 5}, {100, 5}, {100, -30}, {5, 200}};
  polyline(p, off, 4);
  EXPECT_EQ(read_pixel(p, 0, 5), (Rgb{255, 0, 0}));
  EXPECT_EQ(read_pixel(p, 63, 5), (Rgb{255, 0, 0}));
  free_picture(p);
}

TEST(Polyline, DiagonalStepsOnePixelAtATime) {
  Picture p;
  ASSERT_TRUE(create_picture(p, 16, 16));
  fill_all(p, kSentinel);
  set_pen_color(p, Rgb{0, 0, 255});
  const Point pts[] = {{2, 2}, {8, 8}};
  polyline(p, pts, 2);
  for (int i = 2; i < 8; ++i) EXPECT_EQ(read_pixel(p, i, i), (Rgb{0, 0, 255})) << i;
  EXPECT_EQ(count_color(p, Rect{0, 0, 16, 16}, Rgb{0, 0, 255}), 6) << "the end point is left out";
  free_picture(p);
}

TEST(CopyRect, OpaqueCopyClippedToBothPictures) {
  Picture src;
  Picture dst;
  ASSERT_TRUE(create_picture(src, 8, 8));
  ASSERT_TRUE(create_picture(dst, 8, 8));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      put(src, x, y, Rgb{static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 10), 0});
  }
  fill_all(dst, kSentinel);
  copy_rect(dst, 6, -1, src, Rect{2, 2, 6, 6});
  EXPECT_EQ(read_pixel(dst, 6, 0), (Rgb{20, 30, 0}));
  EXPECT_EQ(read_pixel(dst, 7, 2), (Rgb{30, 50, 0}));
  EXPECT_EQ(read_pixel(dst, 5, 0), kSentinel);
  EXPECT_EQ(count_color(dst, Rect{0, 0, 8, 8}, kSentinel), 64 - 2 * 3);
  free_picture(src);
  free_picture(dst);
}

// A sheet where sprite 17 holds a 10x10 green square at (4, 4) and is key colour elsewhere.
void make_test_sheet(SpriteSheet& sheet) {
  sheet.surface = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(sheet.surface, nullptr);
  const Uint32 key = SDL_MapRGB(sheet.surface->format, 255, 0, 255);
  SDL_FillRect(sheet.surface, nullptr, key);
  SDL_Rect square{32 + 4, 32 + 4, 10, 10};
  SDL_FillRect(sheet.surface, &square, SDL_MapRGB(sheet.surface->format, 0, 200, 0));
  SDL_SetColorKey(sheet.surface, SDL_TRUE, key);
}

TEST(DrawImage, TransparentPartsLeaveThePictureUnchanged) {
  SpriteSheet sheet;
  make_test_sheet(sheet);
  Picture p;
  ASSERT_TRUE(create_picture(p, 640, 480));
  fill_all(p, kSentinel);
  draw_image(p, sheet, 100, 50, 17);
  EXPECT_EQ(count_color(p, Rect{0, 0, 640, 480}, Rgb{0, 200, 0}), 100);
  EXPECT_EQ(read_pixel(p, 104, 54), (Rgb{0, 200, 0}));
  EXPECT_EQ(read_pixel(p, 113, 63), (Rgb{0, 200, 0}));
  EXPECT_EQ(read_pixel(p, 103, 54), kSentinel);
  EXPECT_EQ(read_pixel(p, 114, 63), kSentinel);
  EXPECT_EQ(count_color(p, Rect{0, 0, 640, 480}, Rgb{255, 0, 255}), 0);

  fill_all(p, kSentinel);
  draw_image(p, sheet, -6, -6, 17);  // clipped at the corner
  EXPECT_EQ(read_pixel(p, 0, 0), (Rgb{0, 200, 0}));
  EXPECT_EQ(count_color(p, Rect{0, 0, 640, 480}, Rgb{0, 200, 0}), 8 * 8);
  for (int index : {-1, 256, 1000}) {
    fill_all(p, kSentinel);
    draw_image(p, sheet, 0, 0, index);
    EXPECT_EQ(count_color(p, Rect{0, 0, 64, 64}, kSentinel), 64 * 64) << index;
  }
  free_sprite_sheet(sheet);
  free_picture(p);
}

// Mean brightness and the share of red over blue of a sprite's opaque pixels, drawn on black.
struct SpriteLook {
  int opaque = 0;
  long brightness = 0;
  long red_minus_blue = 0;
};

SpriteLook look_at(const SpriteSheet& sheet, int index) {
  Picture p;
  create_picture(p, 32, 32);
  fill_all(p, kSentinel);
  draw_image(p, sheet, 0, 0, index);
  SpriteLook look;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Rgb c = read_pixel(p, x, y);
      if (c == kSentinel) continue;
      ++look.opaque;
      look.brightness += c.r + c.g + c.b;
      look.red_minus_blue += c.r - c.b;
    }
  }
  free_picture(p);
  return look;
}

TEST(SpriteSheet, BuiltInSheetHasTerrainUnitsAndTheirDarkCopies) {
  SpriteSheet sheet;
  ASSERT_TRUE(load_sprite_sheet(sheet)) << SDL_GetError();
  EXPECT_EQ(sheet.surface->w, 512);
  EXPECT_EQ(sheet.surface->h, 512);

  for (int t = 0; t < 12; ++t) {
    EXPECT_EQ(look_at(sheet, t).opaque, 32 * 32) << "terrain " << t << " must cover its cell";
    EXPECT_EQ(look_at(sheet, t + 80).opaque, 32 * 32) << "fogged terrain " << t;
  }
  for (int t = 1; t < 12; ++t) {
    EXPECT_LT(look_at(sheet, t + 80).brightness * 10, look_at(sheet, t).brightness * 6) << t;
  }
  auto check_unit = [&](int s, bool player) {
    const SpriteLook bright = look_at(sheet, s);
    const SpriteLook dark = look_at(sheet, s + 16);
    EXPECT_GT(bright.opaque, 60) << "sprite " << s << " is nearly empty";
    EXPECT_LT(bright.opaque, 32 * 32) << "sprite " << s << " hides the terrain";
    EXPECT_EQ(dark.opaque, bright.opaque) << "sprite " << s + 16 << " has another shape";
    EXPECT_LT(dark.brightness * 10, bright.brightness * 7) << "sprite " << s + 16;
    const long redness = player ? bright.red_minus_blue : -bright.red_minus_blue;
    EXPECT_GT(redness, 0) << "sprite " << s << " is not in its side's colour";
  };
  for (int s = 16; s <= 26; ++s) check_unit(s, true);
  for (int s = 48; s <= 61; ++s) check_unit(s, false);
  for (int s : {12, 13, 100, 255}) EXPECT_EQ(look_at(sheet, s).opaque, 0) << s;
  free_sprite_sheet(sheet);
}

// Sprites without a transparent pixel are copied from the unkeyed surface: every one of the 256
// must still come out exactly as the keyed blit draws it, over a background that shows any
// pixel the copy wrongly covered or left out.
TEST(SpriteSheet, FastCopyOfOpaqueSpritesDrawsWhatTheKeyedBlitDraws) {
  SpriteSheet sheet;
  ASSERT_TRUE(load_sprite_sheet(sheet)) << SDL_GetError();
  ASSERT_NE(sheet.opaque, nullptr);
  for (int t = 0; t < 12; ++t) EXPECT_FALSE(sheet.has_key_pixels[t]) << "terrain " << t;
  EXPECT_TRUE(sheet.has_key_pixels[16]) << "a unit shows the terrain around it";
  Picture fast;
  Picture keyed;
  ASSERT_TRUE(create_picture(fast, 40, 40));
  ASSERT_TRUE(create_picture(keyed, 40, 40));
  for (int index = 0; index < kSpriteCount; ++index) {
    fill_all(fast, kSentinel);
    fill_all(keyed, kSentinel);
    draw_image(fast, sheet, 3, 5, index);
    SDL_Rect from{(index % 16) * 32, (index / 16) * 32, 32, 32};
    SDL_Rect to{3, 5, 32, 32};
    SDL_BlitSurface(sheet.surface, &from, keyed.surface, &to);
    int differing = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) differing += read_pixel(fast, x, y) != read_pixel(keyed, x, y);
    }
    EXPECT_EQ(differing, 0) << "sprite " << index;
  }
  free_picture(fast);
  free_picture(keyed);
  free_sprite_sheet(sheet);
}

// A block known to hold a terrain sprite is not drawn again, but only for the sheet it came from.
TEST(SpriteSheet, TheSameSpriteOfAnotherSheetIsDrawnOverTheFirst) {
  SpriteSheet built_in;
  ASSERT_TRUE(load_sprite_sheet(built_in)) << SDL_GetError();
  ASSERT_FALSE(built_in.has_key_pixels[3]);
  SpriteSheet green;
  green.surface = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(green.surface, nullptr);
  SDL_FillRect(green.surface, nullptr, SDL_MapRGB(green.surface->format, 0, 200, 0));
  green.opaque = SDL_DuplicateSurface(green.surface);
  Picture p;
  ASSERT_TRUE(create_picture(p, 640, 480));
  for (int round = 0; round < 2; ++round) {
    draw_image(p, built_in, 64, 32, 3);
    EXPECT_EQ(count_color(p, Rect{64, 32, 96, 64}, Rgb{0, 200, 0}), 0);
    draw_image(p, green, 64, 32, 3);
    EXPECT_EQ(count_color(p, Rect{64, 32, 96, 64}, Rgb{0, 200, 0}), 32 * 32);
  }
  free_picture(p);
  free_sprite_sheet(green);
  free_sprite_sheet(built_in);
}

TEST(Fonts, SizesArePointsAt96Dpi) {
  ASSERT_NE(fonts(), nullptr);
  Picture p;
  p.fonts = fonts();
  // Heights at 96 DPI of the Japanese gothic standing in for the game's font.
  const int sizes[][2] = {{10, 14}, {20, 27}, {64, 86}};
  for (const auto& s : sizes) {
    set_font_size(p, s[0]);
    EXPECT_EQ(text_extent(p, "司令部").y, s[1]) << s[0] << " points";
  }
}

}  // namespace
