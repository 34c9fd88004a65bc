#include "audiogen/synth.h"

#include <algorithm>
#include <cmath>

#include "audiogen/dsp.h"

namespace audiogen {

namespace {

using dsp::Adsr;
using dsp::Noise;
using dsp::sine;

size_t samples_for(double seconds) {
  return static_cast<size_t>(std::ceil(std::max(seconds, 0.0) * kSampleRate)) + 1;
}

// How loud each voice sits in the mix and how much of it goes to the reverb and the echo.
struct VoiceTraits {
  float gain;
  float reverb;
  float echo;
};

VoiceTraits traits(Voice v) {
  switch (v) {
    case Voice::kTrumpet:
      return {0.42f, 0.30f, 0.22f};
    case Voice::kHorn:
      return {0.34f, 0.40f, 0.0f};
    case Voice::kStrings:
      return {0.20f, 0.55f, 0.0f};
    case Voice::kPizzicato:
      return {0.26f, 0.25f, 0.0f};
    case Voice::kFlute:
      return {0.40f, 0.45f, 0.30f};
    case Voice::kBell:
      return {0.30f, 0.45f, 0.25f};
    case Voice::kHarp:
      return {0.34f, 0.40f, 0.10f};
    case Voice::kBass:
      return {0.55f, 0.06f, 0.0f};
    case Voice::kTimpani:
      return {0.60f, 0.30f, 0.0f};
    case Voice::kKick:
      return {0.80f, 0.05f, 0.0f};
    case Voice::kSnare:
      return {0.42f, 0.20f, 0.0f};
    case Voice::kHat:
      return {0.16f, 0.10f, 0.0f};
    case Voice::kCrash:
      return {0.22f, 0.30f, 0.0f};
    case Voice::kShaker:
      return {0.15f, 0.15f, 0.0f};
    case Voice::kTom:
      return {0.50f, 0.20f, 0.0f};
  }
  return {0.0f, 0.0f, 0.0f};
}

// Two slightly detuned FM pairs (carrier = modulator frequency) whose modulation index follows
// the loudness: louder brass is brighter, as with the real instrument.
void brass(const Note& n, float hold, Noise& rnd, std::vector<float>& out, bool mellow) {
  const Adsr env = mellow ? Adsr{0.06f, 0.30f, 0.72f, 0.20f} : Adsr{0.028f, 0.20f, 0.78f, 0.12f};
  const double f = dsp::midi_hz(n.pitch);
  const float peak_index = mellow ? 0.7f + 1.0f * n.velocity : 1.6f + 2.8f * n.velocity;
  out.assign(samples_for(hold + env.release), 0.0f);
  const double detune[2] = {std::exp2(-3.0 / 1200.0), std::exp2(4.0 / 1200.0)};
  uint32_t carrier[2] = {rnd.next_u32(), rnd.next_u32()};
  uint32_t modulator[2] = {carrier[0], carrier[1]};
  uint32_t vibrato = 0;
  const uint32_t vibrato_step = dsp::phase_step(5.2);
  dsp::OnePoleLowPass tone(mellow ? std::min(2600.0, 5.0 * f) : std::min(6500.0, 9.0 * f));
  dsp::AdsrRun level(env, hold);
  dsp::Decay scoop(0.03f, 0.018f);  // the lip settles on the pitch
  dsp::Decay breath_fall(0.02f, mellow ? 0.0f : 0.05f);
  const size_t vibrato_start = static_cast<size_t>(0.22 * kSampleRate);
  const float vibrato_ramp = 1.0f / (0.35f * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const float e = level.next();
    const float depth =
        i < vibrato_start ? 0.0f : 0.0042f * std::min(1.0f, (i - vibrato_start) * vibrato_ramp);
    const double bend = (1.0f - scoop.next()) * (1.0f + depth * sine(vibrato));
    vibrato += vibrato_step;
    const float index = peak_index * e * std::sqrt(e);
    float s = 0.0f;
    for (int k = 0; k < 2; ++k) {
      const uint32_t step = dsp::phase_step(f * detune[k] * bend);
      const float m = index * sine(modulator[k]);
      s += sine(carrier[k] + dsp::radians_to_phase(m));
      carrier[k] += step;
      modulator[k] += step;
    }
    const float breath = breath_fall.next() * rnd.next();
    out[i] = tone((0.5f * s + breath) * e);
  }
}

// Three detuned band-limited saws through a low-pass; the short form is the bowed stab.
void strings(const Note& n, float hold, Noise& rnd, std::vector<float>& out, bool short_bow) {
  const Adsr env = short_bow ? Adsr{0.006f, 0.09f, 0.25f, 0.07f} : Adsr{0.20f, 0.45f, 0.85f, 0.35f};
  const double f = dsp::midi_hz(n.pitch);
  out.assign(samples_for(hold + env.release), 0.0f);
  const double cents[3] = {-9.0, 0.0, 8.0};
  float phase[3];
  float step[3];
  for (int k = 0; k < 3; ++k) {
    phase[k] = rnd.uniform01();
    step[k] = static_cast<float>(f * std::exp2(cents[k] / 1200.0) / kSampleRate);
  }
  const double cutoff =
      short_bow ? std::min(7000.0, 2600.0 + 3.0 * f) : std::min(6000.0, 1700.0 + 2.2 * f);
  dsp::Svf filter(cutoff, 0.6);
  uint32_t vibrato = rnd.next_u32();
  const uint32_t vibrato_step = dsp::phase_step(5.4);
  dsp::AdsrRun level(env, hold);
  const float depth = short_bow ? 0.0f : 0.0032f;
  for (size_t i = 0; i < out.size(); ++i) {
    const float e = level.next();
    const float bend = 1.0f + depth * sine(vibrato);
    vibrato += vibrato_step;
    float s = 0.0f;
    for (int k = 0; k < 3; ++k) {
      const float dt = step[k] * bend;
      s += 2.0f * phase[k] - 1.0f - dsp::poly_blep(phase[k], dt);
      phase[k] += dt;
      if (phase[k] >= 1.0f) phase[k] -= 1.0f;
    }
    out[i] = filter.low(s * (1.0f / 3.0f)) * e;
  }
}

void flute(const Note& n, float hold, Noise& rnd, std::vector<float>& out) {
  const Adsr env{0.07f, 0.18f, 0.85f, 0.14f};
  const double f = dsp::midi_hz(n.pitch);
  out.assign(samples_for(hold + env.release), 0.0f);
  uint32_t phase = 0;
  uint32_t vibrato = 0;
  const uint32_t vibrato_step = dsp::phase_step(4.8);
  dsp::Svf breath_filter(std::min(9000.0, 2.0 * f), 1.5);
  dsp::AdsrRun level(env, hold);
  dsp::Decay chiff(0.05f);
  const size_t vibrato_start = static_cast<size_t>(0.2 * kSampleRate);
  const float vibrato_ramp = 1.0f / (0.4f * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const float e = level.next();
    const float depth =
        i < vibrato_start ? 0.0f : std::min(1.0f, (i - vibrato_start) * vibrato_ramp);
    const float v = sine(vibrato);
    vibrato += vibrato_step;
    phase += dsp::phase_step(f * (1.0 + 0.005 * depth * v));
    const float tone =
        sine(phase) + 0.22f * sine(phase * 2) + 0.08f * sine(phase * 3) + 0.03f * sine(phase * 4);
    const float breath = breath_filter.band(rnd.next()) * (0.05f + 0.12f * chiff.next());
    out[i] = (tone * (1.0f + 0.03f * depth * v) * 0.8f + breath) * e;
  }
}

// FM electric piano: a 1:1 pair whose index dies away, plus an inharmonic shimmer.
void bell(const Note& n, float hold, std::vector<float>& out) {
  const double f = dsp::midi_hz(n.pitch);
  const float release = 0.30f;
  const float tail = std::min(hold + release, 4.0f);
  out.assign(samples_for(tail), 0.0f);
  const float decay = static_cast<float>(1.9 * std::pow(440.0 / f, 0.3));
  const uint32_t step = dsp::phase_step(f);
  const uint32_t shimmer_step = dsp::phase_step(f * 2.756);
  uint32_t carrier = 0, modulator = 0, shimmer = 0;
  dsp::AdsrRun gate(Adsr{0.004f, 1.0f, 1.0f, release}, std::min(hold, tail - release));
  dsp::Decay index_fall(0.45f, 1.5f * n.velocity);
  dsp::Decay shimmer_fall(0.12f, 0.18f);
  dsp::Decay fall(decay);
  for (size_t i = 0; i < out.size(); ++i) {
    const float index = 0.25f + index_fall.next();
    const float s = sine(carrier + dsp::radians_to_phase(index * sine(modulator)));
    const float sh = shimmer_fall.next() * sine(shimmer);
    carrier += step;
    modulator += step;
    shimmer += shimmer_step;
    out[i] = (s + sh) * fall.next() * gate.next();
  }
}

// Additive plucked string: each partial decays faster than the one below it.
void pluck(const Note& n, float hold, std::vector<float>& out, float brightness, float decay,
           float position, float release) {
  const double f = dsp::midi_hz(n.pitch);
  const float held = std::min(hold, 6.0f * decay);
  out.assign(samples_for(held + release), 0.0f);
  constexpr int kMaxPartials = 14;
  float amp[kMaxPartials];
  float fall[kMaxPartials];
  uint32_t step[kMaxPartials];
  int partials = 0;
  for (int k = 1; k <= kMaxPartials && f * k < 9000.0; ++k) {
    const float shape = std::fabs(std::sin(static_cast<float>(dsp::kPi) * k * position));
    amp[partials] = shape / std::pow(static_cast<float>(k), 2.0f - brightness);
    const float tau = decay / (1.0f + (1.3f - brightness) * 0.6f * std::pow(k - 1.0f, 1.3f));
    fall[partials] = std::exp(-1.0f / (tau * kSampleRate));
    step[partials] = dsp::phase_step(f * k);
    ++partials;
  }
  uint32_t phase[kMaxPartials] = {};
  dsp::AdsrRun gate(Adsr{0.002f, 1.0f, 1.0f, release}, held);
  for (size_t i = 0; i < out.size(); ++i) {
    float s = 0.0f;
    for (int k = 0; k < partials; ++k) {
      s += amp[k] * sine(phase[k]);
      phase[k] += step[k];
      amp[k] *= fall[k];
    }
    if ((i & 1023) == 0) {
      for (int k = 0; k < partials; ++k) {
        if (amp[k] < 1e-20f) amp[k] = 0.0f;  // no denormals
      }
    }
    out[i] = s * gate.next();
  }
}

void timpani(const Note& n, Noise& rnd, std::vector<float>& out) {
  const double f = dsp::midi_hz(n.pitch);
  out.assign(samples_for(2.4), 0.0f);
  constexpr int kModes = 5;
  const float ratio[kModes] = {1.0f, 1.5f, 1.98f, 2.44f, 2.9f};
  const float level[kModes] = {1.0f, 0.55f, 0.38f, 0.22f, 0.12f};
  const float tau[kModes] = {1.3f, 0.75f, 0.55f, 0.4f, 0.28f};
  uint32_t phase[kModes] = {};
  float amp[kModes];
  float fall[kModes];
  for (int k = 0; k < kModes; ++k) {
    amp[k] = level[k];
    fall[k] = std::exp(-1.0f / (tau[k] * kSampleRate));
  }
  dsp::OnePoleLowPass mallet(900.0);
  dsp::Decay bend(0.06f, 0.03f);
  dsp::Decay mallet_fall(0.015f, 0.6f);
  const size_t attack = static_cast<size_t>(0.0015 * kSampleRate);
  const float gain = 0.35f + 0.65f * n.velocity;
  uint32_t step[kModes] = {};
  for (size_t i = 0; i < out.size(); ++i) {
    const float b = bend.next();
    if ((i & 15) == 0) {  // the pitch glide is slow: update the steps every 16 samples
      for (int k = 0; k < kModes; ++k) step[k] = dsp::phase_step(f * (1.0 + b) * ratio[k]);
    }
    float s = 0.0f;
    for (int k = 0; k < kModes; ++k) {
      s += amp[k] * sine(phase[k]);
      amp[k] *= fall[k];
      phase[k] += step[k];
    }
    if ((i & 1023) == 0) {
      for (float& a : amp) {
        if (a < 1e-20f) a = 0.0f;  // no denormals
      }
    }
    s += mallet(rnd.next()) * mallet_fall.next();
    out[i] = s * gain * (i < attack ? static_cast<float>(i) / attack : 1.0f);
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 20);
}

void kick(const Note& n, Noise& rnd, std::vector<float>& out) {
  out.assign(samples_for(0.45), 0.0f);
  uint32_t phase = 0;
  dsp::OnePoleLowPass click(3000.0);
  dsp::Decay sweep(0.03f, 110.0f);
  dsp::Decay body_fall(0.17f);
  dsp::Decay click_fall(0.004f, 0.3f);
  const size_t attack = static_cast<size_t>(0.0006 * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const float body = sine(phase) * body_fall.next();
    phase += dsp::phase_step(46.0f + sweep.next());
    const float tick = click(rnd.next()) * click_fall.next();
    out[i] = (body + tick) * n.velocity * (i < attack ? static_cast<float>(i) / attack : 1.0f);
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 30);
}

void snare(const Note& n, Noise& rnd, std::vector<float>& out) {
  out.assign(samples_for(0.5), 0.0f);
  uint32_t low = 0, high = 0;
  dsp::OnePoleHighPass wires_hp(1400.0);
  dsp::Svf wires_lp(5000.0 + 5000.0 * n.velocity, 0.7);
  dsp::Decay wire_fall(0.07f + 0.11f * n.velocity);  // ghost notes are short
  dsp::Decay body_fall(0.045f);
  dsp::Decay bend(0.01f, 0.15f);
  const size_t attack = static_cast<size_t>(0.0007 * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const float b = 1.0f + bend.next();
    const float body = (sine(low) + 0.5f * sine(high)) * body_fall.next();
    low += dsp::phase_step(185.0f * b);
    high += dsp::phase_step(332.0f * b);
    const float wires = wires_lp.low(wires_hp(rnd.next())) * wire_fall.next();
    out[i] = (0.55f * body + 1.1f * wires) * n.velocity *
             (i < attack ? static_cast<float>(i) / attack : 1.0f);
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 30);
}

// Pitch 46 and above is the open hat.
void hat(const Note& n, Noise& rnd, std::vector<float>& out) {
  const bool open = n.pitch >= 46;
  out.assign(samples_for(open ? 0.8 : 0.16), 0.0f);
  dsp::Svf hp(7500.0, 0.8);
  dsp::Decay fall(open ? 0.22f : 0.032f, n.velocity);
  const size_t attack = static_cast<size_t>(0.0008 * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] =
        hp.high(rnd.next()) * fall.next() * (i < attack ? static_cast<float>(i) / attack : 1.0f);
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 100);
}

// Six detuned square partials (the classic metallic cluster) plus noise, high-passed.
void crash(const Note& n, Noise& rnd, std::vector<float>& out) {
  out.assign(samples_for(3.0), 0.0f);
  const double freq[6] = {430.0, 639.0, 776.0, 1098.0, 1134.0, 1680.0};
  uint32_t phase[6];
  uint32_t step[6];
  for (int k = 0; k < 6; ++k) {
    phase[k] = rnd.next_u32();
    step[k] = dsp::phase_step(freq[k]);
  }
  dsp::Svf hp(4200.0, 0.7);
  dsp::Svf hp2(3000.0, 0.7);
  dsp::Decay fall(0.9f, n.velocity);
  const size_t attack = static_cast<size_t>(0.002 * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    float metal = 0.0f;
    for (int k = 0; k < 6; ++k) {
      metal += (phase[k] < 0x80000000u) ? 1.0f : -1.0f;
      phase[k] += step[k];
    }
    const float s = hp2.high(hp.high(0.12f * metal + 0.8f * rnd.next()));
    out[i] = s * fall.next() * (i < attack ? static_cast<float>(i) / attack : 1.0f);
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 5);
}

void shaker(const Note& n, Noise& rnd, std::vector<float>& out) {
  out.assign(samples_for(0.14), 0.0f);
  dsp::Svf band(5500.0, 1.2);
  const size_t attack = static_cast<size_t>(0.012 * kSampleRate);
  dsp::Decay fall(0.035f, n.velocity);
  for (size_t i = 0; i < out.size(); ++i) {
    const float e = i < attack ? n.velocity * static_cast<float>(i) / attack : fall.next();
    out[i] = band.band(rnd.next()) * e;
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 100);
}

void tom(const Note& n, Noise& rnd, std::vector<float>& out) {
  const double f = dsp::midi_hz(n.pitch);
  out.assign(samples_for(0.9), 0.0f);
  uint32_t phase = 0;
  dsp::OnePoleLowPass stick(2500.0);
  dsp::Decay bend(0.04f, 0.25f);
  dsp::Decay body_fall(0.3f);
  dsp::Decay hit_fall(0.01f, 0.25f);
  const size_t attack = static_cast<size_t>(0.001 * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const float body = sine(phase) * body_fall.next();
    phase += dsp::phase_step(f * (1.0 + bend.next()));
    const float hit = stick(rnd.next()) * hit_fall.next();
    out[i] = (body + hit) * n.velocity * (i < attack ? static_cast<float>(i) / attack : 1.0f);
  }
  dsp::fade_edges(out.data(), out.size(), 0, kSampleRate / 20);
}

// Freeverb-style reverberator: eight damped combs in parallel, four all-passes in series.
class Reverb {
 public:
  Reverb(float room, float damp, int spread) {
    static constexpr int kComb[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static constexpr int kAllpass[4] = {556, 441, 341, 225};
    for (int k = 0; k < 8; ++k) combs_[k].init(static_cast<size_t>(kComb[k] + spread), room, damp);
    for (int k = 0; k < 4; ++k) allpasses_[k].init(static_cast<size_t>(kAllpass[k] + spread));
  }
  float process(float in) {
    const float x = in * 0.015f;
    float sum = 0.0f;
    for (Comb& c : combs_) sum += c.process(x);
    for (Allpass& a : allpasses_) sum = a.process(sum);
    return sum * 3.0f;
  }

 private:
  struct Comb {
    std::vector<float> buffer;
    size_t pos = 0;
    float store = 0.0f;
    float feedback = 0.0f;
    float damp = 0.0f;
    void init(size_t size, float fb, float d) {
      buffer.assign(size, 0.0f);
      feedback = fb;
      damp = d;
    }
    float process(float x) {
      const float y = buffer[pos];
      store = y * (1.0f - damp) + store * damp;
      buffer[pos] = x + store * feedback;
      if (++pos == buffer.size()) pos = 0;
      return y;
    }
  };
  struct Allpass {
    std::vector<float> buffer;
    size_t pos = 0;
    void init(size_t size) { buffer.assign(size, 0.0f); }
    float process(float x) {
      const float b = buffer[pos];
      buffer[pos] = x + b * 0.5f;
      if (++pos == buffer.size()) pos = 0;
      return b - x;
    }
  };
  Comb combs_[8];
  Allpass allpasses_[4];
};

// Ping-pong echo with a darkening feedback path.
class Echo {
 public:
  Echo(size_t delay, float feedback)
      : left_(delay, 0.0f),
        right_(delay, 0.0f),
        feedback_(feedback),
        tone_l_(3200.0),
        tone_r_(3200.0) {}
  void process(float in_l, float in_r, float& out_l, float& out_r) {
    out_l = left_[pos_];
    out_r = right_[pos_];
    left_[pos_] = in_l + tone_r_(out_r) * feedback_;
    right_[pos_] = in_r + tone_l_(out_l) * feedback_;
    if (++pos_ == left_.size()) pos_ = 0;
  }

