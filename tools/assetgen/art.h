// The game's pictures, drawn from code so that every build makes the same files.
#pragma once

#include "image.h"
#include "text.h"

// Sprites are transparent where they hold this colour (magenta); no drawn pixel ever equals it.
Color key_color();
// The colour itself, or a hair off the key colour when it would collide with it.
Color not_key(Color c);

// 512x512: 16x16 sprites of 32x32 by index, fully opaque, transparent parts in key_color().
Image make_sprite_sheet();
// 288x160: the nine frame pieces in the top strip, the portraits below.
Image make_window_skin();
// 640x480 screens.
Image make_title(Lettering& text);
Image make_intermission(Lettering& text);
Image make_ending(Lettering& text);
