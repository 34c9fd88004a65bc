// The 256 map sprites: terrain 0..11 (fogged copies at +80), player units 16..26 and enemy units
// 48..61 (acted copies at +16). Everything not listed stays the key colour.
//
// The two armies differ in more than colour, so that a player who cannot tell red from blue
// still reads the map: the player's units face right and carry a white star in their upper
// corner, the enemy's face left and carry a black cross; their helmets, tanks, aircraft and flags
// have different shapes too.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "art.h"

namespace {

constexpr int kS = 32;
constexpr Color kInk{22, 18, 20};
constexpr Color kMetal{66, 70, 76};
constexpr Color kMetalLight{136, 142, 150};
constexpr Color kMetalDark{40, 42, 46};
constexpr Color kTrack{46, 46, 50};
constexpr Color kWheel{100, 100, 104};
constexpr Color kSkin{232, 188, 148};
constexpr Color kGold{250, 206, 64};
constexpr Color kWood{112, 78, 44};
constexpr Color kSandbag{196, 176, 124};
constexpr Color kSandbagDark{146, 126, 86};
constexpr Color kGlass{170, 216, 240};

// ---- terrain -------------------------------------------------------------------------------

// Noise that repeats every tile, so that neighbouring cells of one terrain join without seams.
float tile_noise(int x, int y, int seed, int period) {
  const float f = static_cast<float>(period) / kS;
  return value_noise(x * f, y * f, seed, period);
}

float tile_fbm(int x, int y, int seed) {
  return tile_noise(x, y, seed, 2) * 0.5f + tile_noise(x, y, seed + 1, 4) * 0.3f +
         tile_noise(x, y, seed + 2, 8) * 0.2f;
}

// A base texture mixed between two colours by tiling noise, with a little grain.
void ground(Image& t, Color a, Color b, int seed, int grain) {
  for (int y = 0; y < kS; ++y) {
    for (int x = 0; x < kS; ++x) {
      t.set(x, y, jitter(mix(a, b, tile_fbm(x, y, seed)), grain, hash3(x, y, seed)));
    }
  }
}

// Calls draw at (x, y) and at its copies one tile away, so shapes that cross the border continue
// on the neighbour's side.
void wrapped(float x, float y, const std::function<void(float, float)>& draw) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) draw(x + dx * kS, y + dy * kS);
  }
}

void grass(Image& t, int seed) {
  ground(t, Color{92, 150, 60}, Color{126, 182, 80}, seed, 4);
  for (int i = 0; i < 18; ++i) {
    const uint32_t h = hash3(i, seed, 7);
    const int x = static_cast<int>(h % kS);
    const int y = static_cast<int>((h >> 8) % kS);
    t.set(x, y, Color{146, 200, 96});
    t.set(x, (y + 1) % kS, Color{74, 124, 48});
  }
}

void terrain_sea(Image& t) {
  ground(t, Color{20, 50, 128}, Color{34, 78, 166}, 11, 2);
  // Wave crests: short light arcs with a dark trough below, continued across tile borders.
  const int crest[][2] = {{3, 5}, {19, 3}, {11, 14}, {26, 17}, {4, 24}, {18, 27}};
  for (const auto& c : crest) {
    for (int i = 0; i < 8; ++i) {
      const int dy = (i == 0 || i == 7) ? 1 : ((i == 3 || i == 4) ? -1 : 0);
      const int x = (c[0] + i) % kS;
      t.set(x, c[1] + dy, Color{138, 184, 236});
      t.set(x, c[1] + dy + 1, Color{16, 40, 104});
    }
  }
}

void terrain_water(Image& t) {
  ground(t, Color{62, 136, 204}, Color{92, 170, 228}, 31, 2);
  // Ripples and glints on shallow water.
  for (const auto& r : {std::array<float, 3>{9, 10, 5}, std::array<float, 3>{24, 23, 4}}) {
    for (int a = 0; a < 48; ++a) {
      const float ang = a * 6.2831853f / 48;
      if (std::sin(ang) > 0.2f) continue;  // only the upper arc catches the light
      t.set(static_cast<int>(r[0] + std::cos(ang) * r[2]),
            static_cast<int>(r[1] + std::sin(ang) * r[2] * 0.55f), Color{182, 224, 246});
    }
  }
  t.fill_rect(22, 6, 5, 1, Color{200, 232, 250});
  t.fill_rect(4, 27, 6, 1, Color{200, 232, 250});
  t.fill_rect(15, 17, 3, 1, Color{200, 232, 250});
}

