// TForm1: the main window's pictures and the host that shows them and plays the media.
#pragma once

#include "state/host.h"
#include "state/picture.h"

struct TForm1 {
  Host* host = nullptr;
  Picture img_main;    // 640x480, what the window shows
  Picture img_window;  // the window skin and portraits, "Window.bmp"
  Picture img_tile;    // "TileA.bmp"; only its pixel (511, 511) is read
  Picture img_unit;    // the transparent 640x481 overlay
  SpriteSheet ImageList1;
  FontCache* fonts = nullptr;
};
