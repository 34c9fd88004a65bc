// The window skin with its portraits, and the three full-screen pictures.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "art.h"

namespace {

constexpr Color kSkin{232, 188, 148};
constexpr Color kSkinShade{196, 148, 110};
constexpr Color kInk{22, 18, 20};
constexpr Color kGold{250, 206, 64};
constexpr Color kGoldDark{176, 128, 36};
constexpr Color kWhite{250, 250, 250};

// Points of a polygon, scaled by s and moved by (dx, dy): the portraits are drawn at twice
// their size from 64-unit coordinates.
std::vector<PointF> at(std::vector<PointF> pts, float s, float dx = 0, float dy = 0) {
  for (PointF& p : pts) p = {p.x * s + dx, p.y * s + dy};
  return pts;
}

// ---- window skin ---------------------------------------------------------------------------

constexpr Color kInterior{26, 36, 84};

// A 96x96 window, cut into its nine 32x32 pieces afterwards, so the pieces always meet.
Image frame_96() {
  Image f(96, 96);
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      // A faint cloth weave that repeats every cell, so the interior tiles without seams.
      const int u = x % 32;
      const int v = y % 32;
      const int weave = ((u + v) % 4 == 0) ? 3 : (((u - v + 32) % 4 == 0) ? -2 : 0);
      f.set(x, y, jitter(scale(kInterior, 1.0f + weave * 0.02f), 1, hash3(u, v, 40)));
    }
  }
  auto ring = [&f](int inset, Color lit, Color shade) {
    for (int i = inset; i < 96 - inset; ++i) {
      f.set(i, inset, lit);
      f.set(inset, i, lit);
      f.set(i, 95 - inset, shade);
      f.set(95 - inset, i, shade);
    }
  };
  // Dark rim, a steel bevel lit from the upper left, a gold line, and a shadow on the cloth.
  ring(0, Color{6, 8, 18}, Color{6, 8, 18});
  ring(1, Color{220, 228, 246}, Color{92, 102, 140});
  ring(2, Color{172, 182, 216}, Color{112, 122, 162});
  ring(3, Color{140, 150, 192}, Color{100, 110, 150});
  ring(4, Color{8, 12, 30}, Color{8, 12, 30});
  ring(5, kGold, kGoldDark);
  ring(6, Color{12, 18, 46}, Color{12, 18, 46});
  ring(7, Color{18, 26, 64}, Color{34, 48, 104});
  // Gold studs at the corners.
  for (const auto& c : {std::array<int, 2>{3, 3}, {92, 3}, {3, 92}, {92, 92}}) {
    f.fill_rect(c[0] - 2, c[1] - 2, 5, 5, Color{6, 8, 18});
    f.fill_rect(c[0] - 1, c[1] - 1, 3, 3, kGold);
    f.set(c[0] - 1, c[1] - 1, Color{255, 244, 180});
    f.set(c[0] + 1, c[1] + 1, kGoldDark);
  }
  return f;
}

// ---- portraits (64x64, drawn at 128x128 and reduced) ---------------------------------------

constexpr float kP = 2;  // drawing scale of the portraits

void backdrop(Image& p, Color top, Color bottom) {
  p.vertical_gradient(0, 128, top, bottom);
  // A soft light behind the head.
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const float d = std::hypot(x - 64.0f, y - 50.0f) / 64.0f;
      if (d < 1) p.blend(x, y, Color{255, 240, 210, static_cast<uint8_t>(40 * (1 - d))});
    }
  }
}

