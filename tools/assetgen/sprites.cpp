// The 256 map sprites: terrain 0..11 (fogged copies at +80), player units 16..26 and enemy units
// 48..61 (acted copies at +16). Everything not listed stays the key colour.
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "art.h"

namespace {

constexpr int kS = 32;
constexpr Color kInk{22, 18, 20};
constexpr Color kMetal{64, 68, 74};
constexpr Color kMetalLight{132, 138, 148};
constexpr Color kTrack{44, 44, 48};
constexpr Color kWheel{96, 96, 100};
constexpr Color kSkin{232, 188, 148};
constexpr Color kGold{250, 206, 64};
constexpr Color kSandbag{196, 176, 124};
constexpr Color kSandbagDark{150, 130, 88};

struct Side {
  Color main;
  Color light;
  Color dark;
};

constexpr Side kRed{{200, 36, 36}, {242, 104, 88}, {122, 20, 26}};
constexpr Side kBlue{{44, 90, 212}, {108, 158, 248}, {24, 44, 124}};

// ---- terrain -------------------------------------------------------------------------------

void speckle(Image& t, Color base, int amount, int seed) {
  for (int y = 0; y < kS; ++y) {
    for (int x = 0; x < kS; ++x) t.set(x, y, jitter(base, amount, hash3(x, y, seed)));
  }
}

void grass(Image& t, int seed) {
  speckle(t, Color{108, 166, 70}, 6, seed);
  for (int i = 0; i < 14; ++i) {
    const uint32_t h = hash3(i, seed, 7);
    const int x = static_cast<int>(h % kS);
    const int y = static_cast<int>((h >> 8) % (kS - 1));
    t.set(x, y, Color{136, 194, 88});
    t.set(x, y + 1, Color{84, 136, 54});
  }
}

void terrain_sea(Image& t) {
  for (int y = 0; y < kS; ++y) {
    for (int x = 0; x < kS; ++x) {
      const float n = value_noise(x / 8.0f, y / 8.0f, 11, 4);
      t.set(x, y, jitter(mix(Color{20, 54, 138}, Color{30, 76, 168}, n), 3, hash3(x, y, 1)));
    }
  }
  // Wave crests, placed so that they continue across tile borders.
  const int crest[][2] = {{3, 6}, {19, 4}, {11, 15}, {25, 19}, {5, 26}, {18, 28}};
  for (const auto& c : crest) {
    for (int i = 0; i < 7; ++i) {
      const int dy = (i == 0 || i == 6) ? 1 : (i == 3 ? -1 : 0);
      t.set((c[0] + i) % kS, c[1] + dy, Color{112, 160, 222});
    }
  }
}

void terrain_rock(Image& t) {
  speckle(t, Color{112, 104, 94}, 8, 2);
  const std::vector<std::vector<PointF>> peaks = {
      {{1, 28}, {9, 8}, {17, 28}}, {{12, 30}, {21, 4}, {31, 30}}, {{-2, 33}, {5, 20}, {12, 33}}};
  for (const auto& p : peaks) {
    t.fill_polygon(p, Color{150, 148, 146});
    // Lit left face, shaded right face.
    t.fill_polygon({p[0], p[1], {p[1].x, p[2].y}}, Color{186, 184, 180});
    t.line(p[1].x, p[1].y, p[1].x + 2, p[1].y + 8, 1, Color{92, 90, 96});
    t.line(p[1].x, p[1].y, p[2].x, p[2].y, 1, Color{70, 68, 72});
    t.line(p[0].x, p[0].y, p[1].x, p[1].y, 1, Color{70, 68, 72});
  }
}

void terrain_water(Image& t) {
  for (int y = 0; y < kS; ++y) {
    for (int x = 0; x < kS; ++x) {
      const float n = value_noise(x / 8.0f, y / 8.0f, 31, 4);
      t.set(x, y, mix(Color{58, 132, 204}, Color{80, 158, 220}, n));
    }
  }
  for (const auto& r : {std::array<float, 3>{9, 10, 4}, std::array<float, 3>{23, 22, 5}}) {
    for (int a = 0; a < 40; ++a) {
      const float ang = a * 6.2831853f / 40;
      t.set(static_cast<int>(r[0] + std::cos(ang) * r[2]),
            static_cast<int>(r[1] + std::sin(ang) * r[2] * 0.6f), Color{168, 212, 240});
    }
  }
  t.fill_rect(24, 5, 5, 1, Color{168, 212, 240});
  t.fill_rect(4, 25, 6, 1, Color{168, 212, 240});
}

void terrain_mountain(Image& t) {
  grass(t, 4);
  const std::vector<PointF> hill = {{0, 30}, {16, 3}, {32, 30}};
  t.fill_polygon(hill, Color{136, 100, 62});
  t.fill_polygon({{0, 30}, {16, 3}, {16, 30}}, Color{172, 134, 88});
  t.fill_polygon({{11, 12}, {16, 3}, {21, 12}, {18, 11}, {16, 13}, {13, 11}}, Color{240, 240, 236});
  t.line(16, 3, 32, 30, 1, Color{88, 62, 38});
  t.line(0, 30, 16, 3, 1, Color{88, 62, 38});
  t.fill_rect(0, 30, 32, 2, Color{88, 130, 56});
}

void tree(Image& t, float x, float y, float r) {
  t.fill_rect(static_cast<int>(x) - 1, static_cast<int>(y), 2, static_cast<int>(r) + 2,
              Color{90, 60, 34});
  t.fill_circle(x, y, r + 1, Color{18, 58, 24});
  t.fill_circle(x, y, r, Color{34, 104, 42});
  t.fill_circle(x - r / 3, y - r / 3, r / 2, Color{66, 146, 62});
}

void terrain_forest(Image& t) {
  speckle(t, Color{44, 92, 40}, 5, 5);
  tree(t, 7, 7, 5);
  tree(t, 22, 5, 5);
  tree(t, 15, 16, 6);
  tree(t, 5, 24, 5);
  tree(t, 26, 22, 5);
}

void bush(Image& t, float x, float y) {
  t.fill_ellipse(x, y, 5, 3.5f, Color{30, 84, 34});
  t.fill_ellipse(x - 0.5f, y - 0.5f, 4, 2.8f, Color{56, 132, 52});
  t.set(static_cast<int>(x) - 2, static_cast<int>(y) - 2, Color{96, 172, 80});
}

void terrain_bushes(Image& t) {
  grass(t, 6);
  bush(t, 8, 9);
  bush(t, 23, 13);
  bush(t, 12, 24);
  bush(t, 27, 27);
}

void terrain_sand(Image& t) {
  speckle(t, Color{218, 196, 138}, 6, 7);
  for (int i = 0; i < 30; ++i) {
    const uint32_t h = hash3(i, 7, 9);
    t.set(static_cast<int>(h % kS), static_cast<int>((h >> 8) % kS),
          (h >> 16) & 1 ? Color{186, 162, 104} : Color{240, 224, 178});
  }
  // Wind ripples.
  for (int x = 0; x < kS; ++x) {
    t.set(x, 10 + ((x / 4) % 2), Color{198, 174, 116});
    t.set(x, 24 - ((x / 4) % 2), Color{198, 174, 116});
  }
}

void terrain_plain(Image& t) {
  grass(t, 8);
}

void terrain_road(Image& t) {
  speckle(t, Color{164, 140, 102}, 7, 9);
  for (int i = 0; i < 22; ++i) {
    const uint32_t h = hash3(i, 9, 3);
    const int x = static_cast<int>(h % kS);
    const int y = static_cast<int>((h >> 8) % kS);
    t.set(x, y, Color{126, 108, 80});
    t.set((x + 1) % kS, y, Color{196, 178, 140});
  }
  // Wheel ruts both ways, so neighbouring road cells join whichever way they run.
  for (int i = 0; i < kS; ++i) {
    t.set(i, 11, Color{134, 114, 84});
    t.set(i, 20, Color{134, 114, 84});
    t.set(11, i, Color{134, 114, 84});
    t.set(20, i, Color{134, 114, 84});
  }
}

void sandbag(Image& t, float x, float y) {
  t.fill_ellipse(x, y, 3.2f, 2, kSandbagDark);
  t.fill_ellipse(x - 0.3f, y - 0.4f, 2.6f, 1.4f, kSandbag);
}

void terrain_fort(Image& t) {
  speckle(t, Color{118, 110, 78}, 6, 10);
  t.fill_ellipse(16, 17, 9, 7, Color{64, 56, 40});
  t.fill_ellipse(16, 18, 7, 5, Color{44, 38, 28});
  for (int i = 0; i < 12; ++i) {
    const float a = i * 6.2831853f / 12;
    sandbag(t, 16 + std::cos(a) * 11, 17 + std::sin(a) * 9);
  }
  t.line(4, 30, 28, 30, 1, Color{90, 84, 60});
}

void terrain_building(Image& t) {
  grass(t, 11);
  t.fill_rect(5, 14, 22, 15, Color{58, 50, 44});
  t.fill_rect(6, 15, 20, 13, Color{206, 196, 172});
  t.fill_polygon({{3, 15}, {16, 4}, {29, 15}}, Color{70, 40, 28});
  t.fill_polygon({{5, 14}, {16, 5.5f}, {27, 14}}, Color{142, 82, 52});
  t.fill_rect(9, 18, 4, 4, Color{60, 84, 118});
  t.fill_rect(19, 18, 4, 4, Color{60, 84, 118});
  t.fill_rect(14, 21, 4, 7, Color{96, 62, 38});
  t.fill_rect(21, 6, 3, 5, Color{120, 70, 50});
}

// ---- units ---------------------------------------------------------------------------------

// A standing soldier, feet at (cx, foot), about 8 by 20 pixels.
void soldier(Image& s, const Side& side, float cx, float foot, bool helmet = true) {
  s.fill_rect(static_cast<int>(cx) - 3, static_cast<int>(foot) - 7, 2, 7, side.dark);
  s.fill_rect(static_cast<int>(cx) + 1, static_cast<int>(foot) - 7, 2, 7, side.dark);
  s.fill_rect(static_cast<int>(cx) - 4, static_cast<int>(foot) - 16, 8, 10, side.main);
  s.fill_rect(static_cast<int>(cx) - 4, static_cast<int>(foot) - 16, 2, 10, side.light);
  s.fill_rect(static_cast<int>(cx) - 4, static_cast<int>(foot) - 8, 8, 1, side.dark);
  s.fill_circle(cx, foot - 18.5f, 2.8f, kSkin);
  if (helmet) {
    s.fill_ellipse(cx, foot - 20, 3.8f, 2.2f, side.dark);
    s.fill_rect(static_cast<int>(cx) - 4, static_cast<int>(foot) - 20, 9, 1, side.dark);
  } else {
    s.fill_rect(static_cast<int>(cx) - 3, static_cast<int>(foot) - 22, 6, 2, Color{70, 64, 56});
  }
}

Image unit_scout(const Side& side) {
  Image s(kS, kS);
  soldier(s, side, 14, 29);
  // Binoculars held up, and the radio aerial of a reconnaissance man.
  s.fill_rect(15, 9, 5, 3, kInk);
  s.fill_rect(18, 12, 2, 4, side.main);
  s.line(10, 14, 7, 2, 1, kMetal);
  s.fill_rect(9, 13, 3, 6, Color{96, 92, 70});
  return s;
}

Image unit_assault(const Side& side) {
  Image s(kS, kS);
  soldier(s, side, 9, 27);
  soldier(s, side, 21, 30);
  // Short submachine guns held level.
  s.fill_rect(11, 15, 8, 2, kInk);
  s.fill_rect(15, 17, 2, 3, kInk);
  s.fill_rect(23, 18, 8, 2, kInk);
  s.fill_rect(27, 20, 2, 3, kInk);
  return s;
}

Image unit_rifle(const Side& side) {
  Image s(kS, kS);
  soldier(s, side, 9, 28);
  soldier(s, side, 21, 30);
  // Long rifles slung across the back, muzzles high.
  s.line(4, 22, 15, 4, 1.3f, Color{90, 60, 36});
  s.line(16, 24, 27, 6, 1.3f, Color{90, 60, 36});
  s.line(12, 9, 15, 4, 1.3f, kInk);
  s.line(24, 11, 27, 6, 1.3f, kInk);
  return s;
}

Image unit_volkssturm(const Side& side) {
  Image s(kS, kS);
  soldier(s, side, 13, 30, false);
  // A recoilless launcher over the shoulder with its large warhead to the front.
  s.line(2, 14, 24, 9, 2, Color{96, 98, 70});
  s.fill_ellipse(26, 8.5f, 3.5f, 2.6f, Color{70, 76, 50});
  s.fill_rect(9, 16, 8, 2, Color{230, 230, 230});  // armband
  return s;
}

void tracks(Image& s, int x0, int x1, int top, int bottom) {
  const float r = (bottom - top) / 2.0f;
  s.fill_ellipse(x0 + r, top + r, r, r, kTrack);
  s.fill_ellipse(x1 - r, top + r, r, r, kTrack);
  s.fill_rect(static_cast<int>(x0 + r), top, static_cast<int>(x1 - x0 - 2 * r), bottom - top,
              kTrack);
  for (float x = x0 + r; x <= x1 - r + 0.1f; x += (x1 - x0 - 2 * r) / 5) {
    s.fill_circle(x, top + r, r - 1.2f, kWheel);
    s.set(static_cast<int>(x), static_cast<int>(top + r), kTrack);
  }
}

Image unit_tank(const Side& side) {
  Image s(kS, kS);
  tracks(s, 2, 30, 21, 29);
  s.fill_polygon({{3, 22}, {29, 22}, {27, 15}, {5, 15}}, side.main);
  s.fill_rect(5, 15, 22, 2, side.light);
  s.fill_polygon({{9, 15}, {21, 15}, {19, 9}, {11, 9}}, side.main);
  s.fill_rect(11, 9, 8, 2, side.light);
  s.fill_rect(19, 11, 12, 2, kMetal);
  s.fill_rect(13, 7, 4, 2, side.dark);
  return s;
}

Image unit_spg(const Side& side) {
  Image s(kS, kS);
  tracks(s, 2, 30, 21, 29);
  s.fill_polygon({{3, 22}, {29, 22}, {28, 17}, {4, 17}}, side.main);
  // Open fighting compartment with a heavy gun raised high.
  s.fill_polygon({{6, 17}, {20, 17}, {19, 10}, {8, 10}}, side.dark);
  s.fill_polygon({{7, 16}, {19, 16}, {18, 11}, {9, 11}}, side.main);
  s.fill_rect(9, 11, 9, 1, side.light);
  s.line(15, 13, 30, 3, 3, kMetal);
  s.fill_rect(28, 2, 3, 3, kMetal);
  return s;
}

Image unit_aa(const Side& side) {
  Image s(kS, kS);
  tracks(s, 2, 30, 21, 29);
  s.fill_polygon({{3, 22}, {29, 22}, {27, 16}, {5, 16}}, side.main);
  s.fill_rect(5, 16, 22, 1, side.light);
  // A low turret with two thin barrels pointing at the sky.
  s.fill_polygon({{9, 16}, {23, 16}, {21, 11}, {11, 11}}, side.dark);
  s.fill_rect(12, 12, 9, 3, side.main);
  s.line(13, 12, 19, 1, 1.2f, kMetal);
  s.line(19, 12, 25, 1, 1.2f, kMetal);
  s.fill_rect(18, 1, 2, 2, kMetalLight);
  s.fill_rect(24, 1, 2, 2, kMetalLight);
  return s;
}

Image unit_at_gun(const Side& side) {
  Image s(kS, kS);
  s.line(12, 24, 2, 29, 2, side.dark);
  s.fill_polygon({{11, 12}, {17, 11}, {17, 24}, {11, 24}}, side.main);
  s.fill_rect(11, 12, 2, 12, side.light);
  s.fill_rect(16, 16, 14, 2, kMetal);
  s.fill_rect(28, 15, 3, 4, kMetal);
  s.fill_circle(14, 25, 4.5f, kTrack);
  s.fill_circle(14, 25, 2.5f, kWheel);
  return s;
}

Image unit_artillery(const Side& side) {
  Image s(kS, kS);
  s.line(13, 23, 1, 29, 2.5f, side.dark);
  s.line(10, 21, 31, 6, 3.2f, side.main);
  s.line(10, 20, 31, 5, 1, side.light);
  s.fill_rect(9, 16, 9, 7, side.main);
  s.fill_circle(14, 24, 6, kTrack);
  s.fill_circle(14, 24, 4.5f, kWheel);
  for (int i = 0; i < 4; ++i) {
    const float a = i * 0.785398f;
    s.line(14 - std::cos(a) * 4.5f, 24 - std::sin(a) * 4.5f, 14 + std::cos(a) * 4.5f,
           24 + std::sin(a) * 4.5f, 1, kTrack);
  }
  s.fill_circle(14, 24, 1.5f, kMetal);
  return s;
}

// Aircraft are seen from above, nose to the right.
Image unit_bomber(const Side& side) {
  Image s(kS, kS);
  s.fill_polygon({{13, 1}, {18, 1}, {20, 31}, {14, 31}}, side.main);
  s.fill_rect(14, 1, 2, 30, side.light);
  s.fill_ellipse(16, 16, 14, 2.8f, side.dark);
  s.fill_ellipse(16, 15.5f, 13, 1.8f, side.main);
  s.fill_polygon({{2, 10}, {6, 10}, {7, 22}, {2, 22}}, side.main);
  s.fill_ellipse(21, 8, 3.5f, 1.8f, kMetal);
  s.fill_ellipse(21, 24, 3.5f, 1.8f, kMetal);
  s.fill_rect(24, 5, 1, 6, kMetalLight);
  s.fill_rect(24, 21, 1, 6, kMetalLight);
  s.fill_ellipse(27, 16, 2.5f, 1.5f, Color{170, 220, 240});
  return s;
}

Image unit_fighter(const Side& side) {
  Image s(kS, kS);
  s.fill_polygon({{13, 5}, {17, 6}, {19, 16}, {17, 26}, {13, 27}, {15, 16}}, side.main);
  s.fill_polygon({{13, 5}, {15, 5.5f}, {17, 16}, {15, 16}}, side.light);
  s.fill_ellipse(16, 16, 11, 2, side.dark);
  s.fill_ellipse(16, 15.5f, 10, 1.3f, side.main);
  s.fill_polygon({{5, 12}, {8, 13}, {8, 19}, {5, 20}}, side.main);
  s.fill_ellipse(20, 16, 2, 1.2f, Color{170, 220, 240});
  s.fill_rect(27, 11, 1, 11, kMetalLight);
  return s;
}

void hq_building(Image& s, const Side& side) {
  s.fill_rect(5, 16, 22, 13, Color{60, 54, 48});
  s.fill_rect(6, 17, 20, 11, Color{200, 190, 164});
  s.fill_polygon({{3, 17}, {13, 9}, {23, 9}, {29, 17}}, side.dark);
  s.fill_polygon({{5, 16}, {13.5f, 10}, {22.5f, 10}, {27, 16}}, side.main);
  s.fill_rect(13, 21, 6, 7, Color{70, 50, 36});
  s.fill_rect(8, 19, 3, 3, Color{60, 84, 118});
  s.fill_rect(21, 19, 3, 3, Color{60, 84, 118});
  s.fill_rect(26, 1, 1, 16, kMetal);
  s.fill_rect(27, 1, 5, 4, side.main);
  s.fill_rect(27, 1, 5, 1, side.light);
}

Image unit_hq(const Side& side) {
  Image s(kS, kS);
  hq_building(s, side);
  return s;
}

Image unit_position(const Side& side) {
  Image s(kS, kS);
  // A machine-gun nest: helmets behind a ring of sandbags.
  s.fill_circle(12, 17, 3, kSkin);
  s.fill_ellipse(12, 15.5f, 4, 2.4f, side.dark);
  s.fill_circle(21, 18, 3, kSkin);
  s.fill_ellipse(21, 16.5f, 4, 2.4f, side.dark);
  s.fill_rect(14, 19, 17, 2, kInk);
  s.fill_rect(8, 19, 16, 3, side.main);
  for (int i = 0; i < 5; ++i) sandbag(s, 5 + i * 5.5f, 25);
  for (int i = 0; i < 4; ++i) sandbag(s, 7.5f + i * 5.5f, 28.5f);
  return s;
}

Image unit_ace(const Side& side) {
  Image s(kS, kS);
  tracks(s, 0, 32, 20, 30);
  const Color body{28, 54, 150};
  s.fill_polygon({{1, 21}, {31, 21}, {29, 13}, {3, 13}}, body);
  s.fill_rect(3, 13, 26, 1, kGold);
  s.fill_polygon({{8, 14}, {23, 14}, {21, 5}, {10, 5}}, side.main);
  s.fill_rect(10, 5, 11, 2, side.light);
  s.fill_rect(21, 8, 11, 3, kMetal);
  s.fill_rect(29, 7, 3, 5, kMetal);
  // The ace's gold emblem on the turret.
  s.fill_circle(15.5f, 10, 2.6f, kGold);
  s.fill_rect(15, 8, 1, 5, body);
  s.fill_rect(13, 10, 5, 1, body);
  return s;
}

// Turns a figure into a sprite: outlined, then flattened onto the key colour.
Image finish(Image figure) {
  figure.outline(kInk);
  Image out(kS, kS, key_color());
  for (int y = 0; y < kS; ++y) {
    for (int x = 0; x < kS; ++x) {
      const Color c = figure.get(x, y);
      if (c.a >= 128) out.set(x, y, not_key(Color{c.r, c.g, c.b, 255}));
    }
  }
  return out;
}

Image darkened(const Image& sprite, float factor, Color tint) {
  Image out(kS, kS);
  for (int y = 0; y < kS; ++y) {
    for (int x = 0; x < kS; ++x) {
      const Color c = sprite.get(x, y);
      out.set(x, y, c == key_color() ? c : not_key(mix(scale(c, factor), tint, 0.12f)));
    }
  }
  return out;
}

void place(Image& sheet, int index, const Image& sprite) {
  sheet.copy(sprite, 0, 0, kS, kS, (index % 16) * kS, (index / 16) * kS);
}

}  // namespace

