// Screens between stages: title, intermission, save pause, stage select, stage start, victory
// pause, ending.
#include "game/audio.h"
#include "game/game.h"
#include "game/scenes.h"
#include "ui/screens.h"

void scene_0(Game& g) {
  // The sprites belong to the form; should it not have them yet, the title is the first place
  // that needs them loaded before any map is drawn.
  if (g.form.ImageList1.surface == nullptr) load_sprite_sheet(g.form.ImageList1);
  load_form_picture(g, g.form.img_tile, "TileA.bmp");
  load_form_picture(g, g.form.img_window, "Window.bmp");
  load_form_picture(g, g.form.img_main, "Title.bmp");
  play_music(g, 1);
  g.flow.scene = 10;
}

// From the title into the intermission: its picture and its music.
static void enter_intermission(Game& g) {
  g.flow.scene = 11;
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  play_music(g, 4);
}

void scene_10(Game& g) {
  draw_title_menu(g);
  const int hover = g.ui.hover_item;
  const bool left = g.input.left_down == 1;
  if (hover == 1 && left) {
    play_sound(g, 1);
    g.flow.stage_no = 0;
    g.flow.max_stage = 0;
    enter_intermission(g);
  }
  if (hover == 2 && left) {
    play_sound(g, 1);
    enter_intermission(g);
  }
  if (hover == 3 && left) {
    play_sound(g, 1);
    if (g.form.host != nullptr) g.form.host->close_main_form();
    g.flow.closed = true;
  }
}

void scene_11(Game& g) {
  (void)g;
}

void scene_12(Game& g) {
  (void)g;
}

void scene_13(Game& g) {
  (void)g;
}

void scene_20(Game& g) {
  (void)g;
}

void scene_374(Game& g) {
  (void)g;
}

void scene_375(Game& g) {
  (void)g;
}