 private:
  std::vector<float> left_, right_;
  size_t pos_ = 0;
  float feedback_;
  dsp::OnePoleLowPass tone_l_, tone_r_;
};

// The loop is played once through the effects to fill their memory with the end of the
// track, then again to record: the recorded start then holds the tail of the end.
constexpr double kWarmupSeconds = 12.0;

template <typename Step>
void run_circular(size_t frames, Step step) {
  const size_t warmup = std::min(frames, static_cast<size_t>(kWarmupSeconds * kSampleRate));
  for (size_t i = frames - warmup; i < frames; ++i) step(i, false);
  for (size_t i = 0; i < frames; ++i) step(i, true);
}

float loudness(const Pcm& pcm) {
  double sum = 0.0;
  for (size_t i = 0; i < pcm.frames(); ++i) {
    sum += static_cast<double>(pcm.left[i]) * pcm.left[i] +
           static_cast<double>(pcm.right[i]) * pcm.right[i];
  }
  return static_cast<float>(
      std::sqrt(sum / (2.0 * static_cast<double>(std::max<size_t>(pcm.frames(), 1)))));
}

// The kick's sweep and the plucks' attacks are not quite symmetric; over a loop the mean is
// the only offset there is, and taking it away keeps the loop whole.
void remove_offset(Pcm& pcm) {
  for (std::vector<float>* ch : {&pcm.left, &pcm.right}) {
    double sum = 0.0;
    for (float s : *ch) sum += s;
    const float mean =
        static_cast<float>(sum / static_cast<double>(std::max<size_t>(ch->size(), 1)));
    for (float& s : *ch) s -= mean;
  }
}

// The loudest moments (timpani, cymbals) may stand at most this far above the average level,
// so all tracks come out about equally loud once scaled to their peak.
constexpr float kCrest = 5.0f;

// A limiter for a loop: the gain is worked out per block of 64 frames from the peaks of the
// block and its two neighbours, so it is already down when a peak arrives; it recovers over
// about 120 ms, and is interpolated between blocks so it never steps. Like the reverb it is run
// around the loop twice, so the gain at the start follows on from the end.
void limit_loop(Pcm& pcm, float threshold) {
  constexpr size_t kBlock = 64;
  const size_t frames = pcm.frames();
  const size_t blocks = (frames + kBlock - 1) / kBlock;
  if (blocks < 3 || !(threshold > 0.0f)) return;
  std::vector<float> peak(blocks, 0.0f);
  for (size_t i = 0; i < frames; ++i) {
    float& p = peak[i / kBlock];
    p = std::max({p, std::fabs(pcm.left[i]), std::fabs(pcm.right[i])});
  }
  std::vector<float> gain(blocks, 1.0f);
  const float recover = 1.0f - std::exp(-static_cast<float>(kBlock) / (0.12f * kSampleRate));
  float g = 1.0f;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t b = 0; b < blocks; ++b) {
      const float around =
          std::max({peak[(b + blocks - 1) % blocks], peak[b], peak[(b + 1) % blocks]});
      const float want = around > threshold ? threshold / around : 1.0f;
      g = std::min(want, g + (1.0f - g) * recover);
      gain[b] = g;
    }
  }
  for (size_t i = 0; i < frames; ++i) {
    const size_t b = i / kBlock;
    const float x = static_cast<float>(i % kBlock) / kBlock;
    const float k = gain[b] + (gain[(b + 1) % blocks] - gain[b]) * x;
    pcm.left[i] *= k;
    pcm.right[i] *= k;
  }
}

}  // namespace

