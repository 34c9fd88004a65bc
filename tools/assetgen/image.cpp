#include "image.h"

#include <algorithm>
#include <cmath>

Color mix(Color a, Color b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  auto m = [t](uint8_t u, uint8_t v) {
    return static_cast<uint8_t>(
        std::lround(static_cast<float>(u) + (static_cast<float>(v) - u) * t));
  };
  return Color{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Color scale(Color c, float factor) {
  auto s = [factor](uint8_t v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v * factor), 0L, 255L));
  };
  return Color{s(c.r), s(c.g), s(c.b), c.a};
}

Color jitter(Color c, int amount, uint32_t h) {
  if (amount <= 0) return c;
  const int d = static_cast<int>(h % static_cast<uint32_t>(2 * amount + 1)) - amount;
  auto s = [d](uint8_t v) { return static_cast<uint8_t>(std::clamp(v + d, 0, 255)); };
  return Color{s(c.r), s(c.g), s(c.b), c.a};
}

uint32_t hash3(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
               static_cast<uint32_t>(seed) * 0xcb1ab31fu;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return h;
}

float value_noise(float x, float y, int seed, int period) {
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0;
  const float fy = y - y0;
  auto corner = [&](int cx, int cy) {
    if (period > 0) {
      cx = ((cx % period) + period) % period;
      cy = ((cy % period) + period) % period;
    }
    return static_cast<float>(hash3(cx, cy, seed) & 0xffff) / 65535.0f;
  };
  const float sx = fx * fx * (3 - 2 * fx);
  const float sy = fy * fy * (3 - 2 * fy);
  const float top = corner(x0, y0) + (corner(x0 + 1, y0) - corner(x0, y0)) * sx;
  const float bottom = corner(x0, y0 + 1) + (corner(x0 + 1, y0 + 1) - corner(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

Image::Image(int width, int height, Color fill)
    : w_(width), h_(height), px_(static_cast<size_t>(width) * height, fill) {}

Color Image::get(int x, int y) const {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return kClear;
  return px_[static_cast<size_t>(y) * w_ + x];
}

void Image::set(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  px_[static_cast<size_t>(y) * w_ + x] = c;
}

void Image::blend(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  if (c.a == 255) {
    px_[static_cast<size_t>(y) * w_ + x] = c;
    return;
  }
  if (c.a == 0) return;
  Color& d = px_[static_cast<size_t>(y) * w_ + x];
  const float sa = c.a / 255.0f;
  const float da = d.a / 255.0f;
  const float oa = sa + da * (1 - sa);
  auto ch = [&](uint8_t s, uint8_t t) {
    return static_cast<uint8_t>(std::lround((s * sa + t * da * (1 - sa)) / oa));
  };
  d = Color{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), static_cast<uint8_t>(std::lround(oa * 255))};
}

void Image::fill_rect(int x, int y, int w, int h, Color c) {
  for (int j = std::max(0, y); j < std::min(h_, y + h); ++j) {
    for (int i = std::max(0, x); i < std::min(w_, x + w); ++i) blend(i, j, c);
  }
}

void Image::fill_circle(float cx, float cy, float r, Color c) {
  fill_ellipse(cx, cy, r, r, c);
}

void Image::fill_ellipse(float cx, float cy, float rx, float ry, Color c) {
  if (rx <= 0 || ry <= 0) return;
  const int x0 = static_cast<int>(std::floor(cx - rx));
  const int x1 = static_cast<int>(std::ceil(cx + rx));
  const int y0 = static_cast<int>(std::floor(cy - ry));
  const int y1 = static_cast<int>(std::ceil(cy + ry));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float dx = (x + 0.5f - cx) / rx;
      const float dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) blend(x, y, c);
    }
  }
}

void Image::fill_polygon(const std::vector<PointF>& points, Color c) {
  if (points.size() < 3) return;
  float top = points[0].y;
  float bottom = points[0].y;
  for (const PointF& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  std::vector<float> xs;
  for (int y = std::max(0, static_cast<int>(std::floor(top)));
       y <= std::min(h_ - 1, static_cast<int>(std::ceil(bottom))); ++y) {
    const float sy = y + 0.5f;
    xs.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const PointF a = points[i];
      const PointF b = points[(i + 1) % points.size()];
      if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) {
        xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
      }
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
      const int x0 = static_cast<int>(std::ceil(xs[i] - 0.5f));
      const int x1 = static_cast<int>(std::floor(xs[i + 1] - 0.5f));
      for (int x = x0; x <= x1; ++x) blend(x, y, c);
    }
  }
}

void Image::line(float x0, float y0, float x1, float y1, float width, Color c) {
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  const float len = std::sqrt(dx * dx + dy * dy);
  if (len == 0) {
    fill_rect(static_cast<int>(x0), static_cast<int>(y0), 1, 1, c);
    return;
  }
  const float nx = -dy / len * width / 2;
  const float ny = dx / len * width / 2;
  fill_polygon({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}}, c);
}

void Image::vertical_gradient(int y0, int y1, Color top, Color bottom) {
  for (int y = std::max(0, y0); y < std::min(h_, y1); ++y) {
    const Color c = mix(top, bottom, y1 - y0 > 1 ? static_cast<float>(y - y0) / (y1 - y0 - 1) : 0);
    for (int x = 0; x < w_; ++x) set(x, y, c);
  }
}

void Image::draw(const Image& src, int x, int y) {
  for (int j = 0; j < src.h_; ++j) {
    for (int i = 0; i < src.w_; ++i) blend(x + i, y + j, src.get(i, j));
  }
}

void Image::copy(const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) set(dx + i, dy + j, src.get(sx + i, sy + j));
  }
}

Image Image::mirrored() const {
  Image out(w_, h_);
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) out.set(w_ - 1 - x, y, get(x, y));
  }
  return out;
}

Image Image::downsampled(int factor) const {
  Image out(w_ / factor, h_ / factor);
  const int n = factor * factor;
  for (int y = 0; y < out.h_; ++y) {
    for (int x = 0; x < out.w_; ++x) {
      int r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < factor; ++j) {
        for (int i = 0; i < factor; ++i) {
          const Color c = get(x * factor + i, y * factor + j);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      if (a == 0) continue;
      out.set(x, y,
              Color{static_cast<uint8_t>(r / a), static_cast<uint8_t>(g / a),
                    static_cast<uint8_t>(b / a), static_cast<uint8_t>(a / n)});
    }
  }
  return out;
}

void Image::outline(Color c) {
  std::vector<size_t> edge;
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      if (get(x, y).a != 0) continue;
      if (get(x - 1, y).a || get(x + 1, y).a || get(x, y - 1).a || get(x, y + 1).a) {
        edge.push_back(static_cast<size_t>(y) * w_ + x);
      }
    }
  }
  for (size_t i : edge) px_[i] = c;
}
