// The window skin with its portraits, and the three full-screen pictures.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "art.h"

namespace {

constexpr Color kRedMain{200, 36, 36};
constexpr Color kRedLight{242, 104, 88};
constexpr Color kRedDark{122, 20, 26};
constexpr Color kBlueMain{44, 90, 212};
constexpr Color kBlueLight{108, 158, 248};
constexpr Color kBlueDark{24, 44, 124};
constexpr Color kSkin{232, 188, 148};
constexpr Color kSkinShade{196, 150, 112};
constexpr Color kInk{22, 18, 20};
constexpr Color kGold{250, 206, 64};

// ---- window skin ---------------------------------------------------------------------------

constexpr Color kInterior{30, 42, 96};

// A 96x96 window, cut into its nine 32x32 pieces afterwards, so the pieces always meet.
Image frame_96() {
  Image f(96, 96);
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      // Faint grain that repeats every cell, so the interior tiles without seams.
      f.set(x, y, jitter(kInterior, 2, hash3(x % 32, y % 32, 40)));
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
  ring(0, Color{8, 10, 22}, Color{8, 10, 22});
  ring(1, Color{214, 222, 244}, Color{96, 106, 146});
  ring(2, Color{170, 180, 214}, Color{120, 130, 170});
  ring(3, Color{150, 160, 200}, Color{110, 120, 160});
  ring(4, Color{10, 14, 36}, Color{10, 14, 36});
  ring(5, Color{46, 60, 124}, Color{24, 34, 80});
  for (const auto& c : {std::array<int, 2>{2, 2}, {93, 2}, {2, 93}, {93, 93}}) {
    f.fill_rect(c[0] - 1, c[1] - 1, 3, 3, kGold);
    f.set(c[0] - 1, c[1] - 1, Color{255, 240, 170});
  }
  return f;
}

// Head and shoulders of a soldier, facing the viewer, for the unit panel.
Image soldier_portrait(Color main, Color light, Color dark, bool coal_scuttle) {
  Image p(64, 64);
  p.vertical_gradient(0, 64, mix(dark, Color{20, 20, 30}, 0.5f), Color{40, 40, 52});
  p.fill_polygon({{6, 64}, {12, 46}, {52, 46}, {58, 64}}, main);
  p.fill_polygon({{12, 46}, {24, 46}, {20, 64}, {8, 64}}, light);
  p.fill_polygon({{26, 46}, {38, 46}, {32, 56}}, dark);
  p.fill_rect(27, 38, 10, 9, kSkinShade);
  p.fill_ellipse(32, 30, 11, 13, kSkin);
  p.fill_rect(25, 30, 4, 2, kInk);
  p.fill_rect(35, 30, 4, 2, kInk);
  p.fill_rect(31, 31, 2, 4, kSkinShade);
  p.fill_rect(29, 37, 6, 1, Color{150, 90, 80});
  if (coal_scuttle) {
    p.fill_ellipse(32, 18, 15, 9, dark);
    p.fill_polygon({{16, 18}, {48, 18}, {52, 27}, {12, 27}}, dark);
    p.fill_ellipse(29, 14, 7, 3, mix(dark, Color{255, 255, 255}, 0.25f));
  } else {
    p.fill_ellipse(32, 19, 14, 9, dark);
    p.fill_rect(17, 21, 30, 3, dark);
    p.fill_ellipse(28, 14, 6, 3, mix(dark, Color{255, 255, 255}, 0.25f));
    p.fill_circle(32, 15, 2.5f, main);
  }
  p.outline(kInk);
  return p;
}

Image hq_portrait(Color main, Color light, Color dark) {
  Image p(64, 64);
  p.vertical_gradient(0, 46, Color{90, 130, 190}, Color{200, 210, 220});
  p.fill_rect(0, 46, 64, 18, Color{90, 130, 64});
  p.fill_rect(8, 28, 44, 26, Color{58, 52, 46});
  p.fill_rect(10, 30, 40, 24, Color{206, 196, 170});
  p.fill_polygon({{4, 30}, {20, 16}, {40, 16}, {56, 30}}, dark);
  p.fill_polygon({{8, 29}, {21, 18}, {39, 18}, {52, 29}}, main);
  p.fill_rect(26, 38, 9, 16, Color{86, 58, 38});
  p.fill_rect(14, 34, 7, 6, Color{60, 84, 118});
  p.fill_rect(40, 34, 7, 6, Color{60, 84, 118});
  p.fill_rect(52, 2, 2, 28, Color{70, 70, 76});
  p.fill_polygon({{54, 3}, {63, 5}, {62, 13}, {54, 12}}, main);
  p.fill_rect(54, 3, 9, 2, light);
  return p;
}

Image ace_portrait() {
  Image p(64, 64);
  p.vertical_gradient(0, 64, Color{30, 24, 40}, Color{70, 50, 40});
  p.fill_rect(0, 54, 64, 10, Color{60, 50, 40});
  const Color body{28, 54, 150};
  p.fill_rect(2, 42, 60, 14, Color{44, 44, 48});
  for (int i = 0; i < 7; ++i) p.fill_circle(7 + i * 8.3f, 49, 3.5f, Color{96, 96, 100});
  p.fill_polygon({{2, 42}, {62, 42}, {58, 30}, {6, 30}}, body);
  p.fill_rect(6, 30, 52, 2, kGold);
  p.fill_polygon({{14, 31}, {44, 31}, {40, 14}, {18, 14}}, kBlueMain);
  p.fill_rect(18, 14, 22, 3, kBlueLight);
  p.fill_rect(40, 19, 24, 5, Color{64, 68, 74});
  p.fill_rect(58, 17, 6, 9, Color{64, 68, 74});
  p.fill_circle(29, 23, 5, kGold);
  p.fill_rect(28, 19, 2, 9, body);
  p.fill_rect(25, 22, 8, 2, body);
  p.outline(kInk);
  return p;
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

}  // namespace

Image make_window_skin() {
  Image skin(288, 160, Color{0, 0, 0});
  const Image frame = frame_96();
  // top-left, top, top-right, left, interior, right, bottom-left, bottom, bottom-right
  const int cells[9][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
  for (int i = 0; i < 9; ++i)
    skin.copy(frame, cells[i][0] * 32, cells[i][1] * 32, 32, 32, i * 32, 0);
  skin.copy(hq_portrait(kRedMain, kRedLight, kRedDark), 0, 0, 64, 64, 0, 32);
  skin.copy(soldier_portrait(kRedMain, kRedLight, kRedDark, false), 0, 0, 64, 64, 64, 32);
  skin.copy(hq_portrait(kBlueMain, kBlueLight, kBlueDark), 0, 0, 64, 64, 0, 96);
  skin.copy(soldier_portrait(kBlueMain, kBlueLight, kBlueDark, true), 0, 0, 64, 64, 64, 96);
  skin.copy(ace_portrait(), 0, 0, 64, 64, 128, 96);
  // Flatten whatever the portraits left see-through onto black.
  Image flat(288, 160, Color{0, 0, 0});
  flat.draw(skin, 0, 0);
  return flat;
}

Image make_title(Lettering& text) {
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
  img.fill_polygon({{1206, 562}, {1290, 578}, {1206, 618}}, Color{190, 30, 30});
  img.fill_rect(0, 800, kW, kH - 800, Color{22, 16, 28});
  img.fill_polygon(ridge(810, 14, 90, 40, kH), Color{16, 12, 20});

  centred_text(img, text, "ネヴァルト", 116, 120, Color{255, 246, 214}, Color{240, 156, 44},
               Color{40, 12, 8}, 7, 10);
  centred_text(img, text, "N E V A L T", 36, 322, Color{232, 232, 246}, Color{176, 184, 214},
               Color{20, 14, 30}, 4, 0);
  return img.downsampled(2);
}

Image make_intermission(Lettering& text) {
  Image img(kW, kH);
  // The campaign map on the staff table.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      float h = 0;
      float amp = 0.5f;
      float f = 1 / 220.0f;
      for (int o = 0; o < 4; ++o) {
        h += value_noise(x * f, y * f, 50 + o) * amp;
        amp *= 0.5f;
        f *= 2;
      }
      Color c;
      if (h < 0.42f) {
        c = mix(Color{40, 70, 110}, Color{70, 110, 150}, h / 0.42f);
      } else {
        c = mix(Color{126, 140, 92}, Color{176, 150, 104}, (h - 0.42f) / 0.4f);
      }
      const float band = h * 18 - std::floor(h * 18);
      if (h >= 0.42f && band < 0.07f) c = scale(c, 0.75f);
      if (h >= 0.42f && h < 0.44f) c = Color{200, 190, 150};
      img.set(x, y, c);
    }
  }
  for (int i = 0; i < kW; i += 80) img.fill_rect(i, 0, 2, kH, Color{20, 30, 30, 70});
  for (int j = 0; j < kH; j += 80) img.fill_rect(0, j, kW, 2, Color{20, 30, 30, 70});
  // Positions and the planned thrusts.
  const float blue[][2] = {{900, 560}, {1010, 700}, {820, 780}, {1120, 500}};
  for (const auto& b : blue) {
    img.fill_rect(static_cast<int>(b[0]) - 26, static_cast<int>(b[1]) - 16, 52, 32, kInk);
    img.fill_rect(static_cast<int>(b[0]) - 22, static_cast<int>(b[1]) - 12, 44, 24, kBlueMain);
    img.line(b[0] - 22, b[1] - 12, b[0] + 22, b[1] + 12, 3, kBlueLight);
    img.line(b[0] - 22, b[1] + 12, b[0] + 22, b[1] - 12, 3, kBlueLight);
  }
  auto arrow = [&img](float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float len = std::hypot(dx, dy);
    const float ux = dx / len;
    const float uy = dy / len;
    img.line(x0, y0, x1 - ux * 40, y1 - uy * 40, 18, Color{200, 36, 36, 220});
    img.fill_polygon({{x1, y1},
                      {x1 - ux * 56 - uy * 30, y1 - uy * 56 + ux * 30},
                      {x1 - ux * 56 + uy * 30, y1 - uy * 56 - ux * 30}},
                     Color{200, 36, 36, 230});
  };
  arrow(220, 840, 760, 640);
  arrow(160, 560, 700, 470);
  arrow(420, 300, 820, 400);
  // A compass rose in the corner.
  img.fill_circle(1160, 840, 70, Color{230, 220, 190, 200});
  img.fill_polygon({{1160, 760}, {1176, 840}, {1160, 920}, {1144, 840}}, kInk);
  img.fill_polygon({{1080, 840}, {1160, 824}, {1240, 840}, {1160, 856}}, Color{90, 80, 70});
  img.fill_polygon({{1160, 760}, {1176, 840}, {1144, 840}}, Color{200, 36, 36});
  const Image n = text.render("N", 20, true);
  draw_lettering(img, n, 1160 - n.width() / 2, 712, kInk, kInk, Color{230, 220, 190}, 3);
  const Image title = text.render("作戦地図", 28, true);
  draw_lettering(img, title, 40, 860, Color{240, 232, 200}, Color{240, 232, 200}, kInk, 4);
  return img.downsampled(2);
}

