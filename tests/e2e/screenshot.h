// The screenshots of the end-to-end runs: read back pixel by pixel, and kept to look at.
#pragma once

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/run_game.h"

namespace e2e {

// One picture of the program as 0xRRGGBB pixels.
class Png {
 public:
  explicit Png(const std::filesystem::path& p) {
    SDL_Surface* loaded = IMG_Load(p.string().c_str());
    if (loaded == nullptr) return;
    s_ = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
  }
  ~Png() { SDL_FreeSurface(s_); }
  Png(const Png&) = delete;
  Png& operator=(const Png&) = delete;
  bool ok() const { return s_ != nullptr; }
  uint32_t at(int x, int y) const {
    const auto* q = static_cast<const uint8_t*>(s_->pixels) + y * s_->pitch + 3 * x;
    return (uint32_t{q[0]} << 16) | (uint32_t{q[1]} << 8) | q[2];
  }
  // Pixels of exactly this colour along the top edge of the view cell (col, row).
  int on_top_edge(int col, int row, uint32_t colour) const {
    int n = 0;
    for (int i = 1; i < 31; ++i) n += at(32 * col + i, 32 * row) == colour;
    return n;
  }
  // Pixels of exactly this colour inside the rectangle, as the picture clips it; -1 for a
  // picture that could not be read.
  int in_rect(int left, int top, int right, int bottom, uint32_t colour) const {
    if (s_ == nullptr) return -1;
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, s_->h); ++y) {
      for (int x = std::max(left, 0); x < std::min(right, s_->w); ++x) n += at(x, y) == colour;
    }
    return n;
  }
  // The square of `size` at (x, y) equals the one at (u, v) of the other picture.
  bool same(int x, int y, const Png& other, int u, int v, int size) const {
    for (int j = 0; j < size; ++j) {
      for (int i = 0; i < size; ++i) {
        if (at(x + i, y + j) != other.at(u + i, v + j)) return false;
      }
    }
    return true;
  }

 private:
  SDL_Surface* s_ = nullptr;
};

// Keeps a copy of the screenshot where NEVALT_UI_SNAPSHOT_DIR says, to look at.
inline void keep_snapshot(const GameRun& run, const char* name) {
  const char* dir = std::getenv("NEVALT_UI_SNAPSHOT_DIR");
  if (dir == nullptr || run.png.empty()) return;
  std::error_code ec;
  std::filesystem::copy_file(run.png, std::filesystem::path(dir) / (std::string(name) + ".png"),
                             std::filesystem::copy_options::overwrite_existing, ec);
}

}  // namespace e2e