void render_voice(const Note& note, double hold_seconds, uint32_t seed, std::vector<float>& out) {
  Noise rnd(seed);
  const float hold = static_cast<float>(std::max(hold_seconds, 0.0));
  switch (note.voice) {
    case Voice::kTrumpet:
      brass(note, hold, rnd, out, false);
      break;
    case Voice::kHorn:
      brass(note, hold, rnd, out, true);
      break;
    case Voice::kStrings:
      strings(note, hold, rnd, out, false);
      break;
    case Voice::kPizzicato:
      strings(note, hold, rnd, out, true);
      break;
    case Voice::kFlute:
      flute(note, hold, rnd, out);
      break;
    case Voice::kBell:
      bell(note, hold, out);
      break;
    case Voice::kHarp:
      pluck(note, hold, out, 0.9f, 1.6f, 0.18f, 0.25f);
      break;
    case Voice::kBass:
      pluck(note, hold, out, 0.55f, 1.1f, 0.22f, 0.07f);
      break;
    case Voice::kTimpani:
      timpani(note, rnd, out);
      break;
    case Voice::kKick:
      kick(note, rnd, out);
      break;
    case Voice::kSnare:
      snare(note, rnd, out);
      break;
    case Voice::kHat:
      hat(note, rnd, out);
      break;
    case Voice::kCrash:
      crash(note, rnd, out);
      break;
    case Voice::kShaker:
      shaker(note, rnd, out);
      break;
    case Voice::kTom:
      tom(note, rnd, out);
      break;
  }
  if (note.voice == Voice::kHarp || note.voice == Voice::kBass) {
    for (float& s : out) s *= 0.4f + 0.6f * note.velocity;
  } else if (note.voice == Voice::kTrumpet || note.voice == Voice::kHorn ||
             note.voice == Voice::kStrings || note.voice == Voice::kPizzicato ||
             note.voice == Voice::kFlute || note.voice == Voice::kBell) {
    for (float& s : out) s *= note.velocity;
  }
}