Image make_ending(Lettering& text) {
  Image img(kW, kH);
  // Dawn after the last battle: the flag on the hill.
  img.vertical_gradient(0, 600, Color{70, 120, 200}, Color{250, 214, 150});
  img.vertical_gradient(600, kH, Color{250, 214, 150}, Color{255, 180, 110});
  glow(img, 880, 640, 360, Color{255, 240, 190, 170});
  img.fill_circle(880, 640, 70, Color{255, 246, 210});
  img.fill_polygon(ridge(640, 40, 240, 60, kH), Color{120, 140, 120});
  img.fill_polygon(ridge(720, 60, 300, 70, kH), Color{70, 120, 60});
  img.fill_polygon(
      {{0, kH}, {0, 820}, {300, 700}, {560, 660}, {760, 720}, {1000, 860}, {kW, 880}, {kW, kH}},
      Color{46, 92, 44});
  img.fill_rect(550, 380, 8, 290, Color{60, 50, 40});
  img.fill_polygon({{558, 384}, {700, 400}, {690, 470}, {558, 468}}, kRedMain);
  img.fill_polygon({{558, 384}, {700, 400}, {698, 414}, {558, 400}}, kRedLight);
  centred_text(img, text, "ネヴァルト", 60, 90, Color{255, 255, 255}, Color{255, 236, 200},
               Color{60, 40, 50}, 5, 6);
  centred_text(img, text, "― 終 ―", 40, 220, Color{255, 255, 255}, Color{250, 240, 220},
               Color{60, 40, 50}, 4, 0);
  return img.downsampled(2);
}
