#include "ui/screens.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "state/game.h"
#include "ui/bmp_check.h"
#include "ui/window.h"
#include "world/text.h"

void draw_title_menu(Game& g) {
  static constexpr MenuRow kRows[] = {
      {N_("Start"), true}, {N_("Continue"), true}, {N_("Shutdown"), true}};
  draw_row_menu(g, kTitleMenu, kRows, kTitleRows);
}

void draw_intermission_menu(Game& g) {
  static constexpr MenuRow kRows[] = {{N_("セーブ"), true}, {N_("再戦"), true}, {N_("出撃"), true}};
  draw_row_menu(g, kIntermissionMenu, kRows, kIntermissionRows);
}

void draw_stage_select(Game& g) {
  static constexpr const char* kNames[kStageSelectRows] = {
      N_("Stage 1"), N_("Stage 2"), N_("Stage 3"), N_("Stage 4"), N_("Stage 5"),
      N_("Stage 6"), N_("Stage 7"), N_("Stage 8"), N_("Stage 9"), N_("Stage 10")};
  MenuRow rows[kStageSelectRows];
  // Stage 1 is always listed; the others only once cleared.
  for (int k = 1; k <= kStageSelectRows; ++k) {
    rows[k - 1] = MenuRow{k == 1 || g.flow.max_stage >= k ? kNames[k - 1] : nullptr, true};
  }
  draw_row_menu(g, kStageSelect, rows, kStageSelectRows);
}

namespace {

// The chosen language's version of a picture, in place of the game's own: only one that can be
// read and is as large as the game's own, which the screens are laid out on. A language without
// its own version is no fault and says nothing; one that cannot be used is named on stderr.
bool load_localised_picture(Game& g, Picture& picture, const char* file_name) {
  char localised[96];
  if (!localised_file(g, file_name, localised, sizeof localised)) return false;
  struct stat st {};
  if (::stat(localised, &st) != 0 && errno == ENOENT) return false;
  std::string why;
  BmpSize own_language;
  if (check_bmp_file(localised, &why, &own_language)) {
    // A game's own picture that is itself unreadable is no reason to refuse its replacement.
    BmpSize own;
    const bool same_size = !check_bmp_file(file_name, &why, &own) ||
                           (own.width == own_language.width && own.height == own_language.height);
    if (!same_size) {
      why = std::to_string(own_language.width) + "x" + std::to_string(own_language.height) +
            ", not the " + std::to_string(own.width) + "x" + std::to_string(own.height) + " of " +
            file_name;
    } else if (load_picture(picture, localised)) {
      return true;
    } else {
      why = SDL_GetError();
    }
  }
  std::fprintf(stderr, "nevalt: cannot show the picture %s (%s); %s is shown instead\n", localised,
               why.c_str(), file_name);
  return false;
}

}  // namespace

bool load_form_picture(Game& g, Picture& picture, const char* file_name) {
  picture.fonts = g.form.fonts;
  if (load_localised_picture(g, picture, file_name)) return true;
  if (load_picture(picture, file_name)) return true;
  std::fprintf(stderr, "nevalt: cannot load picture %s: %s\n", file_name, SDL_GetError());
  if (picture.surface == nullptr) create_picture(picture, kScreenWidth, kScreenHeight);
  return false;
}
