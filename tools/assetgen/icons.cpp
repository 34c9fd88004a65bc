#include "icons.h"

#include <cstdio>

#include "art.h"

namespace {

constexpr int kSprite = 32;
constexpr int kGroundSprite = 8;  // open ground
constexpr int kTankSprite = 19;   // the player's tank

Color sheet_pixel(const Image& sheet, int sprite, int x, int y) {
  return sheet.get((sprite % 16) * kSprite + x, (sprite / 16) * kSprite + y);
}

}  // namespace

Image icon_picture(const Image& sheet) {
  Image icon(kSprite, kSprite);
  for (int y = 0; y < kSprite; ++y) {
    for (int x = 0; x < kSprite; ++x) {
      const Color tank = sheet_pixel(sheet, kTankSprite, x, y);
      icon.set(x, y, tank == key_color() ? sheet_pixel(sheet, kGroundSprite, x, y) : tank);
    }
  }
  return icon;
}

Image icon_at(const Image& icon, int size) {
  const int factor = size / icon.width();
  Image out(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) out.set(x, y, icon.get(x / factor, y / factor));
  }
  return out;
}

std::string icon_svg(const Image& icon) {
  std::string svg;
  char buf[160];
  std::snprintf(buf, sizeof buf,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                "viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\">\n",
                icon.width(), icon.height());
  svg += buf;
  // One rectangle per run of equal pixels in a row keeps the file small and every edge sharp.
  for (int y = 0; y < icon.height(); ++y) {
    int x = 0;
    while (x < icon.width()) {
      const Color c = icon.get(x, y);
      int run = 1;
      while (x + run < icon.width() && icon.get(x + run, y) == c) ++run;
      std::snprintf(buf, sizeof buf,
                    "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"1\" fill=\"#%02x%02x%02x\"/>\n",
                    x, y, run, c.r, c.g, c.b);
      svg += buf;
      x += run;
    }
  }
  svg += "</svg>\n";
  return svg;
}
