#include "ui/surface.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/bmp_check.h"
#include "ui/font_lookup.h"

// The sprite sheet as a BMP file, written by the asset generator and compiled in.
extern const unsigned char kSpriteSheetBmp[];
extern const std::size_t kSpriteSheetBmpSize;

namespace {

// Every picture is kept in one pixel layout, so copies between them are plain row copies and
// the host can hand img_main to the screen as it is.
constexpr Uint32 kPictureFormat = SDL_PIXELFORMAT_XRGB8888;

// The sizes every screen uses. Others are opened on first use into the spare slots.
constexpr int kCommonSizes[] = {10, 12, 16, 20, 64};
constexpr int kFontSlots = 16;

// Rendered texts kept for the next pass: screens write the same texts pass after pass, and
// rendering one costs far more than copying it. Sets of a few entries, chosen by a hash of the
// text, its font and its colour; a full set gives up its least recently drawn entry. Texts
// longer than an entry holds are rendered every time.
constexpr int kTextSets = 128;
constexpr int kTextWays = 4;
constexpr int kTextBytes = 120;

struct CachedText {
  uint64_t hash = 0;
  TTF_Font* font = nullptr;
  Rgb color;
  char text[kTextBytes] = {};
  SDL_Surface* glyphs = nullptr;  // owned; nullptr: the entry is free
  uint64_t last_used = 0;
};

}  // namespace

struct FontCache {
  FontFile file;
  int sizes[kFontSlots] = {};
  TTF_Font* regular[kFontSlots] = {};
  TTF_Font* bold[kFontSlots] = {};
  int used = 0;
  CachedText texts[kTextSets][kTextWays];
  uint64_t clock = 0;
};

namespace {

bool open_size(FontCache& cache, int points, std::string* error) {
  if (cache.used == kFontSlots) {
    if (error) *error = "too many font sizes";
    return false;
  }
  const long index = cache.file.index;
  TTF_Font* regular = TTF_OpenFontIndexDPI(cache.file.path.c_str(), points, index, 96, 96);
  TTF_Font* bold = TTF_OpenFontIndexDPI(cache.file.path.c_str(), points, index, 96, 96);
  if (regular == nullptr || bold == nullptr) {
    if (error) *error = "cannot open font " + cache.file.path + ": " + TTF_GetError();
    if (regular) TTF_CloseFont(regular);
    if (bold) TTF_CloseFont(bold);
    return false;
  }
  TTF_SetFontStyle(bold, TTF_STYLE_BOLD);
  const int slot = cache.used++;
  cache.sizes[slot] = points;
  cache.regular[slot] = regular;
  cache.bold[slot] = bold;
  return true;
}

TTF_Font* font_for(FontCache* cache, const CanvasState& canvas) {
  if (cache == nullptr || canvas.font_size <= 0) return nullptr;
  for (int i = 0; i < cache->used; ++i) {
    if (cache->sizes[i] == canvas.font_size) {
      return canvas.bold ? cache->bold[i] : cache->regular[i];
    }
  }
  if (!open_size(*cache, canvas.font_size, nullptr)) return nullptr;
  const int slot = cache->used - 1;
  return canvas.bold ? cache->bold[slot] : cache->regular[slot];
}

uint64_t text_hash(const TTF_Font* font, Rgb c, const char* utf8, size_t length) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  const auto mix = [&h](uint64_t byte) {
    h ^= byte;
    h *= 1099511628211ull;
  };
  const auto address = reinterpret_cast<uintptr_t>(font);
  for (int i = 0; i < 8; ++i) mix((address >> (8 * i)) & 0xff);
  mix(c.r);
  mix(c.g);
  mix(c.b);
  for (size_t i = 0; i < length; ++i) mix(static_cast<unsigned char>(utf8[i]));
  return h;
}

SDL_Surface* render_text(TTF_Font* font, Rgb c, const char* utf8) {
  SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, utf8, SDL_Color{c.r, c.g, c.b, 255});
  if (glyphs != nullptr) SDL_SetSurfaceBlendMode(glyphs, SDL_BLENDMODE_BLEND);
  return glyphs;
}

