#include "ui/pixel_copy.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

SDL_Surface* patterned(int w, int h, Uint32 seed, Uint32 format = SDL_PIXELFORMAT_XRGB8888) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, SDL_BITSPERPIXEL(format), format);
  auto* p = static_cast<Uint8*>(s->pixels);
  // Every byte differs from its neighbours, the unused fourth byte of a pixel included.
  for (int i = 0; i < s->pitch * h; ++i) p[i] = static_cast<Uint8>(i * 7 + seed * 31 + i / 251);
  return s;
}

bool same_bytes(const SDL_Surface* a, const SDL_Surface* b) {
  return a->pitch == b->pitch && a->h == b->h &&
         std::memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->h) == 0;
}

// Wherever the rectangle lies, half outside either picture or wholly off it, with or without a
// clip rectangle on the destination, the copy leaves the very bytes SDL's blit leaves.
TEST(CopyPixels, CopiesAndClipsExactlyAsSdlsBlit) {
  const struct {
    int sx, sy, w, h, dx, dy;
    SDL_Rect clip;  // w 0: none
  } cases[] = {
      {0, 0, 32, 32, 0, 0, {}},
      {32, 64, 32, 32, 608, 448, {}},
      {0, 0, 32, 32, -5, -7, {}},
      {0, 0, 32, 32, 620, 470, {}},
      {-3, -4, 32, 32, 10, 10, {}},
      {90, 50, 32, 32, 10, 10, {}},
      {0, 0, 100, 64, 0, 0, {}},
      {0, 0, 32, 32, 700, 10, {}},
      {0, 0, 32, 32, -40, 10, {}},
      {5, 6, 17, 3, 100, 200, {}},
      {0, 0, 32, 32, 10, 10, {20, 15, 100, 100}},
      {0, 0, 32, 32, 100, 100, {0, 0, 110, 120}},
      {0, 0, 0, 32, 10, 10, {}},
      {0, 0, 32, -1, 10, 10, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.sx << "," << c.sy << " " << c.w << "x" << c.h << " to "
                                      << c.dx << "," << c.dy);
    SDL_Surface* src = patterned(100, 64, 1);
    SDL_Surface* mine = patterned(640, 480, 2);
    SDL_Surface* sdls = patterned(640, 480, 2);
    if (c.clip.w > 0) {
      SDL_SetClipRect(mine, &c.clip);
      SDL_SetClipRect(sdls, &c.clip);
    }
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
    ASSERT_TRUE(copy_pixels(src, c.sx, c.sy, c.w, c.h, mine, c.dx, c.dy));
    SDL_Rect from{c.sx, c.sy, c.w, c.h};
    SDL_Rect to{c.dx, c.dy, c.w, c.h};
    SDL_BlitSurface(src, &from, sdls, &to);
    EXPECT_TRUE(same_bytes(mine, sdls));
    SDL_FreeSurface(sdls);
    SDL_FreeSurface(mine);
    SDL_FreeSurface(src);
  }
}

// A blit that would do more than copy is left to SDL, and nothing is touched.
TEST(CopyPixels, LeavesEveryOtherBlitToSdl) {
  SDL_Surface* dst = patterned(64, 64, 3);
  SDL_Surface* before = patterned(64, 64, 3);
  SDL_Surface* keyed = patterned(32, 32, 4);
  SDL_SetColorKey(keyed, SDL_TRUE, 0);
  SDL_Surface* blended = patterned(32, 32, 5);
  SDL_SetSurfaceBlendMode(blended, SDL_BLENDMODE_BLEND);
  SDL_Surface* tinted = patterned(32, 32, 6);
  SDL_SetSurfaceColorMod(tinted, 255, 128, 255);
  SDL_Surface* faded = patterned(32, 32, 7);
  SDL_SetSurfaceAlphaMod(faded, 200);
  SDL_Surface* other = patterned(32, 32, 8, SDL_PIXELFORMAT_ARGB8888);
  SDL_SetSurfaceBlendMode(other, SDL_BLENDMODE_NONE);
  SDL_Surface* encoded = patterned(32, 32, 9);
  SDL_SetSurfaceRLE(encoded, 1);
  for (SDL_Surface* src : {keyed, blended, tinted, faded, other, encoded}) {
    EXPECT_FALSE(copy_pixels(src, 0, 0, 32, 32, dst, 4, 4));
  }
  EXPECT_FALSE(copy_pixels(dst, 0, 0, 32, 32, dst, 4, 4)) << "onto itself";
  EXPECT_FALSE(copy_pixels(nullptr, 0, 0, 32, 32, dst, 4, 4));
  EXPECT_TRUE(same_bytes(dst, before));
  for (SDL_Surface* s : {keyed, blended, tinted, faded, other, encoded, before, dst}) {
    SDL_FreeSurface(s);
  }
}

}  // namespace
