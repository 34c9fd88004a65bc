// Measurements of what the mixer put out: 16-bit stereo frames as SDL's disk audio driver writes
// them to its file, or as a post-mix hook sees them. Shared by the tests and the benchmarks that
// listen to the real program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mixed_output {

// A level in dBFS from a sample magnitude (32768 is full scale); -inf for 0.
double dbfs(int magnitude);

// Below this on both channels a frame counts as silent: -60 dBFS, far under anything the music
// or the effects hold for a moment, far above the decoder's rounding.
constexpr int kSilenceLevel = 32;

struct Levels {
  int peak = 0;         // largest sample magnitude over both channels
  long clipped = 0;     // samples at full scale (the mixer clamps a sum that overflows)
  int clip_bursts = 0;  // clipped stretches at least 10 ms apart count apart
};

// Over frames [first, last) of interleaved stereo samples.
Levels levels(const std::vector<int16_t>& samples, size_t first, size_t last);

struct Silence {
  size_t start = 0;   // frame where the longest silent run starts
  size_t frames = 0;  // its length; 0 when no frame is silent
};

// The longest run of silent frames in [first, last).
Silence longest_silence(const std::vector<int16_t>& samples, size_t first, size_t last);

// The whole of a raw capture (16-bit little-endian stereo); false when it cannot be read.
bool read_capture(const std::string& path, std::vector<int16_t>* samples);

}  // namespace mixed_output
