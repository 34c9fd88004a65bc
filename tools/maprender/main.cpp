// maprender: draws a compiled map file as the game would show it with every cell seen, shrunk so
// the whole 64x64 map fits one picture.
//
//   maprender [--cell N] [--big-units] MAP.fmf TileA.bmp OUT.png
//
// N is the size of a cell in the picture: 4, 8, 16 or 32 pixels (default 8). Each cell shows its
// terrain sprite and the sprite of the unit standing on it; the cells where the enemy's reserves
// will appear show the reserve unit half faded, since it is not there when the stage begins.
// --big-units draws the units twice the size of a cell, centred on it, so that at a small scale
// they stay recognisable (neighbours then overlap a little).
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "world/map_file.h"

namespace {

constexpr int kCells = 64;
constexpr int kSprite = 32;
constexpr int kFull = kCells * kSprite;

struct Rgb {
  int r, g, b;
};

// Sprites drawn for an object code: the unit images of both sides and the two reserve cells.
bool is_unit_code(int code) {
  return (code >= 16 && code <= 26) || (code >= 48 && code <= 59);
}
bool is_reserve_code(int code) {
  return code == kObjectSquadReserve || code == kObjectAceReserve;
}

class Canvas {
 public:
  Canvas() : px_(static_cast<size_t>(kFull) * kFull, Rgb{0, 0, 0}) {}

  // Sprite `index` of the sheet at cell (cx, cy); key-coloured pixels are left alone and the
  // rest is mixed over what lies below by `opacity` (0..1).
  void sprite(SDL_Surface* sheet, int index, int cx, int cy, float opacity) {
    const int sx = (index % 16) * kSprite;
    const int sy = (index / 16) * kSprite;
    for (int y = 0; y < kSprite; ++y) {
      for (int x = 0; x < kSprite; ++x) {
        Uint8 r, g, b;
        const Uint8* p = static_cast<const Uint8*>(sheet->pixels) + (sy + y) * sheet->pitch +
                         (sx + x) * sheet->format->BytesPerPixel;
        Uint32 value = 0;
        std::memcpy(&value, p, sheet->format->BytesPerPixel);
        SDL_GetRGB(value, sheet->format, &r, &g, &b);
        if (r == 255 && g == 0 && b == 255) continue;
        Rgb& d = px_[static_cast<size_t>(cy * kSprite + y) * kFull + cx * kSprite + x];
        d.r = static_cast<int>(d.r + (r - d.r) * opacity);
        d.g = static_cast<int>(d.g + (g - d.g) * opacity);
        d.b = static_cast<int>(d.b + (b - d.b) * opacity);
      }
    }
  }

  // The picture reduced by averaging each block of factor x factor pixels.
  SDL_Surface* reduced(int factor) const {
    const int size = kFull / factor;
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, size, size, 24, SDL_PIXELFORMAT_RGB24);
    if (out == nullptr) return nullptr;
    for (int y = 0; y < size; ++y) {
      Uint8* row = static_cast<Uint8*>(out->pixels) + y * out->pitch;
      for (int x = 0; x < size; ++x) {
        int r = 0, g = 0, b = 0;
        for (int j = 0; j < factor; ++j) {
          for (int i = 0; i < factor; ++i) {
            const Rgb& c = px_[static_cast<size_t>(y * factor + j) * kFull + x * factor + i];
            r += c.r;
            g += c.g;
            b += c.b;
          }
        }
        const int n = factor * factor;
        row[3 * x] = static_cast<Uint8>(r / n);
        row[3 * x + 1] = static_cast<Uint8>(g / n);
        row[3 * x + 2] = static_cast<Uint8>(b / n);
      }
    }
    return out;
  }

 private:
  std::vector<Rgb> px_;
};