// Head and shoulders of a soldier of the side, turned a little towards the viewer.
Image soldier_portrait(const Side& side) {
  Image p(128, 128);
  backdrop(p, mix(side.dark, Color{16, 16, 24}, 0.55f), Color{40, 38, 48});
  const float s = kP;
  // Shoulders and tunic, with a collar and the side's collar patches.
  p.fill_polygon(at({{2, 64}, {8, 47}, {22, 42}, {42, 42}, {56, 47}, {62, 64}}, s), side.main);
  p.fill_polygon(at({{2, 64}, {8, 47}, {22, 42}, {20, 64}}, s), side.light);
  p.fill_polygon(at({{42, 42}, {56, 47}, {62, 64}, {48, 64}}, s), side.dark);
  p.fill_polygon(at({{23, 42}, {32, 52}, {41, 42}, {38, 40}, {32, 46}, {26, 40}}, s),
                 mix(side.dark, kInk, 0.3f));
  p.fill_polygon(at({{18, 44}, {25, 43}, {27, 48}, {20, 49}}, s), side.dark);
  p.fill_polygon(at({{46, 44}, {39, 43}, {37, 48}, {44, 49}}, s), side.dark);
  if (side.player) {
    draw_star(p, 22 * s, 46 * s, 2.2f * s, kGold);
    draw_star(p, 42 * s, 46 * s, 2.2f * s, kGold);
  } else {
    p.fill_rect(static_cast<int>(19 * s), static_cast<int>(45 * s), static_cast<int>(6 * s),
                static_cast<int>(1.2f * s), Color{220, 220, 226});
    p.fill_rect(static_cast<int>(39 * s), static_cast<int>(45 * s), static_cast<int>(6 * s),
                static_cast<int>(1.2f * s), Color{220, 220, 226});
  }
  // Neck and face, lit from the left.
  p.fill_rect(static_cast<int>(27 * s), static_cast<int>(35 * s), static_cast<int>(10 * s),
              static_cast<int>(9 * s), kSkinShade);
  p.fill_ellipse(32 * s, 29 * s, 10.5f * s, 12.5f * s, kSkin);
  p.fill_polygon(at({{36, 20}, {42.5f, 26}, {41, 36}, {35, 41}, {38, 31}}, s), kSkinShade);
  p.fill_ellipse(22 * s, 30 * s, 1.6f * s, 3 * s, kSkinShade);  // ear
  // Brows, eyes, nose and a set mouth.
  p.line(25 * s, 25.5f * s, 30 * s, 25 * s, 1.4f * s, Color{70, 50, 40});
  p.line(34 * s, 25 * s, 39 * s, 25.5f * s, 1.4f * s, Color{70, 50, 40});
  p.fill_ellipse(27.5f * s, 28.5f * s, 2.2f * s, 1.2f * s, kWhite);
  p.fill_ellipse(36.5f * s, 28.5f * s, 2.2f * s, 1.2f * s, kWhite);
  p.fill_circle(28 * s, 28.6f * s, 1.1f * s, Color{50, 40, 36});
  p.fill_circle(37 * s, 28.6f * s, 1.1f * s, Color{50, 40, 36});
  p.fill_polygon(at({{32, 28}, {34, 34}, {31, 34.5f}}, s), kSkinShade);
  p.line(29 * s, 37.5f * s, 35 * s, 37.2f * s, 1.1f * s, Color{150, 90, 80});
  p.fill_ellipse(32 * s, 40 * s, 4 * s, 1.5f * s, kSkinShade);
  // The helmet: a rounded dome with a star for the player, the deep helmet with a flared rim
  // and the cross for the enemy.
  const Color lit = mix(side.dark, kWhite, 0.28f);
  if (side.player) {
    p.fill_ellipse(32 * s, 19 * s, 14 * s, 10 * s, side.dark);
    p.fill_polygon(at({{17, 20}, {47, 20}, {47, 23}, {17, 23}}, s), side.dark);
    p.fill_ellipse(27 * s, 13 * s, 6 * s, 3 * s, lit);
    p.line(17 * s, 23 * s, 47 * s, 23 * s, 1.2f * s, mix(side.dark, kInk, 0.5f));
    draw_star(p, 32 * s, 15.5f * s, 5.4f * s, Color{120, 16, 16});
    draw_star(p, 32 * s, 15.5f * s, 4.2f * s, kWhite);
  } else {
    p.fill_ellipse(32 * s, 18 * s, 14.5f * s, 10 * s, side.dark);
    p.fill_polygon(
        at({{17, 18}, {47, 18}, {51, 28}, {46, 26}, {44, 21}, {20, 21}, {18, 26}, {13, 28}}, s),
        side.dark);
    p.fill_ellipse(27 * s, 12 * s, 6 * s, 3 * s, lit);
    p.line(17 * s, 21 * s, 47 * s, 21 * s, 1.2f * s, mix(side.dark, kInk, 0.5f));
    draw_cross(p, 42 * s, 17 * s, 3.4f * s, Color{16, 16, 18}, Color{236, 236, 236});
  }
  p.outline(kInk);
  return p.downsampled(2);
}

