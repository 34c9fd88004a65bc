// Remembers the last picture the window was given, so that a pass which drew the same pixels
// again (the idle map, a menu nobody touches) costs no copy to the screen.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "state/picture.h"

class FrameGate {
 public:
  // Room for one width x height picture of bytes_per_pixel pixels, taken once.
  FrameGate(int width, int height, int bytes_per_pixel);

  // True when the picture differs from the one last let through (or nothing has been yet, or
  // since invalidate), and then remembers it: the caller shows it. False: the screen already
  // holds exactly this picture. A picture of another shape always goes through. Only the blocks
  // the picture marks as changed are compared, unless it is another picture than last time; the
  // marks are then cleared, as the kept copy again equals the picture.
  bool changed(Picture& picture);
  // The screen's picture is lost or stale (exposed, restored): the next frame goes through.
  void invalidate() { valid_ = false; }

 private:
  // Compares `bytes` bytes of `rows` rows from byte `offset` of each, copying those that differ.
  bool compare_rows(const SDL_Surface* frame, int first_row, int rows, size_t offset, size_t bytes);

  int width_;
  int height_;
  size_t row_bytes_;
  std::vector<uint8_t> shown_;
  const SDL_Surface* shown_from_ = nullptr;  // the picture last compared
  bool valid_ = false;
};
