// The screens between stages: the title menu, the intermission menu and the stage select, each
// drawn over its full-screen picture on every pass.
#pragma once

struct Game;
struct Picture;

// "Start", "Continue", "Shutdown" in the window kTitleMenu.
void draw_title_menu(Game& g);
// "セーブ", "再戦", "出撃" in the window kIntermissionMenu.
void draw_intermission_menu(Game& g);
// "Stage 1" to "Stage 10" in the window kStageSelect; only the stages up to max_stage show their
// text, but every row can be hovered.
void draw_stage_select(Game& g);

// Loads a picture file of the working folder into one of the form's pictures, giving it the
// form's fonts. While another language is chosen, its own version of the picture (the same art
// with its words, locale/<language>/<file_name>) is taken when there is a usable one. A file that
// cannot be read is reported on stderr and the picture keeps what it held; a picture that never
// held anything becomes a black screen-sized one, so the screen stays usable.
bool load_form_picture(Game& g, Picture& picture, const char* file_name);