void terrain_rock(Image& t) {
  ground(t, Color{84, 80, 78}, Color{112, 106, 100}, 2, 5);
  // Crags across the whole cell, lit from the upper left; they run on into the next cell.
  struct Peak {
    float x, top, half;
  };
  const Peak peaks[] = {{6, 6, 9}, {22, 2, 11}, {14, 16, 8}, {30, 18, 8}, {2, 22, 7}};
  for (const Peak& p : peaks) {
    wrapped(p.x, 0, [&](float px, float oy) {
      if (oy != 0) return;
      const float base = 33;
      t.fill_polygon({{px - p.half, base}, {px, p.top}, {px + p.half, base}}, Color{126, 122, 118});
      t.fill_polygon({{px - p.half, base}, {px, p.top}, {px + 1, base}}, Color{178, 174, 168});
      t.line(px, p.top, px + 3, p.top + 9, 1, Color{96, 92, 92});
      t.line(px - 2, p.top + 8, px - 5, base, 1, Color{140, 136, 132});
      t.line(px, p.top, px + p.half, base, 1, Color{52, 50, 52});
      t.line(px - p.half, base, px, p.top, 1, Color{60, 58, 60});
      t.set(static_cast<int>(px), static_cast<int>(p.top), Color{226, 224, 220});
    });
  }
}

void terrain_mountain(Image& t) {
  grass(t, 4);
  // A green-footed brown hill with a smaller shoulder: passable, unlike the grey crags.
  auto hill = [&t](float cx, float top, float half, float base) {
    t.fill_polygon({{cx - half, base}, {cx, top}, {cx + half, base}}, Color{124, 90, 56});
    t.fill_polygon({{cx - half, base}, {cx, top}, {cx + 1, base}}, Color{170, 130, 84});
    t.line(cx, top, cx + half, base, 1, Color{80, 56, 34});
    t.line(cx - half, base, cx, top, 1, Color{92, 64, 38});
    const float s = half * 0.28f;
    t.fill_polygon({{cx - s, top + s * 1.6f},
                    {cx, top},
                    {cx + s, top + s * 1.6f},
                    {cx + s * 0.4f, top + s * 1.2f},
                    {cx, top + s * 1.7f},
                    {cx - s * 0.5f, top + s * 1.2f}},
                   Color{242, 242, 238});
  };
  hill(23, 9, 11, 29);
  hill(11, 4, 13, 30);
  for (int x = 0; x < kS; ++x) {
    t.set(x, 30, Color{84, 128, 52});
    t.set(x, 31, Color{96, 146, 60});
  }
}

void tree(Image& t, float x, float y, float r) {
  t.fill_circle(x + 1, y + 1.5f, r + 1, Color{16, 46, 20});
  t.fill_circle(x, y, r, Color{36, 100, 42});
  t.fill_circle(x - r * 0.3f, y - r * 0.3f, r * 0.55f, Color{62, 140, 58});
  t.set(static_cast<int>(x - r * 0.45f), static_cast<int>(y - r * 0.5f), Color{106, 180, 88});
}

void fir(Image& t, float x, float y, float h) {
  t.fill_polygon({{x - h * 0.45f + 1, y + h + 1}, {x + 1, y + 1}, {x + h * 0.45f + 1, y + h + 1}},
                 Color{16, 46, 20});
  t.fill_polygon({{x - h * 0.45f, y + h}, {x, y}, {x + h * 0.45f, y + h}}, Color{28, 86, 44});
  t.fill_polygon({{x - h * 0.45f, y + h}, {x, y}, {x, y + h}}, Color{48, 116, 58});
}

void terrain_forest(Image& t) {
  ground(t, Color{30, 70, 32}, Color{44, 92, 40}, 5, 3);
  // Crowns packed edge to edge, drawn back to front; those near a border wrap round, so a wood
  // of many cells reads as one canopy.
  const float crowns[][3] = {{5, 4, 5},  {21, 3, 6},  {13, 11, 6}, {28, 12, 5},
                             {5, 19, 6}, {20, 20, 6}, {12, 27, 5}, {28, 28, 5}};
  for (const auto& c : crowns) {
    wrapped(c[0], c[1], [&](float x, float y) { tree(t, x, y, c[2]); });
  }
  fir(t, 24, 13, 10);
  fir(t, 9, 15, 9);
}

void bush(Image& t, float x, float y, float s) {
  t.fill_ellipse(x + 1, y + 2, 5 * s, 3 * s, Color{52, 94, 38});
  t.fill_circle(x - 2 * s, y, 3 * s, Color{30, 84, 34});
  t.fill_circle(x + 2 * s, y, 3 * s, Color{30, 84, 34});
  t.fill_circle(x, y - 1.5f * s, 3.2f * s, Color{40, 104, 42});
  t.fill_circle(x - 1 * s, y - 2.5f * s, 1.6f * s, Color{90, 166, 74});
}

void terrain_bushes(Image& t) {
  grass(t, 6);
  bush(t, 8, 9, 1.0f);
  bush(t, 24, 7, 0.8f);
  bush(t, 18, 19, 1.1f);
  bush(t, 6, 26, 0.8f);
  bush(t, 27, 27, 0.9f);
}

void terrain_sand(Image& t) {
  ground(t, Color{214, 190, 130}, Color{236, 216, 162}, 7, 4);
  // Wind ripples that meet their neighbours, and a few pebbles.
  for (int x = 0; x < kS; ++x) {
    for (int row : {6, 15, 24}) {
      const int y = row + static_cast<int>(std::lround(1.5 * std::sin(x * 6.2831853 / 16.0)));
      t.set(x, y, Color{190, 164, 104});
      t.set(x, y - 1, Color{246, 232, 190});
    }
  }
  for (int i = 0; i < 8; ++i) {
    const uint32_t h = hash3(i, 7, 9);
    t.set(static_cast<int>(h % kS), static_cast<int>((h >> 8) % kS), Color{150, 132, 100});
  }
}

