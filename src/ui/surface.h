// The drawing surface: pictures with a retained canvas state (font, brush, pen) and the
// operations every screen uses. A picture without pixels (never loaded, or a test that runs the
// rules without SDL) accepts every operation and draws nothing, so rule code can redraw freely.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Surface;
struct FontCache;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kSpriteSize = 32;
constexpr int kSpriteCount = 256;

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// Rectangles are (left, top, right, bottom) with right and bottom exclusive.
struct Rect {
  int left;
  int top;
  int right;
  int bottom;
};

struct Point {
  int x;
  int y;
};

enum class BrushStyle : uint8_t { kSolid, kClear };

// What a canvas remembers between drawing calls; a picture load resets it.
struct CanvasState {
  int font_size = 10;  // points at 96 DPI
  Rgb font_color{0, 0, 0};
  bool bold = false;
  Rgb brush_color{255, 255, 255};
  BrushStyle brush_style = BrushStyle::kSolid;
  Rgb pen_color{0, 0, 0};
};

struct Picture {
  SDL_Surface* surface = nullptr;  // owned
  CanvasState canvas;
  FontCache* fonts = nullptr;  // shared, owned by the form
};

// The sprite sheet ImageList1: 256 images of 32x32, each with its transparent colour.
struct SpriteSheet {
  SDL_Surface* surface = nullptr;  // 16x16 grid of sprites, owned
};

// Every sprite is transparent where it holds this colour; the asset generator paints nothing
// else in it.
constexpr Rgb kSpriteKeyColor{255, 0, 255};

// The game's font at every size it draws with (10, 12, 16, 20 and 64 points, regular and bold),
// opened once. nullptr with a readable reason in *error when no Japanese font is installed.
FontCache* open_fonts(std::string* error);
void close_fonts(FontCache* fonts);

// The sheet built into the executable at build time. False (with SDL's reason) if it cannot be
// decoded; the sheet is then left empty and draw_image draws nothing.
bool load_sprite_sheet(SpriteSheet& sheet);
void free_sprite_sheet(SpriteSheet& sheet);

// Replaces the picture's pixels with the BMP file's and resets its canvas (the fonts pointer
// stays). Returns false (and leaves the picture as it was, SDL_GetError() says why) when the file
// cannot be read. Loaded and created pictures are 32-bit SDL_PIXELFORMAT_XRGB8888 surfaces.
bool load_picture(Picture& picture, const char* file_name);
void free_picture(Picture& picture);
// A blank picture of the given size, filled with black.
bool create_picture(Picture& picture, int width, int height);

void copy_rect(Picture& dst, int dst_x, int dst_y, const Picture& src, Rect src_rect);
void fill_rect(Picture& picture, Rect rect);  // with the brush colour
void text_out(Picture& picture, int x, int y, const char* utf8);
// Width and height of the box text_out would cover in the current font; 0 x 0 without a font.
Point text_extent(const Picture& picture, const char* utf8);
void set_font_size(Picture& picture, int points);
void set_font_color(Picture& picture, Rgb color);
void set_font_bold(Picture& picture, bool bold);
void set_brush_color(Picture& picture, Rgb color);  // also makes the brush solid
void set_brush_clear(Picture& picture);
void set_pen_color(Picture& picture, Rgb color);
void polyline(Picture& picture, const Point* points, int count);
Rgb read_pixel(const Picture& picture, int x, int y);
void draw_image(Picture& picture, const SpriteSheet& sprites, int x, int y, int index);
