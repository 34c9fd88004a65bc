// Small signal-processing pieces shared by the instruments and the sound effects.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "audiogen/synth.h"

namespace audiogen::dsp {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

namespace detail {

constexpr int kSineBits = 12;
constexpr int kSineSize = 1 << kSineBits;
constexpr int kFracBits = 32 - kSineBits;

constexpr double taylor_sin(double x) {  // |x| <= pi
  double term = x;
  double sum = x;
  for (int n = 1; n < 24; ++n) {
    term *= -x * x / ((2.0 * n) * (2.0 * n + 1.0));
    sum += term;
  }
  return sum;
}

// Computed by the compiler, so no start-up work and no shared mutable state.
inline constexpr std::array<float, kSineSize + 1> kSineTable = [] {
  std::array<float, kSineSize + 1> t{};
  for (int i = 0; i <= kSineSize; ++i) {
    double x = kTwoPi * i / kSineSize;
    if (x > kPi) x -= kTwoPi;
    t[static_cast<size_t>(i)] = static_cast<float>(taylor_sin(x));
  }
  return t;
}();

}  // namespace detail

// Phases are unsigned 32-bit fractions of a cycle, so they wrap for free. The step per
// sample of a frequency from 0 up to the sample rate.
inline uint32_t phase_step(double hz) {
  const double cycles = std::fmin(std::fmax(hz, 0.0), kSampleRate - 1.0) / kSampleRate;
  return static_cast<uint32_t>(static_cast<int64_t>(cycles * 4294967296.0));
}

// sin(2 pi phase) from a table with linear interpolation (error below 1e-6).
inline float sine(uint32_t phase) {
  const uint32_t i = phase >> detail::kFracBits;
  const float frac = static_cast<float>(phase & ((1u << detail::kFracBits) - 1u)) *
                     (1.0f / static_cast<float>(1u << detail::kFracBits));
  const float a = detail::kSineTable[i];
  return a + (detail::kSineTable[i + 1] - a) * frac;
}
// A phase offset of `radians` for phase modulation.
inline uint32_t radians_to_phase(float radians) {
  return static_cast<uint32_t>(static_cast<int64_t>(radians * (4294967296.0f / kTwoPi)));
}

inline double midi_hz(double pitch) {
  return 440.0 * std::exp2((pitch - 69.0) / 12.0);
}

// xorshift32: the noise of every voice comes from its own seeded generator.
class Noise {
 public:
  explicit Noise(uint32_t seed) : s_(seed * 2654435761u + 0x9E3779B9u) {
    if (s_ == 0) s_ = 1;
  }
  uint32_t next_u32() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  // Uniform in [-1, 1).
  float next() {
    return static_cast<float>(static_cast<int32_t>(next_u32())) * (1.0f / 2147483648.0f);
  }
  float uniform01() { return static_cast<float>(next_u32() >> 8) * (1.0f / 16777216.0f); }

 private:
  uint32_t s_;
};

class OnePoleLowPass {
 public:
  explicit OnePoleLowPass(double hz = 1000.0) { set(hz); }
  void set(double hz) { a_ = static_cast<float>(1.0 - std::exp(-kTwoPi * hz / kSampleRate)); }
  float operator()(float x) {
    z_ += a_ * (x - z_);
    return z_;
  }

 private:
  float a_ = 0.0f;
  float z_ = 0.0f;
};

class OnePoleHighPass {
 public:
  explicit OnePoleHighPass(double hz = 1000.0) : lp_(hz) {}
  void set(double hz) { lp_.set(hz); }
  float operator()(float x) { return x - lp_(x); }

 private:
  OnePoleLowPass lp_;
};

// State-variable filter (trapezoidal integration): stable under fast cutoff changes.
class Svf {
 public:
  Svf(double hz = 1000.0, double q = 0.707) { set(hz, q); }
  void set(double hz, double q) {
    const double limited = std::fmin(hz, 0.45 * kSampleRate);
    const double g = std::tan(kPi * limited / kSampleRate);
    k_ = static_cast<float>(1.0 / q);
    a1_ = static_cast<float>(1.0 / (1.0 + g * (g + k_)));
    a2_ = static_cast<float>(g) * a1_;
    a3_ = static_cast<float>(g) * a2_;
  }
  // Runs one sample; low, band and high are the three outputs.
  void tick(float x, float& low, float& band, float& high) {
    const float v3 = x - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    low = v2;
    band = v1;
    high = x - k_ * v1 - v2;
  }
  float low(float x) {
    float l, b, h;
    tick(x, l, b, h);
    return l;
  }
  float band(float x) {
    float l, b, h;
    tick(x, l, b, h);
    return b;
  }
  float high(float x) {
    float l, b, h;
    tick(x, l, b, h);
    return h;
  }

 private:
  float k_ = 1.0f, a1_ = 0.0f, a2_ = 0.0f, a3_ = 0.0f;
  float ic1_ = 0.0f, ic2_ = 0.0f;
};

// Attack (linear), decay (exponential towards sustain) while held; after the hold the level
// falls along a quadratic curve that reaches exactly zero at hold + release, so no note ends
// on a step.
struct Adsr {
  float attack;
  float decay;
  float sustain;
  float release;

  float held(float t) const {
    if (t < attack) return t / attack;
    return sustain + (1.0f - sustain) * std::exp(-(t - attack) / decay);
  }
  float level(float t, float hold) const {
    if (t < hold) return held(t);
    const float x = (t - hold) / release;
    if (x >= 1.0f) return 0.0f;
    return held(hold) * (1.0f - x) * (1.0f - x);
  }
};

// exp(-t / tau), advanced one sample at a time.
class Decay {
 public:
  explicit Decay(float tau, float start = 1.0f)
      : value_(start), factor_(static_cast<float>(std::exp(-1.0 / (tau * kSampleRate)))) {}
  float next() {
    const float v = value_;
    value_ *= factor_;
    // Stop before the value turns denormal, where arithmetic gets very slow.
    if (std::fabs(value_) < 1e-20f) value_ = 0.0f;
    return v;
  }

 private:
  float value_;
  float factor_;
};

// An Adsr played sample by sample: the same curve as Adsr::level without an exp per sample.
class AdsrRun {
 public:
  AdsrRun(const Adsr& env, float hold)
      : env_(env),
        attack_(static_cast<size_t>(env.attack * kSampleRate)),
        hold_(static_cast<size_t>(std::fmax(hold, 0.0f) * kSampleRate)),
        release_(std::fmax(env.release * kSampleRate, 1.0f)),
        from_(env.held(std::fmax(hold, 0.0f))),
        decay_(env.decay) {}
  float next() {
    const size_t i = i_++;
    if (i < hold_) {
      if (i < attack_) return static_cast<float>(i) / static_cast<float>(attack_);
      return env_.sustain + (1.0f - env_.sustain) * decay_.next();
    }
    const float x = static_cast<float>(i - hold_) / release_;
    if (x >= 1.0f) return 0.0f;
    return from_ * (1.0f - x) * (1.0f - x);
  }

 private:
  Adsr env_;
  size_t attack_;
  size_t hold_;
  float release_;
  float from_;
  Decay decay_;
  size_t i_ = 0;
};

// Band-limited saw correction (polyBLEP) for a phase t in [0, 1) advancing by dt per sample.
inline float poly_blep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

// Short linear fades at both ends of a buffer.
void fade_edges(float* samples, size_t count, size_t fade_in, size_t fade_out);

}  // namespace audiogen::dsp