void terrain_plain(Image& t) {
  grass(t, 8);
  // A few flowers, so open fields are not one flat green.
  t.set(6, 21, Color{250, 236, 120});
  t.set(25, 9, Color{250, 250, 240});
  t.set(17, 28, Color{250, 236, 120});
}

void terrain_road(Image& t) {
  // Packed earth and gravel, the same everywhere so a road of any shape joins up.
  ground(t, Color{150, 128, 98}, Color{176, 154, 118}, 9, 5);
  for (int i = 0; i < 26; ++i) {
    const uint32_t h = hash3(i, 9, 3);
    const int x = static_cast<int>(h % kS);
    const int y = static_cast<int>((h >> 8) % kS);
    t.set(x, y, Color{118, 100, 76});
    t.set((x + 1) % kS, y, Color{206, 190, 156});
  }
}

void sandbag(Image& t, float x, float y) {
  t.fill_ellipse(x, y, 3.2f, 2, kSandbagDark);
  t.fill_ellipse(x - 0.3f, y - 0.4f, 2.6f, 1.4f, kSandbag);
}

void hedgehog(Image& t, float x, float y) {
  t.line(x - 3, y - 3, x + 3, y + 3, 1.4f, Color{60, 60, 66});
  t.line(x - 3, y + 3, x + 3, y - 3, 1.4f, Color{60, 60, 66});
  t.line(x, y - 4, x, y + 2, 1.2f, Color{92, 92, 98});
}

void terrain_fort(Image& t) {
  ground(t, Color{112, 96, 64}, Color{132, 114, 78}, 10, 5);
  // A dug-in pit ringed with sandbags, and steel obstacles in front of it.
  t.fill_ellipse(16, 17, 9, 6.5f, Color{70, 58, 38});
  t.fill_ellipse(16, 18, 7, 4.5f, Color{42, 34, 24});
  for (int i = 0; i < 12; ++i) {
    const float a = i * 6.2831853f / 12;
    sandbag(t, 16 + std::cos(a) * 11, 17 + std::sin(a) * 8);
  }
  hedgehog(t, 4, 4);
  hedgehog(t, 28, 4);
  hedgehog(t, 4, 28);
  hedgehog(t, 28, 28);
}

void terrain_building(Image& t) {
  // A house on a cobbled yard: the tile is mostly built up, so a block of them reads as a town
  // even when the map is seen small.
  ground(t, Color{132, 122, 108}, Color{156, 146, 128}, 12, 4);
  for (int y = 0; y < kS; y += 4) {
    for (int x = (y / 4) % 2 * 3; x < kS; x += 6) t.set(x, y, Color{112, 102, 90});
  }
  // Front wall lit, side wall in shade, a brown tiled roof with a chimney.
  t.fill_rect(3, 14, 19, 15, Color{224, 214, 188});
  t.fill_polygon({{22, 14}, {29, 10}, {29, 25}, {22, 29}}, Color{170, 160, 138});
  t.fill_polygon({{1, 15}, {12.5f, 3}, {24, 15}}, Color{154, 96, 58});
  t.fill_polygon({{12.5f, 3}, {19, 0}, {31, 11}, {24, 15}}, Color{118, 72, 44});
  t.line(1, 15, 12.5f, 3, 1, Color{92, 54, 34});
  t.line(12.5f, 3, 19, 0, 1, Color{92, 54, 34});
  t.line(1, 15, 24, 15, 1, Color{92, 54, 34});
  t.fill_rect(22, 2, 3, 6, Color{126, 80, 62});
  for (int wx : {5, 15}) {
    t.fill_rect(wx, 17, 4, 4, Color{64, 90, 126});
    t.fill_rect(wx, 17, 2, 2, Color{150, 190, 220});
  }
  t.fill_rect(10, 21, 4, 8, Color{98, 62, 38});
  t.fill_rect(24, 17, 2, 3, Color{64, 90, 126});
  t.fill_rect(3, 29, 27, 1, Color{80, 70, 60});
}

// ---- units ---------------------------------------------------------------------------------
//
// Every unit is drawn facing right; the enemy's sprites are mirrored afterwards, so they face
// left and their mark sits in the upper right corner.

// The side's mark in the upper left corner, clear of the figures.
void corner_mark(Image& s, const Side& side) {
  stamp_side_mark(s, side, 1, 1, true);
}

// The small mark on a hull or a wing, centred on (cx, cy).
void body_mark(Image& s, const Side& side, int cx, int cy) {
  stamp_side_mark(s, side, cx - 2, cy - 2, false);
}

