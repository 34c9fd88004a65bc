// Everything the program checks and opens before the first pass: the data folder, a Japanese
// font, the sprite sheet and the pictures. Failures come back as one readable message.
#pragma once

#include <string>

struct Game;
struct FontCache;
struct SpriteSheet;

// How the drawing surface opens its fonts and its embedded sprite sheet. A null entry is a step
// this build does not have; it is skipped.
struct FormAssets {
  FontCache* (*open_fonts)(std::string* error) = nullptr;
  void (*close_fonts)(FontCache* fonts) = nullptr;
  bool (*load_sprite_sheet)(SpriteSheet& sheet) = nullptr;
};

// The folder the game runs in when --data is not given: `data` beside the executable if there is
// one (the build tree), else `installed_data` taken from the executable's folder when it is a
// folder (an installed game, wherever its prefix was moved), otherwise the current folder (""
// means: stay where we are).
std::string default_data_dir(const std::string& executable_dir,
                             const std::string& installed_data = "");

// The folder an installed game saves in: $XDG_DATA_HOME/nevalt, or ~/.local/share/nevalt when
// XDG_DATA_HOME is unset, empty or relative (which the XDG rules say to ignore). "" when neither
// gives an absolute folder. Either argument may be null.
std::string user_save_dir(const char* xdg_data_home, const char* home);

// Sets where the game saves (dir) and where an older save may still be read from (legacy_dir);
// "" leaves one unset. False, with nothing set, when a folder's name is too long to keep.
bool set_save_location(Game& g, const std::string& dir, const std::string& legacy_dir);

// The file of a font that fontconfig gives for "ＭＳ ゴシック" in Japanese and that really has
// Japanese glyphs. Empty, with an error, when no such font is installed. Needs TTF_Init.
std::string find_japanese_font(std::string* error);

// Checks that every picture the game loads can be read from the current folder and is large
// enough. data_dir only names the folder in the message.
bool check_pictures(const std::string& data_dir, std::string* error);

// Opens the fonts and the sprite sheet into g.form. On failure nothing stays open.
bool open_form_assets(Game& g, const FormAssets& assets, std::string* error);
// Frees the pictures, the sprite sheet and the fonts held by g.form.
void release_form_assets(Game& g, const FormAssets& assets);
