// Finding the game's font on this machine. The texts were laid out for "ＭＳ ゴシック"; fontconfig
// maps that name to an installed, metric-compatible Japanese gothic (IPAGothic on Debian). Shared
// by the game and the asset generator, so it depends only on fontconfig and SDL_ttf.
#pragma once

#include <string>

struct _TTF_Font;

inline constexpr const char* kGameFontName = "ＭＳ ゴシック";

struct FontFile {
  std::string path;
  int index = 0;  // face within a collection file
};

// The installed file that stands in for kGameFontName. False with a message in *error when no
// installed font has the Japanese glyphs the game's texts need.
bool find_game_font(FontFile* out, std::string* error);

// True when the opened font draws kana, kanji and the full-width space itself instead of boxes.
bool font_has_japanese_glyphs(_TTF_Font* font);