// The helmet: a round one for the player, the deep helmet with a flared back for the enemy.
void helmet(Image& s, const Side& side, float cx, float top) {
  if (side.player) {
    s.fill_ellipse(cx, top + 2.2f, 4, 2.8f, side.dark);
    s.fill_rect(static_cast<int>(cx) - 4, static_cast<int>(top) + 3, 9, 1, side.dark);
    s.set(static_cast<int>(cx) - 1, static_cast<int>(top) + 1, side.light);
  } else {
    s.fill_ellipse(cx, top + 2.2f, 4, 2.6f, side.dark);
    // Flared neck guard at the back, short visor at the front.
    s.fill_polygon({{cx - 4.5f, top + 2}, {cx - 1, top + 2}, {cx - 1, top + 5}, {cx - 6, top + 6}},
                   side.dark);
    s.fill_rect(static_cast<int>(cx), static_cast<int>(top) + 3, 5, 1, side.dark);
    s.set(static_cast<int>(cx) - 1, static_cast<int>(top) + 1, side.light);
  }
}

// A standing soldier facing right, feet at (cx, foot): about 9 by 22 pixels.
void soldier(Image& s, const Side& side, float cx, float foot, bool with_helmet = true) {
  const int x = static_cast<int>(cx);
  const int f = static_cast<int>(foot);
  // Legs in stride and boots.
  s.fill_rect(x - 3, f - 8, 3, 7, side.dark);
  s.fill_rect(x + 1, f - 8, 3, 7, side.dark);
  s.fill_rect(x - 3, f - 2, 3, 2, kInk);
  s.fill_rect(x + 1, f - 2, 4, 2, kInk);
  // Tunic, lit on its back, belt.
  s.fill_rect(x - 4, f - 17, 9, 10, side.main);
  s.fill_rect(x - 4, f - 17, 2, 10, side.light);
  s.fill_rect(x - 4, f - 10, 9, 1, kInk);
  s.set(x, f - 10, kGold);
  // Head.
  s.fill_circle(cx + 0.5f, foot - 19.5f, 2.8f, kSkin);
  s.set(x + 2, f - 20, kInk);
  if (with_helmet) helmet(s, side, cx + 0.5f, foot - 24);
}

// A kneeling soldier facing right, knee at (cx, ground).
void kneeling(Image& s, const Side& side, float cx, float ground) {
  const int x = static_cast<int>(cx);
  const int g = static_cast<int>(ground);
  s.fill_rect(x - 4, g - 4, 9, 4, side.dark);  // thighs and shin
  s.fill_rect(x - 5, g - 2, 3, 2, kInk);
  s.fill_rect(x - 3, g - 13, 8, 9, side.main);
  s.fill_rect(x - 3, g - 13, 2, 9, side.light);
  s.fill_rect(x - 3, g - 6, 8, 1, kInk);
  s.fill_circle(cx + 1.5f, ground - 15.5f, 2.8f, kSkin);
  helmet(s, side, cx + 1.5f, ground - 20);
}

Image unit_scout(const Side& side) {
  Image s(kS, kS);
  soldier(s, side, 16, 30, false);
  // A field cap, binoculars at the eyes, a radio pack with its aerial.
  if (side.player) {
    s.fill_polygon({{12, 8}, {20, 8}, {19, 5}, {13, 6}}, side.dark);
    s.set(16, 6, Color{250, 250, 250});
  } else {
    s.fill_polygon({{12, 8}, {21, 8}, {21, 7}, {19, 4}, {13, 5}}, side.dark);
    s.fill_rect(19, 8, 3, 1, kInk);
  }
  s.fill_rect(18, 9, 5, 3, kInk);
  s.fill_rect(21, 9, 2, 2, kMetalLight);
  s.fill_rect(18, 12, 2, 4, side.main);
  s.fill_rect(9, 14, 4, 7, Color{92, 90, 68});
  s.line(11, 14, 9, 3, 1, kMetal);
  s.set(9, 3, kMetalLight);
  corner_mark(s, side);
  return s;
}

void smg(Image& s, const Side& side, float x, float y) {
  s.fill_rect(static_cast<int>(x), static_cast<int>(y), 9, 2, kInk);
  s.fill_rect(static_cast<int>(x) - 2, static_cast<int>(y) + 1, 3, 2, kWood);
  if (side.player) {
    s.fill_circle(x + 4, y + 3.5f, 2.2f, kMetalDark);  // the drum magazine
  } else {
    s.fill_rect(static_cast<int>(x) + 3, static_cast<int>(y) + 2, 2, 5, kMetalDark);
  }
}

// A soldier at a run facing right, leaning into it, hips at (hx, hy): the back leg pushing off,
// the front one reaching, about 13 by 24 pixels.
void runner(Image& s, const Side& side, float hx, float hy) {
  s.line(hx - 1, hy, hx - 6, hy + 7, 3, side.dark);
  s.fill_rect(static_cast<int>(hx) - 9, static_cast<int>(hy) + 6, 4, 2, kInk);
  s.line(hx + 1, hy, hx + 5, hy + 4, 3, side.dark);
  s.line(hx + 5, hy + 4, hx + 5, hy + 8, 3, side.dark);
  s.fill_rect(static_cast<int>(hx) + 4, static_cast<int>(hy) + 8, 4, 2, kInk);
  s.fill_polygon({{hx - 3, hy + 1}, {hx + 3, hy + 1}, {hx + 6, hy - 9}, {hx, hy - 10}}, side.main);
  s.line(hx - 2, hy, hx + 1, hy - 9, 1.5f, side.light);
  s.line(hx - 3, hy - 1, hx + 3, hy - 1, 1, kInk);
  s.fill_circle(hx + 4.5f, hy - 12, 2.6f, kSkin);
  helmet(s, side, hx + 4.5f, hy - 16.5f);
}

