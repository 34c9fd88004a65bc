// The two armies must stay apart for every player, also one who cannot tell red from green: each
// unit carries its side's mark in its own corner (the player's white star upper left, the
// enemy's black cross edged in white upper right), and the colours of the two sides stay apart
// when seen with red-green colour blindness. Within an army, every type has a shape of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "ui/surface.h"

namespace {

struct Pixel {
  int x;
  int y;
  Rgb c;
};

// The opaque pixels of one sprite of the built-in sheet.
std::vector<Pixel> opaque_pixels(const SpriteSheet& sheet, int index) {
  Picture p;
  create_picture(p, kSpriteSize, kSpriteSize);
  const Rgb sentinel{1, 2, 3};
  set_brush_color(p, sentinel);
  fill_rect(p, Rect{0, 0, kSpriteSize, kSpriteSize});
  draw_image(p, sheet, 0, 0, index);
  std::vector<Pixel> out;
  for (int y = 0; y < kSpriteSize; ++y) {
    for (int x = 0; x < kSpriteSize; ++x) {
      const Rgb c = read_pixel(p, x, y);
      if (!(c == sentinel)) out.push_back({x, y, c});
    }
  }
  free_picture(p);
  return out;
}

bool near_white(Rgb c) {
  return c.r >= 235 && c.g >= 235 && c.b >= 235;
}
bool near_black(Rgb c) {
  return c.r <= 30 && c.g <= 30 && c.b <= 30;
}

struct Corner {
  int whites = 0;
  int blacks = 0;
};

// What lies in the 10x10 corner at the top left (left = true) or the top right.
Corner corner(const std::vector<Pixel>& pixels, bool left) {
  Corner c;
  for (const Pixel& p : pixels) {
    if (p.y >= 10 || (left ? p.x >= 10 : p.x < kSpriteSize - 10)) continue;
    c.whites += near_white(p.c);
    c.blacks += near_black(p.c);
  }
  return c;
}

class SpriteSheetMarks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(load_sprite_sheet(sheet_)); }
  static void TearDownTestSuite() { free_sprite_sheet(sheet_); }
  static SpriteSheet sheet_;
};
SpriteSheet SpriteSheetMarks::sheet_;

// Sprite indices of the units that fight, player and enemy side by side by role.
constexpr int kRoles[][2] = {{17, 49}, {18, 50}, {19, 51}, {20, 52}, {21, 53},
                             {22, 54}, {23, 55}, {24, 56}, {25, 57}, {26, 58}};

TEST_F(SpriteSheetMarks, EveryUnitCarriesItsSidesMarkInItsOwnCorner) {
  std::vector<int> players, enemies;
  for (const auto& r : kRoles) {
    players.push_back(r[0]);
    enemies.push_back(r[1]);
  }
  for (int extra : {59, 60, 61}) enemies.push_back(extra);  // position, militia, ace
  for (int s : players) {
    const auto px = opaque_pixels(sheet_, s);
    EXPECT_GE(corner(px, true).whites, 20) << "no star on sprite " << s;
    EXPECT_LT(corner(px, false).whites, 4) << "a white mark on the enemy's corner of sprite " << s;
  }
  for (int s : enemies) {
    const auto px = opaque_pixels(sheet_, s);
    EXPECT_GE(corner(px, false).blacks, 9) << "no cross on sprite " << s;
    EXPECT_GE(corner(px, false).whites, 16) << "no white edge to the cross on sprite " << s;
    EXPECT_LT(corner(px, true).whites, 4) << "a white mark on the player's corner of sprite " << s;
  }
}

TEST_F(SpriteSheetMarks, HqFlagsShowTheMarks) {
  int star = 0;
  for (const Pixel& p : opaque_pixels(sheet_, 16)) star += near_white(p.c) && p.y < 10;
  int cross_black = 0, cross_white = 0;
  for (const Pixel& p : opaque_pixels(sheet_, 48)) {
    cross_black += near_black(p.c) && p.y < 10;
    cross_white += near_white(p.c) && p.y < 10;
  }
  EXPECT_GE(star, 5);
  EXPECT_GE(cross_black, 5);
  EXPECT_GE(cross_white, 4);
}

