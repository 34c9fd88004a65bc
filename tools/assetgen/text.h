// Lettering for the pictures, in the same font the game finds for its texts.
#pragma once

#include <string>

#include "image.h"

struct _TTF_Font;

class Lettering {
 public:
  ~Lettering();
  // False with a reason when no Japanese font is installed.
  bool open(std::string* error);
  // The glyphs of the text in white, covered where the alpha is; an empty image on failure.
  Image render(const char* utf8, int points, bool bold);

 private:
  _TTF_Font* font_for(int points, bool bold);
  std::string path_;
  int index_ = 0;
  struct Entry {
    int points;
    bool bold;
    _TTF_Font* font;
  };
  Entry fonts_[16] = {};
  int used_ = 0;
  bool ttf_started_ = false;
};

// Paints a white glyph image onto dst at (x, y), its fill running from top to bottom colour,
// with an outline of the given radius behind it (no outline when radius is 0).
void draw_lettering(Image& dst, const Image& glyphs, int x, int y, Color top, Color bottom,
                    Color outline, int radius);