// A man lying flat facing right and aiming, his helmet at (hx, hy): a long, low shape.
void prone(Image& s, const Side& side, float hx, float hy) {
  s.fill_rect(static_cast<int>(hx) - 21, static_cast<int>(hy) + 1, 8, 3, side.dark);  // legs
  s.fill_rect(static_cast<int>(hx) - 23, static_cast<int>(hy) + 2, 3, 2, kInk);
  s.fill_rect(static_cast<int>(hx) - 14, static_cast<int>(hy), 12, 4, side.main);
  s.fill_rect(static_cast<int>(hx) - 14, static_cast<int>(hy), 12, 1, side.light);
  s.fill_circle(hx, hy + 1.5f, 2.4f, kSkin);
  helmet(s, side, hx - 0.5f, hy - 3.5f);
}

// Assault troops charge: two men at a run with their submachine guns, the one behind raising
// a stick grenade to throw. Tall and slanting, unlike the riflemen who lie and kneel.
Image unit_assault(const Side& side) {
  Image s(kS, kS);
  runner(s, side, 10, 21);
  s.line(13, 13, 15, 5, 1.6f, side.main);  // the throwing arm
  s.line(15, 5, 16, 1, 1.4f, kWood);
  s.fill_rect(15, 0, 3, 3, kMetalDark);
  runner(s, side, 22, 20);
  smg(s, side, 23, 14);
  corner_mark(s, side);
  return s;
}

// Riflemen hold a line: one kneels and aims, one lies in front along the ground, both rifles
// long and level.
Image unit_rifle(const Side& side) {
  Image s(kS, kS);
  kneeling(s, side, 14, 23);
  s.line(13, 13, 31, 12, 1.4f, kWood);
  s.line(24, 12.5f, 31, 12, 1.2f, kInk);
  s.fill_rect(15, 13, 3, 2, kSkin);
  prone(s, side, 25, 25);
  s.line(21, 27, 31, 26, 1.4f, kWood);
  s.line(27, 26.5f, 31, 26, 1.2f, kInk);
  corner_mark(s, side);
  return s;
}

Image unit_volkssturm(const Side& side) {
  Image s(kS, kS);
  // A militiaman striding in a long greatcoat and a cloth cap, the launcher levelled under his
  // arm: wide at the foot and across the middle, where a scout is narrow.
  const Color coat = mix(side.main, Color{90, 90, 96}, 0.45f);
  s.fill_rect(8, 27, 4, 3, kInk);
  s.fill_rect(21, 27, 4, 3, kInk);
  s.fill_polygon({{8, 28}, {25, 28}, {20, 11}, {13, 11}}, coat);
  s.fill_rect(13, 11, 2, 16, mix(coat, Color{255, 255, 255}, 0.25f));
  s.fill_rect(12, 14, 9, 3, Color{236, 236, 230});  // the armband
  s.fill_rect(15, 14, 2, 3, kInk);
  s.fill_circle(17, 8, 3, kSkin);
  s.fill_polygon({{13, 6}, {22, 6}, {21, 4}, {14, 3}}, Color{70, 66, 62});
  s.line(3, 21, 24, 17, 2.4f, Color{96, 98, 70});
  s.fill_ellipse(27.5f, 16.5f, 3.8f, 3, Color{70, 76, 50});
  s.set(28, 15, Color{130, 136, 100});
  corner_mark(s, side);
  return s;
}

void tracks(Image& s, int x0, int x1, int top, int bottom, int wheels) {
  const float r = (bottom - top) / 2.0f;
  s.fill_ellipse(x0 + r, top + r, r, r, kTrack);
  s.fill_ellipse(x1 - r, top + r, r, r, kTrack);
  s.fill_rect(static_cast<int>(x0 + r), top, static_cast<int>(x1 - x0 - 2 * r), bottom - top,
              kTrack);
  const float step = (x1 - x0 - 2 * r) / (wheels - 1);
  for (int i = 0; i < wheels; ++i) {
    const float x = x0 + r + i * step;
    s.fill_circle(x, top + r, r - 1.2f, kWheel);
    s.set(static_cast<int>(x), static_cast<int>(top + r), kTrack);
  }
}