// The HQ: the player's farmhouse post under its pennant, the enemy's blockhouse under its flag.
Image hq_portrait(const Side& side) {
  Image p(128, 128);
  const float s = kP;
  if (side.player) {
    p.vertical_gradient(0, 92, Color{70, 112, 186}, Color{222, 210, 190});
  } else {
    p.vertical_gradient(0, 92, Color{64, 76, 104}, Color{186, 186, 196});
  }
  p.fill_rect(0, 88, 128, 40, Color{84, 124, 60});
  p.fill_rect(0, 88, 128, 3, Color{108, 150, 74});
  if (side.player) {
    p.fill_rect(static_cast<int>(8 * s), static_cast<int>(28 * s), static_cast<int>(44 * s),
                static_cast<int>(26 * s), Color{58, 50, 44});
    p.fill_rect(static_cast<int>(10 * s), static_cast<int>(30 * s), static_cast<int>(40 * s),
                static_cast<int>(24 * s), Color{212, 198, 170});
    p.fill_polygon(at({{4, 31}, {30, 12}, {56, 31}}, s), side.dark);
    p.fill_polygon(at({{8, 30}, {30, 14}, {52, 30}}, s), side.main);
    p.fill_polygon(at({{8, 30}, {30, 14}, {30, 30}}, s), side.light);
    p.fill_rect(static_cast<int>(26 * s), static_cast<int>(38 * s), static_cast<int>(8 * s),
                static_cast<int>(16 * s), Color{90, 60, 38});
    p.fill_rect(static_cast<int>(14 * s), static_cast<int>(34 * s), static_cast<int>(7 * s),
                static_cast<int>(6 * s), Color{60, 84, 118});
    p.fill_rect(static_cast<int>(39 * s), static_cast<int>(34 * s), static_cast<int>(7 * s),
                static_cast<int>(6 * s), Color{60, 84, 118});
  } else {
    p.fill_rect(static_cast<int>(6 * s), static_cast<int>(24 * s), static_cast<int>(48 * s),
                static_cast<int>(30 * s), Color{60, 62, 68});
    p.fill_rect(static_cast<int>(8 * s), static_cast<int>(26 * s), static_cast<int>(44 * s),
                static_cast<int>(28 * s), Color{164, 166, 172});
    p.fill_rect(static_cast<int>(4 * s), static_cast<int>(20 * s), static_cast<int>(52 * s),
                static_cast<int>(7 * s), side.dark);
    p.fill_rect(static_cast<int>(5 * s), static_cast<int>(21 * s), static_cast<int>(50 * s),
                static_cast<int>(4 * s), side.main);
    p.fill_rect(static_cast<int>(12 * s), static_cast<int>(33 * s), static_cast<int>(10 * s),
                static_cast<int>(3 * s), kInk);
    p.fill_rect(static_cast<int>(38 * s), static_cast<int>(33 * s), static_cast<int>(10 * s),
                static_cast<int>(3 * s), kInk);
    p.fill_rect(static_cast<int>(25 * s), static_cast<int>(40 * s), static_cast<int>(10 * s),
                static_cast<int>(14 * s), Color{72, 74, 80});
  }
  // Sandbags along the front.
  for (int i = 0; i < 8; ++i) {
    p.fill_ellipse((4 + i * 8) * s, 57 * s, 4.2f * s, 2.4f * s, Color{150, 130, 88});
    p.fill_ellipse((4 + i * 8) * s - 1, 56.5f * s, 3.6f * s, 1.8f * s, Color{198, 178, 126});
  }
  p.fill_rect(static_cast<int>(44 * s), static_cast<int>(2 * s), static_cast<int>(1.5f * s),
              static_cast<int>(28 * s), Color{70, 70, 76});
  draw_side_flag(p, side, 45.5f * s, 3 * s, 11 * s);
  p.outline(kInk);
  return p.downsampled(2);
}

Image ace_portrait() {
  Image p(128, 128);
  const float s = kP;
  p.vertical_gradient(0, 128, Color{34, 26, 44}, Color{92, 62, 46});
  p.fill_rect(0, 110, 128, 18, Color{58, 48, 40});
  const Color body{30, 52, 142};
  // Tracks and road wheels, the long hull, the angular turret and its very long gun.
  p.fill_rect(static_cast<int>(2 * s), static_cast<int>(42 * s), static_cast<int>(60 * s),
              static_cast<int>(14 * s), Color{44, 44, 48});
  for (int i = 0; i < 8; ++i) {
    p.fill_circle((6 + i * 7.4f) * s, 49 * s, 3.2f * s, Color{100, 100, 104});
    p.fill_circle((6 + i * 7.4f) * s, 49 * s, 1.2f * s, Color{60, 60, 64});
  }
  p.fill_polygon(at({{1, 42}, {63, 42}, {59, 30}, {5, 30}}, s), body);
  p.fill_rect(static_cast<int>(5 * s), static_cast<int>(30 * s), static_cast<int>(54 * s),
              static_cast<int>(2 * s), kGold);
  p.fill_polygon(at({{12, 31}, {44, 31}, {41, 15}, {16, 15}}, s), kEnemySide.main);
  p.fill_polygon(at({{16, 15}, {41, 15}, {40, 18}, {15, 18}}, s), kEnemySide.light);
  p.fill_rect(static_cast<int>(41 * s), static_cast<int>(20 * s), static_cast<int>(23 * s),
              static_cast<int>(4 * s), Color{66, 70, 76});
  p.fill_rect(static_cast<int>(58 * s), static_cast<int>(18.5f * s), static_cast<int>(6 * s),
              static_cast<int>(7 * s), Color{66, 70, 76});
  // The commander in his hatch, and the ace's gold ring beside the cross.
  p.fill_ellipse(22 * s, 12 * s, 4 * s, 3 * s, kEnemySide.dark);
  p.fill_circle(22 * s, 14 * s, 2.2f * s, kSkin);
  p.fill_rect(static_cast<int>(17 * s), static_cast<int>(14 * s), static_cast<int>(10 * s),
              static_cast<int>(2 * s), kInk);
  p.fill_circle(24 * s, 24 * s, 4.2f * s, kGold);
  p.fill_circle(24 * s, 24 * s, 2.6f * s, body);
  draw_cross(p, 34 * s, 36 * s, 4 * s, Color{16, 16, 18}, Color{236, 236, 236});
  p.outline(kInk);
  return p.downsampled(2);
}