Pcm render_loop(const Score& score) {
  const double seconds_per_beat = 60.0 / score.tempo_bpm;
  const double loop_beats = score.loop_beats();
  const size_t frames =
      static_cast<size_t>(std::llround(loop_beats * seconds_per_beat * kSampleRate));
  Pcm dry(frames);
  if (frames == 0) return dry;
  Pcm reverb_send(frames);
  Pcm echo_send(frames);

  std::vector<float> voice;
  for (size_t i = 0; i < score.notes.size(); ++i) {
    const Note& note = score.notes[i];
    double beat = std::fmod(note.beat, loop_beats);
    if (beat < 0.0) beat += loop_beats;
    size_t at = static_cast<size_t>(std::llround(beat * seconds_per_beat * kSampleRate)) % frames;
    render_voice(note, note.beats * seconds_per_beat, static_cast<uint32_t>(i) + 1u, voice);
    const VoiceTraits tr = traits(note.voice);
    const double angle = (std::clamp(note.pan, -1.0f, 1.0f) + 1.0f) * dsp::kPi / 4.0;
    const float gl = tr.gain * static_cast<float>(std::cos(angle)) * 1.41421356f;
    const float gr = tr.gain * static_cast<float>(std::sin(angle)) * 1.41421356f;
    for (float s : voice) {
      const float l = s * gl;
      const float r = s * gr;
      dry.left[at] += l;
      dry.right[at] += r;
      reverb_send.left[at] += l * tr.reverb;
      reverb_send.right[at] += r * tr.reverb;
      echo_send.left[at] += l * tr.echo;
      echo_send.right[at] += r * tr.echo;
      if (++at == frames) at = 0;
    }
  }

  if (score.echo_feedback > 0.0f) {
    const size_t delay =
        static_cast<size_t>(std::llround(score.echo_beats * seconds_per_beat * kSampleRate));
    Echo echo(std::max<size_t>(delay, 1), score.echo_feedback);
    run_circular(frames, [&](size_t i, bool record) {
      float l, r;
      echo.process(echo_send.left[i], echo_send.right[i], l, r);
      if (record) {
        // The echo is also heard in the room.
        reverb_send.left[i] += 0.5f * l;
        reverb_send.right[i] += 0.5f * r;
        dry.left[i] += 0.35f * l;
        dry.right[i] += 0.35f * r;
      }
    });
  }

  // The echo has been added to the reverb's input above, so the reverb's warm-up reads the
  // complete end of the loop.
  Reverb left(score.reverb_room, score.reverb_damp, 0);
  Reverb right(score.reverb_room, score.reverb_damp, 23);
  Pcm wet(frames);
  run_circular(frames, [&](size_t i, bool record) {
    const float l = left.process(reverb_send.left[i]);
    const float r = right.process(reverb_send.right[i]);
    if (record) {
      wet.left[i] = l;
      wet.right[i] = r;
    }
  });
  for (size_t i = 0; i < frames; ++i) {
    dry.left[i] += score.reverb_wet * wet.left[i];
    dry.right[i] += score.reverb_wet * wet.right[i];
  }

  remove_offset(dry);
  limit_loop(dry, kCrest * loudness(dry));
  float peak = 0.0f;
  for (size_t i = 0; i < frames; ++i) {
    peak = std::max({peak, std::fabs(dry.left[i]), std::fabs(dry.right[i])});
  }
  if (peak > 0.0f) {
    const float gain = score.peak / peak;
    for (size_t i = 0; i < frames; ++i) {
      dry.left[i] *= gain;
      dry.right[i] *= gain;
    }
  }
  return dry;
}

}  // namespace audiogen