// The rendered text from the cache, rendered into it on a miss. nullptr for a text too long
// for an entry (the caller renders it itself) or when rendering fails.
SDL_Surface* cached_text(FontCache& cache, TTF_Font* font, Rgb c, const char* utf8,
                         bool* cacheable) {
  const size_t length = std::strlen(utf8);
  *cacheable = length < static_cast<size_t>(kTextBytes);
  if (!*cacheable) return nullptr;
  const uint64_t hash = text_hash(font, c, utf8, length);
  CachedText* set = cache.texts[hash % kTextSets];
  cache.clock += 1;
  CachedText* victim = &set[0];
  for (int way = 0; way < kTextWays; ++way) {
    CachedText& e = set[way];
    if (e.glyphs != nullptr && e.hash == hash && e.font == font && e.color == c &&
        std::memcmp(e.text, utf8, length + 1) == 0) {
      e.last_used = cache.clock;
      return e.glyphs;
    }
    if (e.glyphs == nullptr) {
      if (victim->glyphs != nullptr) victim = &e;
    } else if (victim->glyphs != nullptr && e.last_used < victim->last_used) {
      victim = &e;
    }
  }
  SDL_Surface* glyphs = render_text(font, c, utf8);
  if (glyphs == nullptr) return nullptr;
  if (victim->glyphs != nullptr) SDL_FreeSurface(victim->glyphs);
  victim->hash = hash;
  victim->font = font;
  victim->color = c;
  std::memcpy(victim->text, utf8, length + 1);
  victim->glyphs = glyphs;
  victim->last_used = cache.clock;
  return glyphs;
}

void clear_text_cache(FontCache& cache) {
  for (auto& set : cache.texts) {
    for (CachedText& e : set) {
      if (e.glyphs != nullptr) SDL_FreeSurface(e.glyphs);
      e = CachedText{};
    }
  }
}

Uint32 map_color(const SDL_Surface* surface, Rgb c) {
  return SDL_MapRGB(surface->format, c.r, c.g, c.b);
}

// Whether sprite `index` of a 16x16 sheet holds a pixel of colour `key`, compared as SDL compares
// a colour key: on the colour bits only.
bool sprite_holds_pixel(SDL_Surface* sheet, int index, Uint32 key) {
  const Uint32 colour_bits = sheet->format->Rmask | sheet->format->Gmask | sheet->format->Bmask;
  const int left = (index % 16) * kSpriteSize;
  const int top = (index / 16) * kSpriteSize;
  if (SDL_MUSTLOCK(sheet) && SDL_LockSurface(sheet) != 0) return true;
  bool found = false;
  for (int y = top; y < top + kSpriteSize && !found; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(sheet->pixels) +
                                                      static_cast<size_t>(y) * sheet->pitch);
    for (int x = left; x < left + kSpriteSize; ++x) {
      if ((row[x] & colour_bits) == (key & colour_bits)) {
        found = true;
        break;
      }
    }
  }
  if (SDL_MUSTLOCK(sheet)) SDL_UnlockSurface(sheet);
  return found;
}

// Every write to a picture's pixels ends here with the rectangle it may have touched: its blocks
// (clipped to the picture) are marked as changed and no longer known to hold a sprite.
void touched(Picture& picture, int left, int top, int right, int bottom) {
  ChangedBlocks& c = picture.changed;
  if (picture.surface == nullptr) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, picture.surface->w);
  bottom = std::min(bottom, picture.surface->h);
  if (right <= left || bottom <= top) return;
  constexpr int kBlock = ChangedBlocks::kBlock;
  const int first_column = left / kBlock;
  const int last_column = std::min((right - 1) / kBlock, ChangedBlocks::kColumns - 1);
  const int last_row = std::min((bottom - 1) / kBlock, ChangedBlocks::kRows - 1);
  // Beyond the blocks nothing is ever known, so only the marks need the whole picture.
  if ((right - 1) / kBlock >= ChangedBlocks::kColumns ||
      (bottom - 1) / kBlock >= ChangedBlocks::kRows) {
    c.all = true;
  }
  if (first_column > last_column || top / kBlock > last_row) return;
  const uint32_t upto = last_column == 31 ? ~uint32_t{0} : (uint32_t{1} << (last_column + 1)) - 1;
  const uint32_t columns = upto & ~((uint32_t{1} << first_column) - 1);
  for (int r = top / kBlock; r <= last_row; ++r) {
    c.rows[r] |= columns;
    for (int col = first_column; col <= last_column; ++col) c.sprite[r][col] = 0;
  }
}

