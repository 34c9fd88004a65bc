#include "platform/startup.h"

#include <SDL.h>
#include <SDL_ttf.h>

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

std::string default_data_dir(const std::string& executable_dir) {
  if (executable_dir.empty()) return "";
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::path(executable_dir) / "data";
  if (std::filesystem::is_directory(dir, ec)) return dir.string();
  return "";
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
  if (form.fonts != nullptr && assets.close_fonts != nullptr) assets.close_fonts(form.fonts);
  form.fonts = nullptr;
  form.img_main.fonts = form.img_window.fonts = form.img_tile.fonts = form.img_unit.fonts = nullptr;
}
