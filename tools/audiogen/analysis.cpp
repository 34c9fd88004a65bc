#include "audiogen/analysis.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

float peak_level(const Pcm& pcm) {
  float peak = 0.0f;
  for (size_t i = 0; i < pcm.frames(); ++i) {
    peak = std::max({peak, std::fabs(pcm.left[i]), std::fabs(pcm.right[i])});
  }
  return peak;
}

float rms_level(const Pcm& pcm) {
  if (pcm.frames() == 0) return 0.0f;
  double sum = 0.0;
  for (size_t i = 0; i < pcm.frames(); ++i) {
    sum += static_cast<double>(pcm.left[i]) * pcm.left[i] +
           static_cast<double>(pcm.right[i]) * pcm.right[i];
  }
  return static_cast<float>(std::sqrt(sum / (2.0 * static_cast<double>(pcm.frames()))));
}

LoopJoint measure_loop_joint(const Pcm& pcm, size_t window) {
  LoopJoint joint{0.0f, 0.0f, 0.0f};
  const size_t n = pcm.frames();
  if (n < 2) return joint;
  window = std::min(window, (n - 1) / 2);
  for (const std::vector<float>* ch : {&pcm.left, &pcm.right}) {
    const std::vector<float>& x = *ch;
    joint.jump = std::max(joint.jump, std::fabs(x[0] - x[n - 1]));
    joint.edge = std::max({joint.edge, std::fabs(x[0]), std::fabs(x[n - 1])});
    for (size_t i = 1; i <= window && i < n; ++i) {
      joint.local_step = std::max(joint.local_step, std::fabs(x[i] - x[i - 1]));
      joint.local_step = std::max(joint.local_step, std::fabs(x[n - i] - x[n - i - 1]));
    }
  }
  return joint;
}

size_t longest_quiet_run(const Pcm& pcm, float level) {
  const size_t n = pcm.frames();
  const auto quiet = [&](size_t i) {
    return std::fabs(pcm.left[i]) < level && std::fabs(pcm.right[i]) < level;
  };
  size_t longest = 0;
  size_t run = 0;
  // Twice round, so a run across the joint is counted whole; never longer than the loop.
  for (size_t k = 0; k < 2 * n; ++k) {
    run = quiet(k % n) ? run + 1 : 0;
    longest = std::max(longest, std::min(run, n));
  }
  return longest;
}

bool seamless(const LoopJoint& joint) {
  return joint.jump <= 1.5f * joint.local_step + 1e-4f;
}

}  // namespace audiogen