// The record of the block at (x, y) when the sprite drawn there covers exactly that block, wholly
// inside the picture and its clip rectangle; nullptr otherwise.
uint16_t* known_sprite(Picture& picture, int x, int y) {
  constexpr int kBlock = ChangedBlocks::kBlock;
  static_assert(kBlock == kSpriteSize);
  const SDL_Rect& clip = picture.surface->clip_rect;
  if (x % kBlock != 0 || y % kBlock != 0 || x < clip.x || y < clip.y ||
      x + kBlock > clip.x + clip.w || y + kBlock > clip.y + clip.h) {
    return nullptr;
  }
  if (x / kBlock >= ChangedBlocks::kColumns || y / kBlock >= ChangedBlocks::kRows) return nullptr;
  return &picture.changed.sprite[y / kBlock][x / kBlock];
}

void forget_sprites(Picture& picture) {
  for (auto& row : picture.changed.sprite) {
    for (uint16_t& known : row) known = 0;
  }
}

// All of the picture changed, nothing of it is known.
void touched_all(Picture& picture) {
  picture.changed.all = true;
  forget_sprites(picture);
}

// Pictures are opaque: no blending and no colour key, whatever the file held.
void make_opaque(SDL_Surface* surface) {
  SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
  SDL_SetColorKey(surface, SDL_FALSE, 0);
}

void fill(SDL_Surface* surface, int left, int top, int right, int bottom, Uint32 pixel) {
  if (right <= left || bottom <= top) return;
  SDL_Rect r{left, top, right - left, bottom - top};
  SDL_FillRect(surface, &r, pixel);
}

void put_pixel(SDL_Surface* surface, int x, int y, Uint32 pixel) {
  if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return;
  fill(surface, x, y, x + 1, y + 1, pixel);
}

