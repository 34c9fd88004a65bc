#include "platform/frame_gate.h"

#include <cstring>

FrameGate::FrameGate(int width, int height, int bytes_per_pixel)
    : width_(width),
      height_(height),
      row_bytes_(static_cast<size_t>(width) * bytes_per_pixel),
      shown_(row_bytes_ * height) {}

bool FrameGate::changed(const SDL_Surface* frame) {
  // A picture of another shape cannot be compared with the one kept; it always goes through.
  if (frame == nullptr || frame->w != width_ || frame->h != height_ ||
      static_cast<size_t>(frame->w) * frame->format->BytesPerPixel != row_bytes_) {
    valid_ = false;
    return true;
  }
  const auto* pixels = static_cast<const uint8_t*>(frame->pixels);
  bool same = valid_;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * frame->pitch;
    uint8_t* kept = shown_.data() + y * row_bytes_;
    if (same && std::memcmp(row, kept, row_bytes_) == 0) continue;
    same = false;
    std::memcpy(kept, row, row_bytes_);
  }
  valid_ = true;
  return !same;
}
