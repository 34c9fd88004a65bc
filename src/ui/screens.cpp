#include "ui/screens.h"

#include <SDL.h>

#include <cstdio>

#include "state/game.h"
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

bool load_form_picture(Game& g, Picture& picture, const char* file_name) {
  picture.fonts = g.form.fonts;
  if (load_picture(picture, file_name)) return true;
  std::fprintf(stderr, "nevalt: cannot load picture %s: %s\n", file_name, SDL_GetError());
  if (picture.surface == nullptr) create_picture(picture, kScreenWidth, kScreenHeight);
  return false;
}