// ---- full-screen pictures, drawn at twice the size and reduced -----------------------------

constexpr int kW = 1280;
constexpr int kH = 960;

// A ridge line across the picture from fractal noise.
std::vector<PointF> ridge(float base, float amplitude, float wavelength, int seed, float bottom) {
  std::vector<PointF> pts;
  pts.push_back({0, bottom});
  for (int x = 0; x <= kW; x += 8) {
    float n = 0;
    float amp = 1;
    float freq = 1 / wavelength;
    for (int o = 0; o < 4; ++o) {
      n += (value_noise(x * freq, 0.5f, seed + o) - 0.5f) * amp;
      amp *= 0.5f;
      freq *= 2;
    }
    pts.push_back({static_cast<float>(x), base - n * amplitude * 2});
  }
  pts.push_back({static_cast<float>(kW), bottom});
  return pts;
}

void tank_silhouette(Image& img, float x, float y, float s, Color c, bool facing_right) {
  const float d = facing_right ? 1 : -1;
  img.fill_polygon(
      {{x - 30 * s, y}, {x + 30 * s, y}, {x + 26 * s, y - 14 * s}, {x - 26 * s, y - 14 * s}}, c);
  img.fill_polygon({{x - 28 * s, y - 12 * s},
                    {x + 28 * s, y - 12 * s},
                    {x + 24 * s, y - 24 * s},
                    {x - 26 * s, y - 24 * s}},
                   c);
  img.fill_polygon({{x - 12 * s, y - 24 * s},
                    {x + 12 * s, y - 24 * s},
                    {x + 9 * s, y - 36 * s},
                    {x - 9 * s, y - 36 * s}},
                   c);
  img.line(x + d * 8 * s, y - 31 * s, x + d * 48 * s, y - 34 * s, 4 * s, c);
}

void soldier_silhouette(Image& img, float x, float y, float s, Color c) {
  img.fill_ellipse(x, y - 46 * s, 5 * s, 5 * s, c);
  img.fill_ellipse(x, y - 50 * s, 7 * s, 3.5f * s, c);
  img.fill_polygon({{x - 7 * s, y - 40 * s},
                    {x + 7 * s, y - 40 * s},
                    {x + 6 * s, y - 18 * s},
                    {x - 6 * s, y - 18 * s}},
                   c);
  img.line(x - 3 * s, y - 19 * s, x - 6 * s, y, 4 * s, c);
  img.line(x + 3 * s, y - 19 * s, x + 7 * s, y, 4 * s, c);
  img.line(x - 10 * s, y - 24 * s, x + 14 * s, y - 58 * s, 2.5f * s, c);
}

void stars(Image& img, int y1, int seed) {
  for (int i = 0; i < 260; ++i) {
    const uint32_t h = hash3(i, seed, 77);
    const int x = static_cast<int>(h % kW);
    const int y = static_cast<int>((h >> 11) % static_cast<uint32_t>(y1));
    const float fade = 1.0f - static_cast<float>(y) / y1;
    const uint8_t a = static_cast<uint8_t>(120 + (h >> 24) % 120 * fade);
    img.fill_rect(x, y, (h & 3) == 0 ? 3 : 2, (h & 3) == 0 ? 3 : 2, Color{255, 250, 230, a});
  }
}

void glow(Image& img, float cx, float cy, float r, Color c) {
  for (int y = std::max(0, static_cast<int>(cy - r)); y < std::min(kH, static_cast<int>(cy + r));
       ++y) {
    for (int x = std::max(0, static_cast<int>(cx - r)); x < std::min(kW, static_cast<int>(cx + r));
         ++x) {
      const float d = std::hypot(x - cx, y - cy) / r;
      if (d >= 1) continue;
      Color g = c;
      g.a = static_cast<uint8_t>(c.a * (1 - d) * (1 - d));
      img.blend(x, y, g);
    }
  }
}

void centred_text(Image& img, Lettering& text, const char* s, int points, int y, Color top,
                  Color bottom, Color outline, int radius, int shadow) {
  const Image glyphs = text.render(s, points, true);
  const int x = (kW - glyphs.width()) / 2;
  if (shadow > 0) {
    draw_lettering(img, glyphs, x + shadow, y + shadow, Color{0, 0, 0, 140}, Color{0, 0, 0, 140},
                   Color{0, 0, 0, 140}, radius);
  }
  draw_lettering(img, glyphs, x, y, top, bottom, outline, radius);
}