// The player's tank has a sloped hull, a rounded turret and a long gun; the enemy's a boxy hull
// with skirt plates, a square turret and a gun with a muzzle brake.
Image unit_tank(const Side& side) {
  Image s(kS, kS);
  if (side.player) {
    tracks(s, 2, 30, 21, 29, 5);
    s.fill_polygon({{2, 22}, {30, 22}, {26, 15}, {6, 15}}, side.main);
    s.fill_rect(6, 15, 20, 2, side.light);
    s.fill_ellipse(14, 13, 7, 4.5f, side.main);
    s.fill_ellipse(13, 11.5f, 5, 2.2f, side.light);
    s.fill_rect(19, 11, 13, 2, kMetal);
    body_mark(s, side, 13, 18);
  } else {
    tracks(s, 2, 30, 22, 29, 7);
    s.fill_rect(3, 14, 27, 8, side.main);
    s.fill_rect(3, 14, 27, 2, side.light);
    s.fill_rect(2, 19, 29, 6, side.dark);  // skirts over the tracks
    s.fill_rect(9, 7, 12, 7, side.main);
    s.fill_rect(9, 7, 12, 2, side.light);
    s.fill_rect(21, 9, 9, 2, kMetal);
    s.fill_rect(29, 8, 2, 4, kMetal);
    body_mark(s, side, 15, 22);
  }
  corner_mark(s, side);
  return s;
}

// Self-propelled guns ride low, with the gun raised steeply over the front: a long diagonal
// where a tank has a turret and a level gun. The player's fights behind a small shield, the
// enemy's from a low open box with a muzzle brake on its howitzer.
Image unit_spg(const Side& side) {
  Image s(kS, kS);
  tracks(s, 2, 30, 22, 29, side.player ? 5 : 6);
  s.fill_polygon({{2, 23}, {30, 23}, {28, 18}, {4, 18}}, side.main);
  s.fill_rect(4, 18, 24, 1, side.light);
  if (side.player) {
    s.fill_rect(4, 15, 9, 4, side.dark);
    s.line(10, 17, 30, 3, 3, kMetal);
    s.line(10, 16, 29, 3, 1, kMetalLight);
    s.line(10, 17, 18, 11.5f, 4.5f, kMetalDark);  // the recoil cylinders under the barrel
    s.fill_circle(10, 16, 3, kMetalDark);
    body_mark(s, side, 24, 20);
  } else {
    s.fill_rect(3, 12, 14, 7, side.dark);
    s.fill_rect(4, 13, 12, 5, side.main);
    s.fill_rect(4, 13, 12, 1, side.light);
    s.line(12, 15, 28, 5, 3.4f, kMetal);
    s.fill_rect(27, 2, 4, 6, kMetal);
    body_mark(s, side, 22, 20);
  }
  corner_mark(s, side);
  return s;
}

// A road wheel of a soft-skinned vehicle, which shows the ground between its wheels.
void wheel(Image& s, float cx, float cy, float r) {
  s.fill_circle(cx, cy, r, kTrack);
  s.fill_circle(cx, cy, r - 1.6f, kWheel);
  s.fill_circle(cx, cy, 0.9f, kMetalDark);
}

// Anti-aircraft guns ride on wheels, their barrels standing straight up: the player's a lorry
// with a twin gun on its bed, the enemy's a half-track with a shielded four-barrelled mount.
Image unit_aa(const Side& side) {
  Image s(kS, kS);
  if (side.player) {
    s.fill_rect(2, 19, 21, 3, side.dark);
    s.fill_rect(2, 15, 20, 4, side.main);
    s.fill_rect(2, 15, 20, 1, side.light);
    s.fill_polygon({{21, 23}, {31, 23}, {31, 16}, {28, 10}, {21, 10}}, side.main);
    s.fill_rect(21, 10, 7, 1, side.light);
    s.fill_rect(23, 12, 4, 4, kGlass);
    wheel(s, 6, 26, 3.6f);
    wheel(s, 14, 26, 3.6f);
    wheel(s, 26, 26, 3.6f);
    s.fill_rect(9, 10, 8, 5, kMetalDark);
    s.line(11, 12, 12, 0, 1.5f, kMetal);
    s.line(15, 12, 16, 0, 1.5f, kMetal);
    s.fill_rect(11, 0, 2, 2, kMetalLight);
    s.fill_rect(15, 0, 2, 2, kMetalLight);
    body_mark(s, side, 26, 20);
  } else {
    tracks(s, 2, 19, 22, 29, 4);
    s.fill_polygon({{2, 23}, {30, 23}, {30, 18}, {24, 15}, {2, 16}}, side.main);
    s.fill_rect(2, 16, 22, 1, side.light);
    wheel(s, 26, 26, 3.6f);
    s.fill_rect(8, 9, 11, 7, side.dark);
    s.fill_rect(9, 10, 9, 5, side.main);
    for (int i = 0; i < 4; ++i) {
      const float o = static_cast<float>(i) * 2.2f;
      s.line(10 + o, 10, 12 + o, 0, 1.1f, kMetal);
    }
    body_mark(s, side, 14, 20);
  }
  corner_mark(s, side);
  return s;
}

Image unit_at_gun(const Side& side) {
  Image s(kS, kS);
  // A low gun behind an angled shield, its trail on the ground, a gunner crouched behind it.
  s.line(13, 24, 3, 29, 2, side.dark);
  s.line(13, 24, 6, 30, 2, side.dark);
  kneeling(s, side, 8, 28);
  s.fill_polygon({{13, 11}, {19, 9}, {19, 24}, {13, 24}}, side.main);
  s.fill_rect(13, 11, 2, 13, side.light);
  s.fill_rect(18, 15, 12, 2, kMetal);
  s.fill_rect(28, 14, 3, 4, kMetal);
  s.fill_circle(16, 25, 4.5f, kTrack);
  s.fill_circle(16, 25, 2.5f, kWheel);
  corner_mark(s, side);
  return s;
}

