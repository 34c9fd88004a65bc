// Remembers the last picture the window was given, so that a pass which drew the same pixels
// again (the idle map, a menu nobody touches) costs no copy to the screen.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class FrameGate {
 public:
  // Room for one width x height picture of bytes_per_pixel pixels, taken once.
  FrameGate(int width, int height, int bytes_per_pixel);

  // True when `frame` differs from the picture last let through (or nothing has been yet, or
  // since invalidate), and then remembers it: the caller shows it. False: the screen already
  // holds exactly this picture. A picture of another shape always goes through.
  bool changed(const SDL_Surface* frame);
  // The screen's picture is lost or stale (exposed, restored): the next frame goes through.
  void invalidate() { valid_ = false; }

 private:
  int width_;
  int height_;
  size_t row_bytes_;
  std::vector<uint8_t> shown_;
  bool valid_ = false;
};