// A flag flying in the wind from a pole at x, its top at y: the cloth rolls in a wave along its
// length. The player's flag is the swallow-tailed red pennant with the white star.
void waving_pennant(Image& img, float x, float y, float len, float h, float phase) {
  const int n = 40;
  std::vector<PointF> top, bottom;
  for (int i = 0; i <= n; ++i) {
    const float t = static_cast<float>(i) / n;
    const float wave = std::sin(t * 7.0f + phase) * h * 0.14f * t;
    top.push_back({x + t * len, y + wave + t * h * 0.06f});
    bottom.push_back({x + t * len, y + h + wave - t * h * 0.02f});
  }
  std::vector<PointF> cloth = top;
  cloth.push_back({top.back().x - len * 0.22f, (top.back().y + bottom.back().y) / 2});
  for (int i = n; i >= 0; --i) cloth.push_back(bottom[i]);
  img.fill_polygon(cloth, kPlayerSide.main);
  // Shading in the troughs of the wave.
  for (int i = 0; i < n; ++i) {
    const float t = static_cast<float>(i) / n;
    const float shade = std::cos(t * 7.0f + phase);
    if (shade > 0.2f || t > 0.78f) continue;
    img.fill_polygon({top[i], top[i + 1], bottom[i + 1], bottom[i]},
                     Color{90, 10, 12, static_cast<uint8_t>(90 * (0.2f - shade))});
  }
  img.fill_polygon({top[0],
                    top[n * 3 / 4],
                    {top[n * 3 / 4].x, top[n * 3 / 4].y + h * 0.12f},
                    {top[0].x, top[0].y + h * 0.12f}},
                   Color{242, 110, 90, 200});
  const int k = n / 3;
  draw_star(img, top[k].x, (top[k].y + bottom[k].y) / 2, h * 0.3f, kWhite);
}

}  // namespace

const PictureWords kJapaneseWords{"ネヴァルト", 116, "N E V A L T", 36, "作戦会議",
                                  "勝利",       72,  "― 終 ―"};
// The Latin letters of the name stand close in this font: thin spaces (U+2009) give them air.
// The Japanese picture's second line spells the name for those who do not read katakana; the
// English one has nothing to spell.
const PictureWords kEnglishWords{"N\u2009E\u2009V\u2009A\u2009L\u2009T",
                                 116,
                                 "",
                                 0,
                                 "War Council",
                                 "Victory",
                                 72,
                                 "— The End —"};