// Draws sprite `index` reduced to `size` pixels, centred on (cx, cy) of the picture: a reduced
// pixel is drawn where most of its block is opaque, with their mean colour, mixed by opacity.
void draw_unit(SDL_Surface* out, SDL_Surface* sheet, int index, int size, int cx, int cy,
               float opacity) {
  const int factor = kSprite / size;
  const int sx = (index % 16) * kSprite;
  const int sy = (index / 16) * kSprite;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r = 0, g = 0, b = 0, n = 0;
      for (int j = 0; j < factor; ++j) {
        for (int i = 0; i < factor; ++i) {
          const Uint8* p = static_cast<const Uint8*>(sheet->pixels) +
                           (sy + y * factor + j) * sheet->pitch +
                           (sx + x * factor + i) * sheet->format->BytesPerPixel;
          Uint32 value = 0;
          std::memcpy(&value, p, sheet->format->BytesPerPixel);
          Uint8 pr, pg, pb;
          SDL_GetRGB(value, sheet->format, &pr, &pg, &pb);
          if (pr == 255 && pg == 0 && pb == 255) continue;
          r += pr;
          g += pg;
          b += pb;
          ++n;
        }
      }
      if (2 * n < factor * factor) continue;
      const int px = cx - size / 2 + x;
      const int py = cy - size / 2 + y;
      if (px < 0 || py < 0 || px >= out->w || py >= out->h) continue;
      Uint8* d = static_cast<Uint8*>(out->pixels) + py * out->pitch + 3 * px;
      d[0] = static_cast<Uint8>(d[0] + (r / n - d[0]) * opacity);
      d[1] = static_cast<Uint8>(d[1] + (g / n - d[1]) * opacity);
      d[2] = static_cast<Uint8>(d[2] + (b / n - d[2]) * opacity);
    }
  }
}

int usage() {
  std::fprintf(stderr,
               "usage: maprender [--cell 4|8|16|32] [--big-units] MAP.fmf TileA.bmp OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int cell = 8;
  bool big_units = false;
  int arg = 1;
  while (arg < argc && argv[arg][0] == '-') {
    if (std::strcmp(argv[arg], "--cell") == 0 && arg + 1 < argc) {
      cell = std::atoi(argv[arg + 1]);
      arg += 2;
    } else if (std::strcmp(argv[arg], "--big-units") == 0) {
      big_units = true;
      ++arg;
    } else {
      return usage();
    }
  }
  if (argc - arg != 3 || (cell != 4 && cell != 8 && cell != 16 && cell != 32)) return usage();
  const char* map_path = argv[arg];
  const char* sheet_path = argv[arg + 1];
  const char* out_path = argv[arg + 2];

  std::ifstream in(map_path, std::ios::binary);
  const std::vector<unsigned char> map((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  if (map.size() != static_cast<size_t>(kMapFileBytes)) {
    std::fprintf(stderr, "maprender: %s is no map file (%zu bytes, a map file has %d)\n", map_path,
                 map.size(), kMapFileBytes);
    return 1;
  }
  SDL_Surface* sheet = SDL_LoadBMP(sheet_path);
  if (sheet == nullptr) {
    std::fprintf(stderr, "maprender: cannot read %s: %s\n", sheet_path, SDL_GetError());
    return 1;
  }
  if (sheet->w < 16 * kSprite || sheet->h < 16 * kSprite) {
    std::fprintf(stderr, "maprender: %s is smaller than 512x512\n", sheet_path);
    SDL_FreeSurface(sheet);
    return 1;
  }
  SDL_LockSurface(sheet);

  Canvas canvas;
  for (int y = 0; y < kCells; ++y) {
    for (int x = 0; x < kCells; ++x) {
      const int terrain = map[kTerrainLayerOffset + kCells * y + x];
      if (terrain < 16) canvas.sprite(sheet, terrain, x, y, 1.0f);
      if (big_units) continue;
      const int object = map[kObjectLayerOffset + kCells * y + x];
      if (is_unit_code(object)) canvas.sprite(sheet, object, x, y, 1.0f);
      if (is_reserve_code(object)) canvas.sprite(sheet, object, x, y, 0.5f);
    }
  }
  SDL_Surface* out = canvas.reduced(kSprite / cell);
  if (out != nullptr && big_units) {
    const int size = std::min(2 * cell, kSprite);
    for (int y = 0; y < kCells; ++y) {
      for (int x = 0; x < kCells; ++x) {
        const int object = map[kObjectLayerOffset + kCells * y + x];
        if (!is_unit_code(object) && !is_reserve_code(object)) continue;
        draw_unit(out, sheet, object, size, x * cell + cell / 2, y * cell + cell / 2,
                  is_reserve_code(object) ? 0.6f : 1.0f);
      }
    }
  }
  SDL_UnlockSurface(sheet);
  SDL_FreeSurface(sheet);

  const bool ok = out != nullptr && IMG_SavePNG(out, out_path) == 0;
  if (!ok) std::fprintf(stderr, "maprender: cannot write %s: %s\n", out_path, SDL_GetError());
  SDL_FreeSurface(out);
  return ok ? 0 : 1;
}
