#include "platform/frame_gate.h"

#include <algorithm>
#include <cstring>

FrameGate::FrameGate(int width, int height, int bytes_per_pixel)
    : width_(width),
      height_(height),
      row_bytes_(static_cast<size_t>(width) * bytes_per_pixel),
      shown_(row_bytes_ * height) {}

bool FrameGate::compare_rows(const SDL_Surface* frame, int first_row, int rows, size_t offset,
                             size_t bytes) {
  const auto* pixels = static_cast<const uint8_t*>(frame->pixels);
  bool differs = false;
  for (int y = first_row; y < first_row + rows; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * frame->pitch + offset;
    uint8_t* kept = shown_.data() + y * row_bytes_ + offset;
    if (std::memcmp(row, kept, bytes) == 0) continue;
    differs = true;
    std::memcpy(kept, row, bytes);
  }
  return differs;
}

bool FrameGate::changed(Picture& picture) {
  const SDL_Surface* frame = picture.surface;
  // A picture of another shape cannot be compared with the one kept; it always goes through.
  if (frame == nullptr || frame->w != width_ || frame->h != height_ ||
      static_cast<size_t>(frame->w) * frame->format->BytesPerPixel != row_bytes_) {
    valid_ = false;
    return true;
  }
  const ChangedBlocks& marks = picture.changed;
  bool differs = false;
  if (!valid_ || marks.all || frame != shown_from_) {
    differs = compare_rows(frame, 0, height_, 0, row_bytes_) || !valid_;
  } else {
    // Every other block holds what it held at the last comparison, as the kept copy does.
    constexpr int kBlock = ChangedBlocks::kBlock;
    const size_t pixel_bytes = row_bytes_ / width_;
    for (int r = 0; r < ChangedBlocks::kRows && r * kBlock < height_; ++r) {
      const uint32_t columns = marks.rows[r];
      const int rows = std::min(kBlock, height_ - r * kBlock);
      // Runs of neighbouring marked blocks are compared as one span.
      int c = 0;
      while (c < ChangedBlocks::kColumns && c * kBlock < width_) {
        if ((columns >> c & 1u) == 0) {
          ++c;
          continue;
        }
        const int first = c;
        while (c < ChangedBlocks::kColumns && (columns >> c & 1u) != 0) ++c;
        const int left = first * kBlock;
        const int right = std::min(c * kBlock, width_);
        if (compare_rows(frame, r * kBlock, rows, left * pixel_bytes,
                         static_cast<size_t>(right - left) * pixel_bytes)) {
          differs = true;
        }
      }
    }
  }
  valid_ = true;
  shown_from_ = frame;
  picture.changed.clear();
  return differs;
}
