#include "platform/frame_gate.h"

#include <gtest/gtest.h>

namespace {

SDL_Surface* frame(int w, int h, Uint32 format = SDL_PIXELFORMAT_XRGB8888) {
  return SDL_CreateRGBSurfaceWithFormat(0, w, h, SDL_BITSPERPIXEL(format), format);
}

void dot(SDL_Surface* s, int x, int y, Uint8 r) {
  SDL_Rect px{x, y, 1, 1};
  SDL_FillRect(s, &px, SDL_MapRGB(s->format, r, 0, 0));
}

TEST(FrameGate, LetsThroughTheFirstPictureAndEveryChangeButNotARepeat) {
  SDL_Surface* f = frame(64, 48);
  SDL_FillRect(f, nullptr, 0);
  FrameGate gate(64, 48, 4);
  EXPECT_TRUE(gate.changed(f)) << "nothing shown yet";
  EXPECT_FALSE(gate.changed(f));
  // A change in the last pixel, then one in the first row: each is seen once.
  dot(f, 63, 47, 200);
  EXPECT_TRUE(gate.changed(f));
  EXPECT_FALSE(gate.changed(f));
  dot(f, 0, 0, 9);
  EXPECT_TRUE(gate.changed(f));
  // Changed and changed back between two looks: the screen already holds it.
  dot(f, 10, 10, 1);
  dot(f, 10, 10, 0);
  EXPECT_FALSE(gate.changed(f));
  gate.invalidate();
  EXPECT_TRUE(gate.changed(f)) << "a lost screen is given the picture again";
  EXPECT_FALSE(gate.changed(f));
  SDL_FreeSurface(f);
}

TEST(FrameGate, APictureOfAnotherShapeAlwaysGoesThrough) {
  SDL_Surface* f = frame(64, 48);
  SDL_Surface* narrow = frame(32, 48);
  SDL_Surface* packed = frame(64, 48, SDL_PIXELFORMAT_RGB24);
  SDL_FillRect(f, nullptr, 0);
  SDL_FillRect(narrow, nullptr, 0);
  SDL_FillRect(packed, nullptr, 0);
  FrameGate gate(64, 48, 4);
  EXPECT_TRUE(gate.changed(f));
  for (SDL_Surface* other : {narrow, narrow, packed, packed}) EXPECT_TRUE(gate.changed(other));
  EXPECT_TRUE(gate.changed(nullptr));
  EXPECT_TRUE(gate.changed(f)) << "after a picture it could not keep";
  EXPECT_FALSE(gate.changed(f));
  SDL_FreeSurface(packed);
  SDL_FreeSurface(narrow);
  SDL_FreeSurface(f);
}

}  // namespace
