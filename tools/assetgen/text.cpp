#include "text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include "ui/font_lookup.h"

Lettering::~Lettering() {
  for (int i = 0; i < used_; ++i) TTF_CloseFont(fonts_[i].font);
  if (ttf_started_) TTF_Quit();
}

bool Lettering::open(std::string* error) {
  FontFile file;
  if (!find_game_font(&file, error)) return false;
  if (TTF_Init() != 0) {
    *error = std::string("SDL_ttf could not start: ") + TTF_GetError();
    return false;
  }
  ttf_started_ = true;
  path_ = file.path;
  index_ = file.index;
  if (!font_has_japanese_glyphs(font_for(20, false))) {
    *error = path_ + " has no Japanese glyphs";
    return false;
  }
  return true;
}

_TTF_Font* Lettering::font_for(int points, bool bold) {
  for (int i = 0; i < used_; ++i) {
    if (fonts_[i].points == points && fonts_[i].bold == bold) return fonts_[i].font;
  }
  if (used_ == 16) return nullptr;
  TTF_Font* font = TTF_OpenFontIndexDPI(path_.c_str(), points, index_, 96, 96);
  if (font == nullptr) return nullptr;
  if (bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  fonts_[used_++] = Entry{points, bold, font};
  return font;
}

Image Lettering::render(const char* utf8, int points, bool bold) {
  TTF_Font* font = font_for(points, bold);
  if (font == nullptr) return Image();
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8, SDL_Color{255, 255, 255, 255});
  if (rendered == nullptr) return Image();
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(rendered);
  if (rgba == nullptr) return Image();
  Image out(rgba->w, rgba->h);
  for (int y = 0; y < rgba->h; ++y) {
    const Uint8* row = static_cast<const Uint8*>(rgba->pixels) + y * rgba->pitch;
    for (int x = 0; x < rgba->w; ++x) {
      out.set(x, y, Color{row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]});
    }
  }
  SDL_FreeSurface(rgba);
  return out;
}

void draw_lettering(Image& dst, const Image& glyphs, int x, int y, Color top, Color bottom,
                    Color outline, int radius) {
  const int w = glyphs.width();
  const int h = glyphs.height();
  for (int oy = -radius; oy <= radius; ++oy) {
    for (int ox = -radius; ox <= radius; ++ox) {
      if (radius == 0 || ox * ox + oy * oy > radius * radius) continue;
      for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
          const uint8_t a = glyphs.get(i, j).a;
          if (a == 0) continue;
          Color c = outline;
          c.a = static_cast<uint8_t>(a * outline.a / 255);
          dst.blend(x + i + ox, y + j + oy, c);
        }
      }
    }
  }
  for (int j = 0; j < h; ++j) {
    const Color fill = mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0);
    for (int i = 0; i < w; ++i) {
      const uint8_t a = glyphs.get(i, j).a;
      if (a == 0) continue;
      Color c = fill;
      c.a = static_cast<uint8_t>(a * fill.a / 255);
      dst.blend(x + i, y + j, c);
    }
  }
}