Image make_window_skin() {
  Image skin(288, 160, Color{0, 0, 0});
  const Image frame = frame_96();
  // top-left, top, top-right, left, interior, right, bottom-left, bottom, bottom-right
  const int cells[9][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
  for (int i = 0; i < 9; ++i)
    skin.copy(frame, cells[i][0] * 32, cells[i][1] * 32, 32, 32, i * 32, 0);
  skin.copy(hq_portrait(kPlayerSide), 0, 0, 64, 64, 0, 32);
  skin.copy(soldier_portrait(kPlayerSide), 0, 0, 64, 64, 64, 32);
  skin.copy(hq_portrait(kEnemySide), 0, 0, 64, 64, 0, 96);
  skin.copy(soldier_portrait(kEnemySide), 0, 0, 64, 64, 64, 96);
  skin.copy(ace_portrait(), 0, 0, 64, 64, 128, 96);
  // Flatten whatever the portraits left see-through onto black.
  Image flat(288, 160, Color{0, 0, 0});
  flat.draw(skin, 0, 0);
  return flat;
}

Image make_title(Lettering& text, const PictureWords& words) {
  Image img(kW, kH);
  // Dusk over the front: night above, the glow of the setting sun on the horizon.
  img.vertical_gradient(0, 430, Color{8, 12, 34}, Color{62, 40, 92});
  img.vertical_gradient(430, 700, Color{62, 40, 92}, Color{236, 122, 54});
  img.vertical_gradient(700, kH, Color{236, 122, 54}, Color{250, 190, 90});
  stars(img, 460, 3);
  glow(img, 640, 690, 420, Color{255, 170, 80, 150});
  img.fill_circle(640, 690, 92, Color{255, 214, 120});
  img.fill_polygon(ridge(610, 70, 260, 10, kH), Color{86, 54, 96});
  img.fill_polygon(ridge(680, 50, 180, 20, kH), Color{52, 32, 62});
  img.fill_polygon(ridge(780, 30, 220, 30, kH), Color{22, 16, 28});
  // A column on the ridge: tanks and infantry against the sky.
  const Color ink{14, 10, 18};
  tank_silhouette(img, 150, 772, 2.0f, ink, true);
  tank_silhouette(img, 340, 790, 1.6f, ink, true);
  soldier_silhouette(img, 450, 792, 1.4f, ink);
  soldier_silhouette(img, 500, 790, 1.3f, ink);
  tank_silhouette(img, 1100, 776, 2.2f, ink, false);
  soldier_silhouette(img, 960, 790, 1.4f, ink);
  img.fill_rect(1200, 560, 6, 220, ink);
  waving_pennant(img, 1206, 562, 70, 42, 0.3f);
  img.fill_rect(0, 800, kW, kH - 800, Color{22, 16, 28});
  img.fill_polygon(ridge(810, 14, 90, 40, kH), Color{16, 12, 20});

  centred_text(img, text, words.title, words.title_points, 120, Color{255, 246, 214},
               Color{240, 156, 44}, Color{40, 12, 8}, 7, 10);
  if (words.subtitle[0] != '\0') {
    centred_text(img, text, words.subtitle, words.subtitle_points, 322, Color{232, 232, 246},
                 Color{176, 184, 214}, Color{20, 14, 30}, 4, 0);
  }
  return img.downsampled(2);
}

// The intermission: the command tent of a field camp at dusk, the staff's map laid out on a
// trestle table in the foreground under a lantern.
Image make_intermission(Lettering& text, const PictureWords& words) {
  Image img(kW, kH);
  img.vertical_gradient(0, 360, Color{16, 20, 54}, Color{78, 52, 104});
  img.vertical_gradient(360, 600, Color{78, 52, 104}, Color{236, 128, 66});
  img.vertical_gradient(600, kH, Color{236, 128, 66}, Color{120, 60, 40});
  stars(img, 300, 5);
  glow(img, 1010, 600, 360, Color{255, 160, 80, 150});
  img.fill_circle(1010, 604, 56, Color{255, 200, 120});
  img.fill_polygon(ridge(560, 40, 240, 11, kH), Color{82, 52, 86});
  img.fill_polygon(ridge(610, 30, 160, 12, kH), Color{52, 34, 58});
  // A wood line and the camp behind the tent: bell tents, a lorry and a radio mast.
  for (int i = 0; i < 60; ++i) {
    const float x = i * 22.0f + (hash3(i, 3, 5) % 12);
    const float h = 26 + (hash3(i, 4, 5) % 30);
    img.fill_polygon({{x - 14, 640}, {x, 640 - h}, {x + 14, 640}}, Color{34, 24, 40});
  }
  img.fill_rect(0, 636, kW, kH - 636, Color{40, 30, 38});
  for (const float tx : {720.0f, 860.0f, 1180.0f}) {
    img.fill_polygon({{tx - 50, 660}, {tx, 600}, {tx + 50, 660}}, Color{70, 66, 52});
    img.fill_polygon({{tx - 50, 660}, {tx, 600}, {tx - 6, 660}}, Color{118, 104, 74});
    img.fill_polygon({{tx - 8, 660}, {tx, 630}, {tx + 8, 660}}, Color{255, 176, 90});
  }
  img.fill_rect(960, 620, 110, 36, Color{30, 30, 28});
  img.fill_rect(1040, 600, 40, 56, Color{30, 30, 28});
  img.fill_circle(985, 660, 11, Color{16, 16, 16});
  img.fill_circle(1050, 660, 11, Color{16, 16, 16});
  img.fill_rect(1120, 380, 4, 280, Color{30, 26, 30});
  img.line(1122, 380, 1060, 650, 1.5f, Color{30, 26, 30});
  img.line(1122, 380, 1200, 650, 1.5f, Color{30, 26, 30});
  img.fill_rect(0, 660, kW, kH - 660, Color{56, 44, 40});
  for (int y = 660; y < kH; ++y) {
    for (int x = 0; x < kW; x += 1) {
      if ((hash3(x, y, 21) & 31) == 0) img.blend(x, y, Color{90, 74, 58, 140});
    }
  }

  // The command tent: a ridge tent in olive canvas, its flap open on a warm lamp-lit inside.
  const Color canvas{118, 110, 76};
  const Color canvas_lit{164, 150, 104};
  const Color canvas_dark{70, 64, 44};
  img.fill_polygon({{60, 740}, {260, 420}, {640, 400}, {760, 700}, {760, 760}, {60, 780}},
                   canvas_dark);
  img.fill_polygon({{60, 760}, {260, 420}, {460, 760}}, canvas);
  img.fill_polygon({{60, 760}, {260, 420}, {250, 760}}, canvas_lit);
  img.fill_polygon({{260, 420}, {640, 400}, {780, 730}, {460, 760}}, canvas);
  img.fill_polygon({{260, 420}, {640, 400}, {660, 450}, {290, 470}}, canvas_lit);
  // Seams of the canvas down the roof.
  for (float t : {0.25f, 0.5f, 0.75f}) {
    img.line(260 + 380 * t, 420 - 20 * t, 460 + 320 * t, 760 - 30 * t, 2, canvas_dark);
  }
  // The open flap and the light inside.
  img.fill_polygon({{150, 760}, {260, 470}, {370, 760}}, Color{255, 180, 96});
  glow(img, 260, 690, 240, Color{255, 170, 80, 110});
  img.fill_polygon({{150, 760}, {260, 470}, {200, 760}}, Color{150, 110, 66});
  img.fill_polygon({{370, 760}, {260, 470}, {320, 760}}, Color{150, 110, 66});
  img.fill_polygon({{200, 760}, {260, 470}, {230, 760}}, Color{92, 74, 50});
  // Guy ropes and pegs.
  for (const auto& r :
       {std::array<float, 4>{260, 420, 20, 820}, {640, 400, 860, 780}, {450, 410, 520, 800}}) {
    img.line(r[0], r[1], r[2], r[3], 2, Color{200, 190, 150, 200});
    img.fill_rect(static_cast<int>(r[2]) - 3, static_cast<int>(r[3]) - 10, 6, 14,
                  Color{80, 60, 40});
  }
  // The flag above the tent.
  img.fill_rect(254, 230, 8, 200, Color{60, 50, 40});
  img.fill_circle(258, 228, 7, kGold);
  waving_pennant(img, 262, 240, 170, 88, 0.6f);

  // The trestle table in the foreground and the map on it.
  const Color wood{120, 80, 48};
  const Color wood_lit{164, 112, 66};
  img.fill_polygon({{300, 760}, {1180, 760}, {1260, 900}, {220, 900}}, wood);
  img.fill_polygon({{300, 760}, {1180, 760}, {1190, 776}, {292, 776}}, wood_lit);
  img.fill_rect(220, 900, 1040, 24, Color{80, 50, 30});
  img.fill_rect(280, 924, 30, 36, Color{70, 44, 26});
  img.fill_rect(1170, 924, 30, 36, Color{70, 44, 26});
  // The sheet: hills and rivers in a quick hand, our red arrows, their blue crosses.
  const std::vector<PointF> sheet{{400, 772}, {1060, 770}, {1110, 890}, {350, 892}};
  img.fill_polygon(sheet, Color{226, 214, 178});
  for (int y = 772; y < 892; ++y) {
    for (int x = 350; x < 1110; ++x) {
      const float h = value_noise(x / 60.0f, y / 30.0f, 61);
      const Color c = img.get(x, y);
      if (!(c == Color{226, 214, 178})) continue;
      if (h < 0.3f) {
        img.set(x, y, Color{150, 186, 204});
      } else if (std::fmod(h * 10, 1.0f) < 0.08f) {
        img.set(x, y, Color{176, 150, 104});
      } else if (h > 0.7f) {
        img.set(x, y, Color{196, 204, 150});
      }
    }
  }
  auto arrow = [&img](float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float len = std::hypot(dx, dy);
    const float ux = dx / len;
    const float uy = dy / len;
    img.line(x0, y0, x1 - ux * 18, y1 - uy * 18, 7, Color{200, 30, 30, 230});
    img.fill_polygon({{x1, y1},
                      {x1 - ux * 24 - uy * 13, y1 - uy * 24 + ux * 13},
                      {x1 - ux * 24 + uy * 13, y1 - uy * 24 - ux * 13}},
                     Color{200, 30, 30, 240});
  };
  arrow(470, 870, 700, 812);
  arrow(520, 800, 760, 790);
  for (const auto& b : {std::array<float, 2>{860, 800}, {920, 846}, {990, 812}}) {
    img.fill_rect(static_cast<int>(b[0]) - 16, static_cast<int>(b[1]) - 10, 32, 20,
                  Color{40, 80, 190});
    draw_cross(img, b[0], b[1], 8, Color{16, 16, 18}, kWhite);
  }
  // Lantern, compass, a mug and a pencil.
  glow(img, 1150, 720, 200, Color{255, 210, 120, 150});
  img.fill_rect(1128, 690, 44, 70, Color{40, 34, 30});
  img.fill_rect(1134, 700, 32, 52, Color{255, 214, 120});
  img.fill_circle(1150, 726, 10, Color{255, 246, 210});
  img.fill_polygon({{1124, 690}, {1176, 690}, {1160, 672}, {1140, 672}}, Color{40, 34, 30});
  img.line(1150, 672, 1150, 656, 3, Color{40, 34, 30});
  img.fill_circle(330, 836, 26, Color{196, 170, 90});
  img.fill_circle(330, 836, 21, Color{236, 230, 210});
  img.fill_polygon({{330, 816}, {336, 836}, {330, 856}, {324, 836}}, Color{200, 30, 30});
  img.fill_polygon({{330, 836}, {336, 836}, {330, 856}, {324, 836}}, Color{40, 40, 44});
  img.fill_rect(1130, 800, 40, 50, Color{160, 170, 150});
  img.fill_ellipse(1150, 800, 20, 6, Color{60, 40, 30});
  img.line(600, 880, 720, 860, 5, Color{236, 190, 60});
  img.line(716, 861, 724, 859, 5, Color{40, 30, 30});

  const Image caption = text.render(words.briefing, 28, true);
  draw_lettering(img, caption, 40, 40, Color{250, 236, 200}, Color{236, 200, 150},
                 Color{30, 16, 20}, 4);
  return img.downsampled(2);
}

// The ending: sunrise over a ruined town, our flag flying from its highest wall.
Image make_ending(Lettering& text, const PictureWords& words) {
  Image img(kW, kH);
  img.vertical_gradient(0, 520, Color{58, 96, 170}, Color{246, 196, 150});
  img.vertical_gradient(520, 700, Color{246, 196, 150}, Color{255, 226, 170});
  img.vertical_gradient(700, kH, Color{255, 226, 170}, Color{200, 150, 110});
  // The sun just above the rooftops, with long rays.
  for (int i = 0; i < 14; ++i) {
    const float a = -3.14159f + i * 3.14159f / 13;
    img.fill_polygon({{840, 650},
                      {840 + std::cos(a - 0.05f) * 1400, 650 + std::sin(a - 0.05f) * 1400},
                      {840 + std::cos(a + 0.05f) * 1400, 650 + std::sin(a + 0.05f) * 1400}},
                     Color{255, 244, 214, 40});
  }
  glow(img, 840, 650, 420, Color{255, 236, 180, 180});
  img.fill_circle(840, 650, 80, Color{255, 248, 220});
  img.fill_polygon(ridge(690, 30, 260, 21, kH), Color{150, 140, 150});

  // The ruins: broken house fronts with empty windows, a church tower without its spire.
  const Color ruin{62, 52, 62};
  const Color ruin_lit{150, 110, 96};
  struct Wall {
    float x, w, h;
  };
  const Wall walls[] = {{20, 150, 300},  {190, 120, 220}, {330, 170, 380},
                        {520, 110, 250}, {960, 140, 330}, {1120, 150, 240}};
  for (const Wall& w : walls) {
    const float base = 800;
    std::vector<PointF> outline{{w.x, base}, {w.x, base - w.h}};
    // A jagged broken top.
    for (int k = 1; k <= 6; ++k) {
      const float t = k / 6.0f;
      const float drop = static_cast<float>(hash3(static_cast<int>(w.x), k, 9) % 90);
      outline.push_back({w.x + w.w * t, base - w.h + drop * (k % 2 == 0 ? 1.0f : 0.4f)});
    }
    outline.push_back({w.x + w.w, base});
    img.fill_polygon(outline, ruin);
    img.fill_rect(static_cast<int>(w.x + w.w) - 8, static_cast<int>(base - w.h * 0.7f), 8,
                  static_cast<int>(w.h * 0.7f), ruin_lit);
    // Windows: the sky shows through.
    for (float wy = base - w.h + 60; wy < base - 50; wy += 70) {
      for (float wx = w.x + 20; wx < w.x + w.w - 30; wx += 44) {
        if (hash3(static_cast<int>(wx), static_cast<int>(wy), 4) % 5 == 0) continue;
        const Color sky = img.get(static_cast<int>(wx), static_cast<int>(wy) - 400);
        img.fill_rect(static_cast<int>(wx), static_cast<int>(wy), 20, 32, mix(sky, ruin, 0.25f));
      }
    }
  }
  // The church tower in the middle, the tallest ruin, which carries the flag.
  img.fill_polygon({{660, 800}, {660, 300}, {700, 280}, {730, 310}, {760, 290}, {760, 800}}, ruin);
  img.fill_rect(748, 320, 12, 480, ruin_lit);
  img.fill_rect(690, 360, 40, 70, Color{250, 214, 160});
  img.fill_polygon({{690, 360}, {710, 340}, {730, 360}}, Color{250, 214, 160});
  img.fill_rect(690, 480, 40, 60, Color{250, 214, 160});
  img.fill_rect(706, 90, 8, 204, Color{44, 36, 36});
  img.fill_circle(710, 88, 8, kGold);
  waving_pennant(img, 714, 100, 250, 130, 1.4f);
  // Smoke drifting from the rubble.
  for (int i = 0; i < 26; ++i) {
    const float t = i / 26.0f;
    glow(img, 470 + t * 260 + std::sin(t * 9) * 30, 700 - t * 420, 60 + t * 60,
         Color{120, 110, 120, static_cast<uint8_t>(70 * (1 - t))});
  }
  // Rubble and the road in front, and soldiers greeting the morning.
  img.fill_polygon(ridge(800, 24, 60, 31, kH), Color{70, 58, 60});
  img.fill_rect(0, 840, kW, kH - 840, Color{60, 50, 52});
  img.fill_polygon({{500, kH}, {620, 840}, {700, 840}, {860, kH}}, Color{110, 94, 84});
  const Color figure{34, 26, 30};
  soldier_silhouette(img, 420, 850, 1.5f, figure);
  soldier_silhouette(img, 480, 846, 1.4f, figure);
  soldier_silhouette(img, 900, 852, 1.5f, figure);
  tank_silhouette(img, 1080, 870, 2.0f, figure, false);

  // The words stand in the open sky left of the tower.
  const Image victory = text.render(words.victory, words.victory_points, true);
  const Image end = text.render(words.the_end, 32, true);
  const int cx = 330;
  draw_lettering(img, victory, cx - victory.width() / 2 + 6, 96, Color{0, 0, 0, 140},
                 Color{0, 0, 0, 140}, Color{0, 0, 0, 140}, 5);
  draw_lettering(img, victory, cx - victory.width() / 2, 90, Color{255, 255, 255},
                 Color{255, 230, 190}, Color{90, 30, 30}, 5);
  draw_lettering(img, end, cx - end.width() / 2, 260, Color{255, 255, 255}, Color{250, 240, 220},
                 Color{60, 40, 50}, 4);
  return img.downsampled(2);
}
