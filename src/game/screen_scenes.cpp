// Screens between stages: title, intermission, save pause, stage select, stage start, victory
// pause, ending.
#include "game/audio.h"
#include "game/campaign.h"
#include "game/scenes.h"
#include "state/game.h"
#include "ui/screens.h"
#include "ui/surface.h"

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
    // A missing or damaged save keeps the numbers in memory; the player has been told.
    load_progress(g);
    enter_intermission(g);
  }
  if (hover == 3 && left) {
    play_sound(g, 1);
    if (g.form.host != nullptr) g.form.host->close_main_form();
    g.flow.closed = true;
  }
}

// Counts a pause down; true on the pass that ends it.
static bool countdown(Game& g) {
  if (g.flow.wait_ticks > 0) {
    g.flow.wait_ticks -= 1;
    return false;
  }
  return true;
}

void scene_11(Game& g) {
  draw_intermission_menu(g);
  const int hover = g.ui.hover_item;
  const bool left = g.input.left_down == 1;
  if (hover == 1 && left) {
    play_sound(g, 1);
    save_and_pause(g, 12);
  }
  if (hover == 2 && left) {
    play_sound(g, 1);
    g.flow.scene = 13;
  }
  if (hover == 3 && left) {
    play_sound(g, 1);
    g.flow.scene = 20;
  }
}

void scene_12(Game& g) {
  if (!countdown(g)) return;
  // The music goes on.
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  g.flow.scene = 11;
}

void scene_13(Game& g) {
  draw_stage_select(g);
  const int hover = g.ui.hover_item;
  // Only cleared stages are replayed here; the newest one is started with "出撃".
  if (hover >= 1 && hover <= g.flow.max_stage && g.input.left_down == 1) {
    play_sound(g, 1);
    g.flow.stage_no = hover - 1;
    g.flow.scene = 20;
  }
  if (g.input.right_down == 1) {
    play_sound(g, 2);
    load_form_picture(g, g.form.img_main, "BG1.bmp");
    g.flow.scene = 11;
  }
}

void scene_20(Game& g) {
  stage_setup(g);
}

void scene_374(Game& g) {
  if (countdown(g)) advance_stage(g);
}

void scene_375(Game& g) {
  if (g.input.left_down != 1) return;
  play_sound(g, 1);
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  play_music(g, 4);
  g.flow.scene = 11;
}