// One segment, its last point left out, as the desktop canvas draws lines: a closed outline
// then paints every corner exactly once.
void line(SDL_Surface* surface, Point a, Point b, Uint32 pixel) {
  if (a.y == b.y) {
    if (a.x < b.x) fill(surface, a.x, a.y, b.x, a.y + 1, pixel);
    if (a.x > b.x) fill(surface, b.x + 1, a.y, a.x + 1, a.y + 1, pixel);
    return;
  }
  if (a.x == b.x) {
    if (a.y < b.y) fill(surface, a.x, a.y, a.x + 1, b.y, pixel);
    if (a.y > b.y) fill(surface, a.x, b.y + 1, a.x + 1, a.y + 1, pixel);
    return;
  }
  const long dx = std::labs(static_cast<long>(b.x) - a.x);
  const long dy = -std::labs(static_cast<long>(b.y) - a.y);
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  long err = dx + dy;
  int x = a.x;
  int y = a.y;
  while (x != b.x || y != b.y) {
    put_pixel(surface, x, y, pixel);
    const long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

}  // namespace

FontCache* open_fonts(std::string* error) {
  FontFile file;
  if (!find_game_font(&file, error)) return nullptr;
  if (TTF_Init() != 0) {
    if (error) *error = std::string("SDL_ttf could not start: ") + TTF_GetError();
    return nullptr;
  }
  auto* cache = new FontCache;
  cache->file = file;
  for (int points : kCommonSizes) {
    if (!open_size(*cache, points, error)) {
      close_fonts(cache);
      return nullptr;
    }
  }
  if (!font_has_japanese_glyphs(cache->regular[0])) {
    if (error) *error = file.path + " has no Japanese glyphs; install fonts-ipafont-gothic";
    close_fonts(cache);
    return nullptr;
  }
  return cache;
}

void close_fonts(FontCache* fonts) {
  if (fonts == nullptr) return;
  clear_text_cache(*fonts);
  for (int i = 0; i < fonts->used; ++i) {
    TTF_CloseFont(fonts->regular[i]);
    TTF_CloseFont(fonts->bold[i]);
  }
  delete fonts;
  TTF_Quit();
}

bool load_sprite_sheet(SpriteSheet& sheet) {
  SDL_RWops* rw = SDL_RWFromConstMem(kSpriteSheetBmp, static_cast<int>(kSpriteSheetBmpSize));
  if (rw == nullptr) return false;
  SDL_Surface* loaded = SDL_LoadBMP_RW(rw, 1);
  if (loaded == nullptr) return false;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, kPictureFormat, 0);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) return false;
  if (converted->w < 16 * kSpriteSize || converted->h < 16 * kSpriteSize) {
    SDL_SetError("sprite sheet is %dx%d, smaller than 16x16 sprites", converted->w, converted->h);
    SDL_FreeSurface(converted);
    return false;
  }
  SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_NONE);
  SDL_Surface* opaque = SDL_DuplicateSurface(converted);
  if (opaque == nullptr) {
    SDL_FreeSurface(converted);
    return false;
  }
  const Uint32 key = map_color(converted, kSpriteKeyColor);
  SDL_SetColorKey(converted, SDL_TRUE, key);
  free_sprite_sheet(sheet);
  sheet.surface = converted;
  sheet.opaque = opaque;
  for (int index = 0; index < kSpriteCount; ++index) {
    sheet.has_key_pixels[index] = sprite_holds_pixel(opaque, index, key);
  }
  return true;
}

void free_sprite_sheet(SpriteSheet& sheet) {
  if (sheet.surface != nullptr) SDL_FreeSurface(sheet.surface);
  if (sheet.opaque != nullptr) SDL_FreeSurface(sheet.opaque);
  sheet.surface = nullptr;
  sheet.opaque = nullptr;
}

bool load_picture(Picture& picture, const char* file_name) {
  if (file_name == nullptr) return false;
  std::string why;
  if (!check_bmp_file(file_name, &why)) {
    SDL_SetError("%s: %s", file_name, why.c_str());
    return false;
  }
  SDL_Surface* loaded = SDL_LoadBMP(file_name);
  if (loaded == nullptr) return false;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, kPictureFormat, 0);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) return false;
  make_opaque(converted);
  free_picture(picture);
  picture.surface = converted;
  picture.canvas = CanvasState{};
  touched_all(picture);
  return true;
}

void free_picture(Picture& picture) {
  if (picture.surface != nullptr) SDL_FreeSurface(picture.surface);
  picture.surface = nullptr;
  touched_all(picture);
}

bool create_picture(Picture& picture, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, kPictureFormat);
  if (surface == nullptr) return false;
  make_opaque(surface);
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  free_picture(picture);
  picture.surface = surface;
  picture.canvas = CanvasState{};
  touched_all(picture);
  return true;
}

void copy_rect(Picture& dst, int dst_x, int dst_y, const Picture& src, Rect src_rect) {
  if (dst.paint_held) return;
  if (dst.surface == nullptr || src.surface == nullptr || dst.surface == src.surface) return;
  const int w = src_rect.right - src_rect.left;
  const int h = src_rect.bottom - src_rect.top;
  if (w <= 0 || h <= 0) return;
  SDL_Rect from{src_rect.left, src_rect.top, w, h};
  SDL_Rect to{dst_x, dst_y, w, h};
  // SDL clips the source to its picture and moves the destination along with it.
  SDL_BlitSurface(src.surface, &from, dst.surface, &to);
  // Whatever is clipped off, what is drawn lies inside the rectangle asked for.
  touched(dst, dst_x, dst_y, dst_x + w, dst_y + h);
}