Image unit_artillery(const Side& side) {
  Image s(kS, kS);
  s.line(13, 23, 2, 30, 2.5f, side.dark);
  s.line(10, 21, 31, 7, 3.4f, side.main);
  s.line(10, 20, 31, 6, 1, side.light);
  s.fill_rect(28, 5, 3, 4, kMetal);
  s.fill_rect(9, 15, 10, 8, side.main);
  s.fill_rect(9, 15, 10, 2, side.light);
  s.fill_circle(14, 24, 6, kTrack);
  s.fill_circle(14, 24, 4.5f, kWheel);
  for (int i = 0; i < 4; ++i) {
    const float a = i * 0.785398f;
    s.line(14 - std::cos(a) * 4.5f, 24 - std::sin(a) * 4.5f, 14 + std::cos(a) * 4.5f,
           24 + std::sin(a) * 4.5f, 1, kTrack);
  }
  s.fill_circle(14, 24, 1.5f, kMetal);
  corner_mark(s, side);
  return s;
}

// Aircraft are seen from above, nose to the right. The player's bomber is a single-engined
// ground-attack plane; the enemy's a slim twin-engined bomber with a twin tail.
Image unit_bomber(const Side& side) {
  Image s(kS, kS);
  if (side.player) {
    s.fill_polygon({{12, 2}, {18, 2}, {20, 30}, {13, 30}}, side.main);
    s.fill_rect(13, 2, 2, 28, side.light);
    s.fill_ellipse(17, 16, 14, 3, side.dark);
    s.fill_ellipse(17, 15.5f, 13, 2, side.main);
    s.fill_polygon({{3, 11}, {7, 11}, {8, 21}, {3, 21}}, side.main);
    s.fill_ellipse(29, 16, 2, 2.5f, kMetal);
    s.fill_rect(31, 11, 1, 10, kMetalLight);
    s.fill_ellipse(21, 16, 2.5f, 1.3f, kGlass);
    body_mark(s, side, 16, 7);
    body_mark(s, side, 16, 25);
  } else {
    s.fill_polygon({{13, 1}, {17, 1}, {18, 31}, {14, 31}}, side.main);
    s.fill_rect(14, 1, 1, 30, side.light);
    s.fill_ellipse(17, 16, 14, 2.2f, side.dark);
    s.fill_ellipse(17, 15.7f, 13, 1.4f, side.main);
    s.fill_rect(2, 10, 5, 12, side.main);  // twin fins on the tailplane
    s.fill_rect(2, 9, 3, 3, side.dark);
    s.fill_rect(2, 20, 3, 3, side.dark);
    s.fill_ellipse(20, 8, 4, 1.8f, kMetal);
    s.fill_ellipse(20, 24, 4, 1.8f, kMetal);
    s.fill_rect(24, 5, 1, 6, kMetalLight);
    s.fill_rect(24, 21, 1, 6, kMetalLight);
    s.fill_ellipse(29, 16, 2.5f, 1.5f, kGlass);
    body_mark(s, side, 16, 5);
    body_mark(s, side, 16, 27);
  }
  corner_mark(s, side);
  return s;
}

// The player's fighter has rounded wing tips, the enemy's square-cut ones.
Image unit_fighter(const Side& side) {
  Image s(kS, kS);
  s.fill_polygon({{14, 6}, {18, 7}, {20, 16}, {18, 25}, {14, 26}, {16, 16}}, side.main);
  if (side.player) {
    s.fill_ellipse(17, 7.5f, 2.5f, 2, side.main);
    s.fill_ellipse(17, 24.5f, 2.5f, 2, side.main);
  } else {
    s.fill_rect(13, 5, 5, 2, side.main);
    s.fill_rect(13, 25, 5, 2, side.main);
  }
  s.fill_polygon({{14, 6}, {16, 6.5f}, {18, 16}, {16, 16}}, side.light);
  s.fill_ellipse(17, 16, 12, 2, side.dark);
  s.fill_ellipse(17, 15.5f, 11, 1.3f, side.main);
  s.fill_polygon({{6, 12}, {9, 13}, {9, 19}, {6, 20}}, side.main);
  s.fill_ellipse(22, 16, 2, 1.2f, kGlass);
  s.fill_rect(29, 11, 1, 11, kMetalLight);
  if (side.player) {
    body_mark(s, side, 17, 10);
    body_mark(s, side, 17, 22);
  } else {
    body_mark(s, side, 16, 10);
    body_mark(s, side, 16, 22);
  }
  corner_mark(s, side);
  return s;
}

