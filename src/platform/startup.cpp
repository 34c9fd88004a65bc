#include "platform/startup.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>

#include "state/game.h"
#include "ui/bmp_check.h"
#include "ui/font_lookup.h"

namespace {

struct PictureNeed {
  const char* file;
  int min_width;
  int min_height;
};

// Screens fill the 640x480 picture; of the tile sheet the pixel (511, 511) is read.
constexpr PictureNeed kPictures[] = {
    {"Title.bmp", kScreenWidth, kScreenHeight},
    {"BG1.bmp", kScreenWidth, kScreenHeight},
    {"BG2.bmp", kScreenWidth, kScreenHeight},
    {"Window.bmp", 1, 1},
    {"TileA.bmp", 512, 512},
};

void free_surface(SDL_Surface*& s) {
  SDL_FreeSurface(s);
  s = nullptr;
}

}  // namespace

std::string default_data_dir(const std::string& executable_dir, const std::string& installed_data) {
  if (executable_dir.empty()) return "";
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::path(executable_dir) / "data";
  if (std::filesystem::is_directory(dir, ec)) return dir.string();
  if (!installed_data.empty()) {
    const std::filesystem::path installed =
        (std::filesystem::path(executable_dir) / installed_data).lexically_normal();
    if (std::filesystem::is_directory(installed, ec)) return installed.string();
  }
  return "";
}

std::string user_save_dir(const char* xdg_data_home, const char* home) {
  if (xdg_data_home != nullptr && xdg_data_home[0] == '/') {
    return (std::filesystem::path(xdg_data_home) / "nevalt").string();
  }
  if (home != nullptr && home[0] == '/') {
    return (std::filesystem::path(home) / ".local" / "share" / "nevalt").string();
  }
  return "";
}

bool set_save_location(Game& g, const std::string& dir, const std::string& legacy_dir) {
  if (dir.size() >= sizeof g.save.dir || legacy_dir.size() >= sizeof g.save.legacy_dir) {
    return false;
  }
  std::snprintf(g.save.dir, sizeof g.save.dir, "%s", dir.c_str());
  std::snprintf(g.save.legacy_dir, sizeof g.save.legacy_dir, "%s", legacy_dir.c_str());
  return true;
}

std::string find_japanese_font(std::string* error) {
  FontFile font;
  if (!find_game_font(&font, error)) return "";
  return font.path;
}

bool check_pictures(const std::string& data_dir, std::string* error) {
  for (const PictureNeed& need : kPictures) {
    std::string why;
    SDL_Surface* s = check_bmp_file(need.file, &why) ? SDL_LoadBMP(need.file) : nullptr;
    if (s == nullptr) {
      if (why.empty()) why = SDL_GetError();
      *error = std::string("cannot read the picture ") + need.file + " in the data folder " +
               data_dir + " (" + why + ")";
      return false;
    }
    const bool big_enough = s->w >= need.min_width && s->h >= need.min_height;
    const std::string size = std::to_string(s->w) + "x" + std::to_string(s->h);
    SDL_FreeSurface(s);
    if (!big_enough) {
      *error = std::string("the picture ") + need.file + " in the data folder " + data_dir +
               " is " + size + ", smaller than " + std::to_string(need.min_width) + "x" +
               std::to_string(need.min_height);
      return false;
    }
  }
  return true;
}

bool open_form_assets(Game& g, const FormAssets& assets, std::string* error) {
  TForm1& form = g.form;
  if (assets.open_fonts != nullptr) {
    std::string why;
    form.fonts = assets.open_fonts(&why);
    if (form.fonts == nullptr) {
      *error = "cannot open the fonts: " + why;
      return false;
    }
    form.img_main.fonts = form.fonts;
    form.img_window.fonts = form.fonts;
    form.img_tile.fonts = form.fonts;
    form.img_unit.fonts = form.fonts;
  }
  if (assets.load_sprite_sheet != nullptr && !assets.load_sprite_sheet(form.ImageList1)) {
    *error = std::string("cannot unpack the sprite sheet built into the program (") +
             SDL_GetError() + ")";
    release_form_assets(g, assets);
    return false;
  }
  return true;
}

void release_form_assets(Game& g, const FormAssets& assets) {
  TForm1& form = g.form;
  free_surface(form.img_main.surface);
  free_surface(form.img_window.surface);
  free_surface(form.img_tile.surface);
  free_surface(form.img_unit.surface);
  free_surface(form.ImageList1.surface);
  free_surface(form.ImageList1.opaque);
  if (form.fonts != nullptr && assets.close_fonts != nullptr) assets.close_fonts(form.fonts);
  form.fonts = nullptr;
  form.img_main.fonts = form.img_window.fonts = form.img_tile.fonts = form.img_unit.fonts = nullptr;
}