// The opaque pixels of a sprite outside its side's mark corner (the mark is the same on every
// unit of a side, so it tells no type from another).
using Mask = std::array<std::array<bool, kSpriteSize>, kSpriteSize>;  // [y][x]
Mask silhouette(const SpriteSheet& sheet, int index, bool player) {
  Mask m{};
  for (const Pixel& p : opaque_pixels(sheet, index)) {
    const bool in_corner = p.y < 10 && (player ? p.x < 10 : p.x >= kSpriteSize - 10);
    if (!in_corner) m[p.y][p.x] = true;
  }
  return m;
}

// Pixels opaque in one silhouette and clear in the other, with b slid by up to two pixels
// each way to where it matches a best: a shape that is only drawn a little to one side is the
// same shape to the eye.
int shape_difference(const Mask& a, const Mask& b) {
  int best = kSpriteSize * kSpriteSize;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      int n = 0;
      for (int y = 0; y < kSpriteSize; ++y) {
        for (int x = 0; x < kSpriteSize; ++x) {
          const int bx = x - dx, by = y - dy;
          const bool in_b = bx >= 0 && bx < kSpriteSize && by >= 0 && by < kSpriteSize && b[by][bx];
          n += a[y][x] != in_b;
        }
      }
      best = std::min(best, n);
    }
  }
  return best;
}

// Within each army every type has its own silhouette, so the types read apart at a glance and
// not by colour or detail. The margin: the pairs that were hard to tell apart, the tank and the
// self-propelled gun (79 pixels of difference) and the assault troops and the riflemen (95),
// show what "alike" measures; a clear difference is at least twice the smaller, 160 pixels,
// about a sixth of the cell.
TEST_F(SpriteSheetMarks, EveryTypeOfAnArmyHasItsOwnSilhouette) {
  constexpr int kClearDifference = 160;
  const char* const kNames[] = {"scout",  "assault troops", "tank",     "self-propelled gun",
                                "AA gun", "bomber",         "fighter",  "riflemen",
                                "AT gun", "artillery",      "position", "militia",
                                "ace"};
  for (const bool player : {true, false}) {
    std::vector<int> sprites;
    for (int i = 0; i < 10; ++i) sprites.push_back((player ? 17 : 49) + i);
    if (!player) sprites.insert(sprites.end(), {59, 60, 61});
    std::vector<Mask> masks;
    for (int s : sprites) masks.push_back(silhouette(sheet_, s, player));
    for (size_t i = 0; i < sprites.size(); ++i) {
      for (size_t j = i + 1; j < sprites.size(); ++j) {
        EXPECT_GE(shape_difference(masks[i], masks[j]), kClearDifference)
            << (player ? "player's " : "enemy's ") << kNames[i] << " (" << sprites[i] << ") and "
            << kNames[j] << " (" << sprites[j] << ")";
      }
    }
  }
}

// Mean colour of a sprite as a viewer with the given colour blindness sees it (linear
// simulation matrices for complete deuteranopia and protanopia).
struct Rgbf {
  double r, g, b;
};
Rgbf seen_as(const std::vector<Pixel>& pixels, const double m[3][3]) {
  Rgbf sum{0, 0, 0};
  for (const Pixel& p : pixels) {
    sum.r += m[0][0] * p.c.r + m[0][1] * p.c.g + m[0][2] * p.c.b;
    sum.g += m[1][0] * p.c.r + m[1][1] * p.c.g + m[1][2] * p.c.b;
    sum.b += m[2][0] * p.c.r + m[2][1] * p.c.g + m[2][2] * p.c.b;
  }
  const double n = static_cast<double>(pixels.size());
  return {sum.r / n, sum.g / n, sum.b / n};
}

TEST_F(SpriteSheetMarks, SidesStayApartForRedGreenColourBlindViewers) {
  const double deuteranopia[3][3] = {{0.367322, 0.860646, -0.227968},
                                     {0.280085, 0.672501, 0.047413},
                                     {-0.011820, 0.042940, 0.968881}};
  const double protanopia[3][3] = {{0.152286, 1.052583, -0.204868},
                                   {0.114503, 0.786281, 0.099216},
                                   {-0.003882, -0.048116, 1.051998}};
  for (const auto* m : {deuteranopia, protanopia}) {
    for (const auto& r : kRoles) {
      const Rgbf a = seen_as(opaque_pixels(sheet_, r[0]), m);
      const Rgbf b = seen_as(opaque_pixels(sheet_, r[1]), m);
      const double d = std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) +
                                 (a.b - b.b) * (a.b - b.b));
      EXPECT_GT(d, 30.0) << "sprites " << r[0] << " and " << r[1];
    }
  }
}

}  // namespace