Color key_color() {
  return Color{255, 0, 255, 255};
}

Color not_key(Color c) {
  if (c.r == 255 && c.g == 0 && c.b == 255) c.r = 254;
  return c;
}

Image make_sprite_sheet() {
  Image sheet(16 * kS, 16 * kS, key_color());
  const std::function<void(Image&)> terrain[12] = {[](Image& t) {
                                                     t.fill_rect(0, 0, kS, kS, Color{0, 0, 0});
                                                   },
                                                   terrain_sea,
                                                   terrain_rock,
                                                   terrain_water,
                                                   terrain_mountain,
                                                   terrain_forest,
                                                   terrain_bushes,
                                                   terrain_sand,
                                                   terrain_plain,
                                                   terrain_road,
                                                   terrain_fort,
                                                   terrain_building};
  for (int code = 0; code < 12; ++code) {
    Image t(kS, kS, Color{0, 0, 0});
    terrain[code](t);
    const Image tile = finish(t);
    place(sheet, code, tile);
    // Fog: much darker and a little blue, as seen at night.
    place(sheet, code + 80, darkened(tile, 0.42f, Color{10, 16, 48}));
  }
  // 14 and 15: the two HQs standing on open ground.
  for (int i = 0; i < 2; ++i) {
    Image t(kS, kS);
    terrain_plain(t);
    Image hq(kS, kS);
    hq_building(hq, i == 0 ? kRed : kBlue);
    hq.outline(kInk);
    t.draw(hq, 0, 0);
    place(sheet, 14 + i, finish(t));
  }

  using Maker = Image (*)(const Side&);
  // By sprite index, from the HQ on: the image column of the unit table.
  const Maker player[11] = {unit_hq,    unit_scout,  unit_assault,  unit_tank,
                            unit_spg,   unit_aa,     unit_bomber,   unit_fighter,
                            unit_rifle, unit_at_gun, unit_artillery};
  for (int i = 0; i < 11; ++i) {
    const Image sprite = finish(player[i](kRed));
    place(sheet, 16 + i, sprite);
    place(sheet, 32 + i, darkened(sprite, 0.5f, Color{0, 0, 0}));
  }
  const Maker enemy[14] = {unit_hq,        unit_scout,    unit_assault,    unit_tank,  unit_spg,
                           unit_aa,        unit_bomber,   unit_fighter,    unit_rifle, unit_at_gun,
                           unit_artillery, unit_position, unit_volkssturm, unit_ace};
  for (int i = 0; i < 14; ++i) {
    // The enemy faces the other way.
    const Image sprite = finish(enemy[i](kBlue).mirrored());
    place(sheet, 48 + i, sprite);
    place(sheet, 64 + i, darkened(sprite, 0.5f, Color{0, 0, 0}));
  }
  return sheet;
}