// The command post: a pitched red roof under the pennant for the player, a flat-roofed blue
// blockhouse under the square flag for the enemy.
void hq_building(Image& s, const Side& side) {
  if (side.player) {
    s.fill_rect(4, 17, 22, 12, Color{64, 56, 50});
    s.fill_rect(5, 18, 20, 10, Color{204, 190, 160});
    s.fill_polygon({{2, 18}, {13, 8}, {15, 8}, {28, 18}}, side.dark);
    s.fill_polygon({{4, 17}, {13.5f, 9}, {14.5f, 9}, {26, 17}}, side.main);
    s.fill_polygon({{4, 17}, {13.5f, 9}, {14, 17}}, side.light);
    s.fill_rect(12, 21, 6, 7, Color{86, 56, 36});
    s.fill_rect(7, 20, 3, 3, Color{64, 90, 126});
    s.fill_rect(20, 20, 3, 3, Color{64, 90, 126});
  } else {
    s.fill_rect(3, 13, 25, 16, Color{60, 62, 68});
    s.fill_rect(4, 14, 23, 14, Color{160, 164, 170});
    s.fill_rect(2, 10, 27, 5, side.dark);
    s.fill_rect(3, 11, 25, 3, side.main);
    s.fill_rect(3, 11, 25, 1, side.light);
    s.fill_rect(7, 18, 5, 2, kInk);  // firing slits
    s.fill_rect(19, 18, 5, 2, kInk);
    s.fill_rect(13, 21, 5, 7, Color{70, 72, 78});
  }
  s.fill_rect(20, 1, 1, 12, kMetal);
  draw_side_flag(s, side, 21, 1, 7);
}

Image unit_hq(const Side& side) {
  Image s(kS, kS);
  hq_building(s, side);
  return s;
}

Image unit_position(const Side& side) {
  Image s(kS, kS);
  // A concrete pillbox dug in low and wide, a machine gun in its slit, sandbags along its foot.
  s.fill_ellipse(16, 26, 15, 5.5f, Color{92, 94, 98});
  s.fill_ellipse(15, 24.5f, 12, 5, Color{150, 152, 156});
  s.fill_ellipse(12, 22.5f, 7, 2.5f, Color{180, 182, 186});
  s.fill_rect(8, 25, 14, 2, kInk);
  s.fill_rect(20, 25, 11, 2, kMetal);
  s.fill_rect(29, 24, 2, 4, kMetal);
  s.fill_ellipse(13, 25.5f, 3, 1, side.dark);
  for (int i = 0; i < 4; ++i) sandbag(s, 4.0f + 7.5f * static_cast<float>(i), 29.5f);
  s.fill_rect(3, 30, 26, 1, side.main);  // the garrison's camouflage net
  corner_mark(s, side);
  return s;
}

Image unit_ace(const Side& side) {
  Image s(kS, kS);
  // A heavy tank that fills its cell, its great turret standing high over a long hull; gold trim.
  tracks(s, 0, 32, 22, 31, 9);
  const Color body{30, 52, 142};
  s.fill_rect(0, 21, 32, 5, side.dark);
  s.fill_polygon({{0, 22}, {32, 22}, {31, 14}, {1, 15}}, body);
  s.fill_rect(1, 14, 30, 1, kGold);
  s.fill_polygon({{10, 15}, {26, 15}, {26, 5}, {22, 2}, {11, 3}}, side.main);
  s.fill_rect(11, 3, 11, 2, side.light);
  s.fill_rect(25, 7, 7, 3, kMetal);
  s.fill_rect(29, 6, 3, 5, kMetal);
  s.fill_circle(17, 9, 2.6f, kGold);
  s.fill_circle(17, 9, 1.4f, body);
  body_mark(s, side, 8, 18);
  corner_mark(s, side);
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
    place(sheet, code + 80, darkened(tile, 0.48f, Color{10, 16, 48}));
  }
  // 14 and 15: the two HQs standing on open ground.
  for (int i = 0; i < 2; ++i) {
    const Side& side = i == 0 ? kPlayerSide : kEnemySide;
    Image t(kS, kS);
    terrain_plain(t);
    Image hq(kS, kS);
    hq_building(hq, side);
    hq.outline(kInk);
    t.draw(side.player ? hq : hq.mirrored(), 0, 0);
    place(sheet, 14 + i, finish(t));
  }

  using Maker = Image (*)(const Side&);
  // By sprite index, from the HQ on: the image column of the unit table.
  const Maker player[11] = {unit_hq,    unit_scout,  unit_assault,  unit_tank,
                            unit_spg,   unit_aa,     unit_bomber,   unit_fighter,
                            unit_rifle, unit_at_gun, unit_artillery};
  for (int i = 0; i < 11; ++i) {
    const Image sprite = finish(player[i](kPlayerSide));
    place(sheet, 16 + i, sprite);
    place(sheet, 32 + i, darkened(sprite, 0.5f, Color{0, 0, 0}));
  }
  const Maker enemy[14] = {unit_hq,        unit_scout,    unit_assault,    unit_tank,  unit_spg,
                           unit_aa,        unit_bomber,   unit_fighter,    unit_rifle, unit_at_gun,
                           unit_artillery, unit_position, unit_volkssturm, unit_ace};
  for (int i = 0; i < 14; ++i) {
    // The enemy faces the other way.
    const Image sprite = finish(enemy[i](kEnemySide).mirrored());
    place(sheet, 48 + i, sprite);
    place(sheet, 64 + i, darkened(sprite, 0.5f, Color{0, 0, 0}));
  }
  return sheet;
}
