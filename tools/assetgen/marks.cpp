// The side colours and the marks that tell the armies apart without relying on colour.
#include <cmath>
#include <vector>

#include "art.h"

const Side kPlayerSide{{196, 38, 34}, {242, 110, 90}, {116, 20, 22}, true};
const Side kEnemySide{{44, 90, 206}, {112, 160, 246}, {22, 42, 118}, false};

void stamp_side_mark(Image& img, const Side& side, int x, int y, bool big);

void draw_star(Image& img, float cx, float cy, float r, Color fill) {
  std::vector<PointF> pts;
  for (int i = 0; i < 10; ++i) {
    const float a = -1.5707963f + i * 3.14159265f / 5;
    const float rr = (i % 2 == 0) ? r : r * 0.42f;
    pts.push_back({cx + std::cos(a) * rr, cy + std::sin(a) * rr});
  }
  img.fill_polygon(pts, fill);
}

void draw_cross(Image& img, float cx, float cy, float arm, Color black, Color edge) {
  const float t = arm * 0.5f;  // half thickness of the white edge
  img.fill_polygon({{cx - arm, cy - t}, {cx + arm, cy - t}, {cx + arm, cy + t}, {cx - arm, cy + t}},
                   edge);
  img.fill_polygon({{cx - t, cy - arm}, {cx + t, cy - arm}, {cx + t, cy + arm}, {cx - t, cy + arm}},
                   edge);
  const float a = arm * 0.74f;
  const float b = arm * 0.26f;
  img.fill_polygon({{cx - a, cy - b}, {cx + a, cy - b}, {cx + a, cy + b}, {cx - a, cy + b}}, black);
  img.fill_polygon({{cx - b, cy - a}, {cx + b, cy - a}, {cx + b, cy + a}, {cx - b, cy + a}}, black);
}

void draw_side_mark(Image& img, const Side& side, float cx, float cy, float size) {
  if (side.player) {
    draw_star(img, cx, cy, size, Color{250, 250, 250});
  } else {
    draw_cross(img, cx, cy, size, Color{16, 16, 18}, Color{246, 246, 246});
  }
}

void draw_side_flag(Image& img, const Side& side, float x, float y, float h) {
  const float w = h * 1.5f;
  if (side.player) {
    // A swallow-tailed pennant.
    img.fill_polygon(
        {{x, y}, {x + w, y}, {x + w * 0.72f, y + h * 0.5f}, {x + w, y + h}, {x, y + h}}, side.main);
    img.fill_polygon({{x, y}, {x + w, y}, {x + w * 0.9f, y + h * 0.16f}, {x, y + h * 0.16f}},
                     side.light);
    if (h < 12) {
      stamp_side_mark(img, side, static_cast<int>(x + w * 0.36f) - 2,
                      static_cast<int>(y + h * 0.5f) - 2, false);
    } else {
      draw_star(img, x + w * 0.36f, y + h * 0.52f, h * 0.42f, Color{250, 250, 250});
    }
  } else {
    img.fill_rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                  static_cast<int>(h), side.main);
    img.fill_rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                  static_cast<int>(h * 0.16f) + 1, side.light);
    if (h < 12) {
      stamp_side_mark(img, side, static_cast<int>(x + w * 0.5f) - 2,
                      static_cast<int>(y + h * 0.5f) - 2, false);
    } else {
      draw_cross(img, x + w * 0.5f, y + h * 0.52f, h * 0.42f, Color{16, 16, 18},
                 Color{246, 246, 246});
    }
  }
}

namespace {

// '#' the mark's colour, 'o' its edge (the cross's white), '.' untouched.
constexpr const char* kStar9[] = {
    "....#....", "...###...", "...###...", "#########", ".#######.",
    "..#####..", "..##.##..", ".##...##.", ".#.....#.",
};
constexpr const char* kCross9[] = {
    "...ooo...", "...o#o...", "...o#o...", "oooo#oooo", "o#######o",
    "oooo#oooo", "...o#o...", "...o#o...", "...ooo...",
};
constexpr const char* kStar5[] = {"..#..", ".###.", "#####", ".###.", ".#.#."};
constexpr const char* kCross5[] = {".o#o.", "oo#oo", "#####", "oo#oo", ".o#o."};

void stamp(Image& img, const char* const* rows, int n, int x, int y, Color mark, Color edge) {
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      if (rows[j][i] == '#') img.set(x + i, y + j, mark);
      if (rows[j][i] == 'o') img.set(x + i, y + j, edge);
    }
  }
}

}  // namespace

void stamp_side_mark(Image& img, const Side& side, int x, int y, bool big) {
  const Color white{250, 250, 250};
  const Color black{16, 16, 18};
  if (side.player) {
    stamp(img, big ? kStar9 : kStar5, big ? 9 : 5, x, y, white, white);
  } else {
    stamp(img, big ? kCross9 : kCross5, big ? 9 : 5, x, y, black, white);
  }
}