void fill_rect(Picture& picture, Rect rect) {
  if (picture.surface == nullptr || picture.paint_held) return;
  // A clear brush paints nothing, as on the desktop canvas.
  if (picture.canvas.brush_style != BrushStyle::kSolid) return;
  fill(picture.surface, rect.left, rect.top, rect.right, rect.bottom,
       map_color(picture.surface, picture.canvas.brush_color));
  touched(picture, rect.left, rect.top, rect.right, rect.bottom);
}

void tint_rect(Picture& picture, Rect rect, Rgb color, int alpha) {
  SDL_Surface* s = picture.surface;
  if (s == nullptr || picture.paint_held || alpha <= 0) return;
  // Every picture has 8 bits a channel in 4 bytes a pixel (kPictureFormat); anything else is
  // left alone.
  const SDL_PixelFormat* f = s->format;
  if (f->BytesPerPixel != 4 || f->Rloss != 0 || f->Gloss != 0 || f->Bloss != 0) return;
  if (f->Gshift != 8 || f->Rshift + f->Bshift != 16 || f->Rshift % 16 != 0) return;
  const int left = std::max(rect.left, 0);
  const int top = std::max(rect.top, 0);
  const int right = std::min(rect.right, s->w);
  const int bottom = std::min(rect.bottom, s->h);
  if (right <= left || bottom <= top) return;
  touched(picture, left, top, right, bottom);
  const Uint32 a = static_cast<Uint32>(std::min(alpha, 256));
  const Uint32 keep = 256 - a;
  // The colour in the picture's own layout, each channel times its share.
  const Uint32 mixed_in = (Uint32{color.r} * a >> 8 << f->Rshift) |
                          (Uint32{color.g} * a >> 8 << f->Gshift) |
                          (Uint32{color.b} * a >> 8 << f->Bshift);
  // The channels lie at bits 0, 8 and 16: the outer two are mixed together in one word and the
  // middle one in another, each channel's product keeping to its own 16 bits.
  constexpr Uint32 kOuter = 0x00ff00ff;
  constexpr Uint32 kMiddle = 0x0000ff00;
  const auto mix = [keep, mixed_in](Uint32 p) {
    const Uint32 outer = ((p & kOuter) * keep >> 8) & kOuter;
    const Uint32 middle = ((p & kMiddle) * keep >> 8) & kMiddle;
    return (p & ~(kOuter | kMiddle)) | (outer + middle + mixed_in);
  };
  // Runs of a fixed length, which the compiler turns into vector code whole.
  constexpr int kRun = 32;
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
  for (int y = top; y < bottom; ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    int x = left;
    for (; x + kRun <= right; x += kRun) {
      Uint32* run = row + x;
      for (int i = 0; i < kRun; ++i) run[i] = mix(run[i]);
    }
    for (; x < right; ++x) row[x] = mix(row[x]);
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
}

Point text_extent(const Picture& picture, const char* utf8) {
  TTF_Font* font = font_for(picture.fonts, picture.canvas);
  int w = 0;
  int h = 0;
  if (font == nullptr || utf8 == nullptr || utf8[0] == '\0') return Point{0, 0};
  if (TTF_SizeUTF8(font, utf8, &w, &h) != 0) return Point{0, 0};
  return Point{w, h};
}

void text_out(Picture& picture, int x, int y, const char* utf8) {
  if (picture.surface == nullptr || picture.paint_held || utf8 == nullptr || utf8[0] == '\0') {
    return;
  }
  TTF_Font* font = font_for(picture.fonts, picture.canvas);
  if (font == nullptr) return;
  if (picture.text_watcher != nullptr) picture.text_watcher->text_drawn(picture, x, y, utf8);
  const Rgb c = picture.canvas.font_color;
  bool cacheable = false;
  SDL_Surface* glyphs = cached_text(*picture.fonts, font, c, utf8, &cacheable);
  if (!cacheable) glyphs = render_text(font, c, utf8);
  if (glyphs == nullptr) return;
  if (picture.canvas.brush_style == BrushStyle::kSolid) {
    fill(picture.surface, x, y, x + glyphs->w, y + glyphs->h,
         map_color(picture.surface, picture.canvas.brush_color));
  }
  SDL_Rect to{x, y, glyphs->w, glyphs->h};
  SDL_BlitSurface(glyphs, nullptr, picture.surface, &to);
  touched(picture, x, y, x + glyphs->w, y + glyphs->h);
  if (!cacheable) SDL_FreeSurface(glyphs);
}

void set_font_size(Picture& picture, int points) {
  picture.canvas.font_size = points;
}

void set_font_color(Picture& picture, Rgb color) {
  picture.canvas.font_color = color;
}

void set_font_bold(Picture& picture, bool bold) {
  picture.canvas.bold = bold;
}

void set_brush_color(Picture& picture, Rgb color) {
  picture.canvas.brush_color = color;
  picture.canvas.brush_style = BrushStyle::kSolid;
}

void set_brush_clear(Picture& picture) {
  picture.canvas.brush_style = BrushStyle::kClear;
}

void set_pen_color(Picture& picture, Rgb color) {
  picture.canvas.pen_color = color;
}

void polyline(Picture& picture, const Point* points, int count) {
  if (picture.surface == nullptr || picture.paint_held || points == nullptr || count < 2) return;
  const Uint32 pixel = map_color(picture.surface, picture.canvas.pen_color);
  for (int i = 1; i < count; ++i) line(picture.surface, points[i - 1], points[i], pixel);
  // A line covers both its ends.
  Point low = points[0];
  Point high = points[0];
  for (int i = 1; i < count; ++i) {
    low = Point{std::min(low.x, points[i].x), std::min(low.y, points[i].y)};
    high = Point{std::max(high.x, points[i].x), std::max(high.y, points[i].y)};
  }
  touched(picture, low.x, low.y, high.x + 1, high.y + 1);
}

Rgb read_pixel(const Picture& picture, int x, int y) {
  SDL_Surface* s = picture.paint_held ? nullptr : picture.surface;
  if (s == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) return Rgb{};
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return Rgb{};
  const int bpp = s->format->BytesPerPixel;
  const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * bpp;
  Uint32 value = 0;
  switch (bpp) {
    case 1:
      value = *p;
      break;
    case 2:
      value = *reinterpret_cast<const Uint16*>(p);
      break;
    case 3:
      value = SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2])
                                              : (p[0] | p[1] << 8 | p[2] << 16);
      break;
    default:
      value = *reinterpret_cast<const Uint32*>(p);
      break;
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  Rgb c;
  SDL_GetRGB(value, s->format, &c.r, &c.g, &c.b);
  return c;
}

