// The desktop icons: the player's tank on open ground, cut from the sprite sheet the map is drawn
// with and enlarged without smoothing, so that the menu shows the game's own pixels.
#pragma once

#include <string>

#include "image.h"

// The 32x32 picture, opaque.
Image icon_picture(const Image& sheet);
// The picture enlarged to size x size; size is a multiple of 32.
Image icon_at(const Image& icon, int size);
// The same picture as SVG, one square per pixel, for the scalable icon.
std::string icon_svg(const Image& icon);
