// Fuzz target: a picture file of any content. What the header check lets through is loaded by
// SDL into a picture no larger than the check allows, and an uncompressed picture it lets
// through holds all its pixels; what it refuses comes with a reason. The check itself never
// reads past the bytes it is given.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/bmp_check.h"

namespace {

[[noreturn]] void fault(const char* what, int a = 0, int b = 0) {
  std::fprintf(stderr, "bmp header fuzz: %s (%d, %d)\n", what, a, b);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Only as many bytes as the check reads, in a buffer of their own, so a read past them is seen.
  const size_t head_size = size < kBmpHeaderBytes ? size : kBmpHeaderBytes;
  const std::vector<uint8_t> head(data, data + head_size);
  std::string why;
  const bool ok = check_bmp_header(head.data(), head.size(), size, &why);
  if (!ok) {
    if (why.empty()) fault("refused without a reason");
    return 0;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr) return 0;
  SDL_Surface* s = SDL_LoadBMP_RW(rw, 1);
  if (s == nullptr) return 0;
  if (s->w > kBmpMaxSide || s->h > kBmpMaxSide) fault("loaded beyond the side limit", s->w, s->h);
  SDL_FreeSurface(s);
  return 0;
}
