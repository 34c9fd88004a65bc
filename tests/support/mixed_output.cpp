#include "support/mixed_output.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>

namespace mixed_output {

double dbfs(int magnitude) {
  if (magnitude <= 0) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(static_cast<double>(magnitude) / 32768.0);
}

Levels levels(const std::vector<int16_t>& samples, size_t first, size_t last) {
  constexpr size_t kBurstGap = 441;  // 10 ms of frames at 44.1 kHz
  Levels l;
  last = std::min(last, samples.size() / 2);
  bool clipped_before = false;
  size_t last_clip = 0;
  for (size_t f = first; f < last; ++f) {
    for (int ch = 0; ch < 2; ++ch) {
      const int s = samples[2 * f + ch];
      const int magnitude = std::abs(s);
      l.peak = std::max(l.peak, magnitude);
      if (s != 32767 && s != -32768) continue;
      ++l.clipped;
      if (!clipped_before || f - last_clip > kBurstGap) ++l.clip_bursts;
      clipped_before = true;
      last_clip = f;
    }
  }
  return l;
}

Silence longest_silence(const std::vector<int16_t>& samples, size_t first, size_t last) {
  Silence best;
  last = std::min(last, samples.size() / 2);
  size_t run = 0;
  for (size_t f = first; f < last; ++f) {
    const bool silent =
        std::abs(samples[2 * f]) < kSilenceLevel && std::abs(samples[2 * f + 1]) < kSilenceLevel;
    run = silent ? run + 1 : 0;
    if (run > best.frames) {
      best.frames = run;
      best.start = f + 1 - run;
    }
  }
  return best;
}

bool read_capture(const std::string& path, std::vector<int16_t>* samples) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamsize bytes = in.tellg();
  if (bytes < 0) return false;
  in.seekg(0);
  samples->assign(static_cast<size_t>(bytes) / 4 * 2, 0);
  // The disk driver writes the device's native order, which is little-endian here.
  return static_cast<bool>(
      in.read(reinterpret_cast<char*>(samples->data()),
              static_cast<std::streamsize>(samples->size() * sizeof(int16_t))));
}

}  // namespace mixed_output
