// The drawing surface: pictures with a retained canvas state (font, brush, pen) and the
// operations every screen uses. A picture without pixels (never loaded, or a test that runs the
// rules without SDL) accepts every operation and draws nothing, so rule code can redraw freely.
#pragma once

#include <cstdint>
#include <string>

#include "state/picture.h"

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
// Mixes `color` into every pixel of the rectangle, `alpha` of 256 parts of it (0: nothing, 256:
// the colour alone); the canvas state is not touched.
void tint_rect(Picture& picture, Rect rect, Rgb color, int alpha);
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
