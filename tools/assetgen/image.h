// A small RGBA raster with the few shapes the asset pictures are drawn from.
#pragma once

#include <cstdint>
#include <vector>

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 255;
  bool operator==(const Color&) const = default;
};

constexpr Color kClear{0, 0, 0, 0};

struct PointF {
  float x;
  float y;
};

Color mix(Color a, Color b, float t);           // a toward b by t (0..1), alpha included
Color scale(Color c, float factor);             // brightness, alpha kept
Color jitter(Color c, int amount, uint32_t h);  // brightness moved by up to +-amount

// Stable per-position noise in 0..2^32-1, so every build draws the same pixels.
uint32_t hash3(int x, int y, int seed);
// Smooth value noise in 0..1 that repeats every `period` units when period > 0.
float value_noise(float x, float y, int seed, int period = 0);

class Image {
 public:
  Image() = default;
  Image(int width, int height, Color fill = kClear);

  int width() const { return w_; }
  int height() const { return h_; }
  Color get(int x, int y) const;
  void set(int x, int y, Color c);    // replaces, clipped
  void blend(int x, int y, Color c);  // source-over, clipped
  const std::vector<Color>& pixels() const { return px_; }

  void fill_rect(int x, int y, int w, int h, Color c);
  void fill_circle(float cx, float cy, float r, Color c);
  void fill_ellipse(float cx, float cy, float rx, float ry, Color c);
  // Even-odd fill, a pixel counts when its centre is inside.
  void fill_polygon(const std::vector<PointF>& points, Color c);
  // A straight stroke of the given width with square ends.
  void line(float x0, float y0, float x1, float y1, float width, Color c);
  void vertical_gradient(int y0, int y1, Color top, Color bottom);
  void draw(const Image& src, int x, int y);                                  // source-over
  void copy(const Image& src, int sx, int sy, int w, int h, int dx, int dy);  // replaces

  Image mirrored() const;
  // Averages each factor x factor block: pictures are drawn at twice the size and reduced, which
  // smooths their edges.
  Image downsampled(int factor) const;
  // Every clear pixel that touches a covered one (4-neighbourhood) gets the colour: a silhouette
  // outline that keeps small figures readable on any ground.
  void outline(Color c);

 private:
  int w_ = 0;
  int h_ = 0;
  std::vector<Color> px_;
};
