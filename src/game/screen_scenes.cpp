// Screens between stages: title, intermission, save pause, stage select, stage start, victory
// pause, ending.
#include "game/audio.h"
#include "game/battle_suspend.h"
#include "game/campaign.h"
#include "game/scenes.h"
#include "state/game.h"
#include "ui/menu_layout.h"
#include "ui/screens.h"
#include "ui/surface.h"

void scene_title_load(Game& g) {
  // The sprites belong to the form; should it not have them yet, the title is the first place
  // that needs them loaded before any map is drawn.
  if (g.form.ImageList1.surface == nullptr) load_sprite_sheet(g.form.ImageList1);
  load_form_picture(g, g.form.img_tile, "TileA.bmp");
  load_form_picture(g, g.form.img_window, "Window.bmp");
  load_form_picture(g, g.form.img_main, "Title.bmp");
  play_music(g, Track::kTitle);
  g.flow.scene = kSceneTitleMenu;
}

// From the title into the intermission: its picture and its music.
static void enter_intermission(Game& g) {
  g.flow.scene = kSceneIntermission;
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  play_music(g, Track::kIntermission);
}

void scene_title_menu(Game& g) {
  draw_title_menu(g);
  const int hover = g.ui.hover_item;
  const bool left = g.input.left_down == 1;
  if (hover == kRowStart && left) {
    play_sound(g, Sound::kConfirm);
    g.flow.stage_no = 0;
    g.flow.max_stage = 0;
    // A new campaign leaves the old one's battle behind for good.
    discard_battle(g);
    enter_intermission(g);
  }
  if (hover == kRowContinue && left) {
    play_sound(g, Sound::kConfirm);
    // A missing or damaged save keeps the numbers in memory; the player has been told.
    load_progress(g);
    if (resume_battle(g)) return;
    enter_intermission(g);
  }
  if (hover == kRowShutdown && left) {
    play_sound(g, Sound::kConfirm);
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

void scene_intermission(Game& g) {
  draw_intermission_menu(g);
  const int hover = g.ui.hover_item;
  const bool left = g.input.left_down == 1;
  if (hover == kRowSaveAtCamp && left) {
    play_sound(g, Sound::kConfirm);
    save_and_pause(g, kSceneIntermissionSavePause);
  }
  if (hover == kRowReplay && left) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneStageSelect;
  }
  if (hover == kRowSortie && left) {
    play_sound(g, Sound::kConfirm);
    g.flow.scene = kSceneStageStart;
  }
}

void scene_intermission_save_pause(Game& g) {
  if (!countdown(g)) return;
  // The music goes on.
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  g.flow.scene = kSceneIntermission;
}

void scene_stage_select(Game& g) {
  draw_stage_select(g);
  const int hover = g.ui.hover_item;
  // Only cleared stages are replayed here; the newest one is started with "出撃".
  if (hover >= 1 && hover <= g.flow.max_stage && g.input.left_down == 1) {
    play_sound(g, Sound::kConfirm);
    g.flow.stage_no = hover - 1;
    g.flow.scene = kSceneStageStart;
  }
  if (g.input.right_down == 1) {
    play_sound(g, Sound::kCancel);
    load_form_picture(g, g.form.img_main, "BG1.bmp");
    g.flow.scene = kSceneIntermission;
  }
}

void scene_stage_start(Game& g) {
  stage_setup(g);
  // The first player turn starts here, without the framing of the later ones.
  if (g.flow.scene == kSceneMap) suspend_battle(g);
}

void scene_victory_pause(Game& g) {
  if (countdown(g)) advance_stage(g);
}

void scene_ending(Game& g) {
  if (g.input.left_down != 1) return;
  play_sound(g, Sound::kConfirm);
  load_form_picture(g, g.form.img_main, "BG1.bmp");
  play_music(g, Track::kIntermission);
  g.flow.scene = kSceneIntermission;
}