void draw_image(Picture& picture, const SpriteSheet& sprites, int x, int y, int index) {
  if (picture.surface == nullptr || picture.paint_held || sprites.surface == nullptr) return;
  if (index < 0 || index >= kSpriteCount) return;
  SDL_Rect from{(index % 16) * kSpriteSize, (index / 16) * kSpriteSize, kSpriteSize, kSpriteSize};
  SDL_Rect to{x, y, kSpriteSize, kSpriteSize};
  // Both surfaces hold the same pixels; where a sprite has no key pixel the keyed blit would copy
  // every pixel anyway, so the plain copy draws exactly the same, several times faster.
  const bool keyed = sprites.opaque == nullptr || sprites.has_key_pixels[index];
  // The opaque copy does not depend on what lay beneath, so a whole block that holds this very
  // sprite's copy, untouched since, would come out the same: it is left as it is.
  uint16_t* known = keyed ? nullptr : known_sprite(picture, x, y);
  if (known != nullptr && picture.changed.sprite_sheet != sprites.opaque) {
    forget_sprites(picture);
    picture.changed.sprite_sheet = sprites.opaque;
  }
  if (known != nullptr && *known == index + 1) return;
  SDL_BlitSurface(keyed ? sprites.surface : sprites.opaque, &from, picture.surface, &to);
  touched(picture, x, y, x + kSpriteSize, y + kSpriteSize);
  if (known != nullptr) *known = static_cast<uint16_t>(index + 1);
}
