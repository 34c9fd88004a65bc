// The game's pictures, drawn from code so that every build makes the same files.
#pragma once

#include "image.h"
#include "text.h"

// Sprites are transparent where they hold this colour (magenta); no drawn pixel ever equals it.
Color key_color();
// The colour itself, or a hair off the key colour when it would collide with it.
Color not_key(Color c);

// The colours of one army: the player's red, the enemy's blue.
struct Side {
  Color main;
  Color light;
  Color dark;
  bool player;
};
extern const Side kPlayerSide;
extern const Side kEnemySide;

// The two armies' marks, which tell them apart by shape as well as by colour: the player's white
// five-pointed star, the enemy's black cross edged in white. (cx, cy) is the centre; r the
// outer radius of the star, arm the half-length of the cross's white edge.
void draw_star(Image& img, float cx, float cy, float r, Color fill);
void draw_cross(Image& img, float cx, float cy, float arm, Color black, Color edge);
// The mark of a side at the given centre and size.
void draw_side_mark(Image& img, const Side& side, float cx, float cy, float size);
// The marks drawn pixel by pixel for sprites, where a polygon this small would blur: `big` is
// the 9x9 mark of a unit's corner, otherwise the 5x5 one of a hull or wing. (x, y) is the
// top-left pixel.
void stamp_side_mark(Image& img, const Side& side, int x, int y, bool big);
// The flag of a side on a pole whose top is at (x, y), flying to the right: the player's red
// swallow-tailed pennant with the star, the enemy's square blue flag with the cross. `h` is the
// height of the cloth.
void draw_side_flag(Image& img, const Side& side, float x, float y, float h);

// 512x512: 16x16 sprites of 32x32 by index, fully opaque, transparent parts in key_color().
Image make_sprite_sheet();
// 288x160: the nine frame pieces in the top strip, the portraits below.
Image make_window_skin();
// The words painted into the screens, in one language, with the sizes that make them fit the
// art: a language's lettering is as wide as its words need, not as the Japanese is.
struct PictureWords {
  const char* title;  // the game's name, large
  int title_points;
  const char* subtitle;  // the line under it; "" for none
  int subtitle_points;
  const char* briefing;  // the intermission's caption
  const char* victory;   // the ending's large word
  int victory_points;
  const char* the_end;  // the line under it
};
extern const PictureWords kJapaneseWords;
extern const PictureWords kEnglishWords;

// 640x480 screens.
Image make_title(Lettering& text, const PictureWords& words);
Image make_intermission(Lettering& text, const PictureWords& words);
Image make_ending(Lettering& text, const PictureWords& words);
