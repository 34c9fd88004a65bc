#include "audiogen/dsp.h"

namespace audiogen::dsp {

void fade_edges(float* samples, size_t count, size_t fade_in, size_t fade_out) {
  if (count == 0) return;
  fade_in = fade_in < count ? fade_in : count;
  fade_out = fade_out < count ? fade_out : count;
  for (size_t i = 0; i < fade_in; ++i) {
    samples[i] *= static_cast<float>(i) / static_cast<float>(fade_in);
  }
  for (size_t i = 0; i < fade_out; ++i) {
    samples[count - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade_out);
  }
}

}  // namespace audiogen::dsp
