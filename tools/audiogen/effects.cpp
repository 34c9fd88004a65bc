// The three sound effects: a bright rising blip to confirm, a softer falling one to cancel,
// and a shot with its low thump for an attack.
#include <algorithm>
#include <cmath>
#include <vector>

#include "audiogen/dsp.h"
#include "audiogen/pieces.h"

namespace audiogen {

namespace {

constexpr float kDt = 1.0f / kSampleRate;

size_t frames_for(double seconds) {
  return static_cast<size_t>(seconds * kSampleRate);
}

// One blip: a tone with a 2 ms attack and an exponential fall, gliding by `glide` (a frequency
// ratio reached at the end) and shaped by `timbre` (0 pure, 1 bright).
void blip(std::vector<float>& out, double start, double length, double hz, double glide,
          float timbre, float level) {
  const size_t first = frames_for(start);
  const size_t count = frames_for(length);
  uint32_t carrier = 0;
  uint32_t modulator = 0;
  for (size_t i = 0; i < count && first + i < out.size(); ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float x = t / static_cast<float>(length);
    const double f = hz * std::pow(glide, x);
    const uint32_t step = dsp::phase_step(f);
    const float index = timbre * (0.3f + 0.7f * std::exp(-t / 0.02f));
    const float s = dsp::sine(carrier + dsp::radians_to_phase(index * dsp::sine(modulator)));
    carrier += step;
    modulator += step * 2;  // an octave-up modulator gives odd and even partials
    const float attack = std::min(1.0f, t / 0.002f);
    const float fall = std::exp(-t / (0.45f * static_cast<float>(length)));
    const float end = std::min(1.0f, (1.0f - x) / 0.15f);  // close each blip smoothly
    out[first + i] += level * s * attack * fall * end;
  }
}

Pcm to_stereo(std::vector<float> mono, float peak) {
  dsp::fade_edges(mono.data(), mono.size(), kSampleRate / 1000 * 2, kSampleRate / 1000 * 6);
  float largest = 0.0f;
  for (float s : mono) largest = std::max(largest, std::fabs(s));
  Pcm pcm(mono.size());
  const float gain = largest > 0.0f ? peak / largest : 0.0f;
  for (size_t i = 0; i < mono.size(); ++i) {
    pcm.left[i] = mono[i] * gain;
    pcm.right[i] = mono[i] * gain;
  }
  return pcm;
}

Pcm confirm() {
  std::vector<float> out(frames_for(0.13), 0.0f);
  blip(out, 0.0, 0.055, dsp::midi_hz(88), 1.0, 0.9f, 0.8f);    // E6
  blip(out, 0.048, 0.082, dsp::midi_hz(95), 1.0, 0.9f, 1.0f);  // B6
  return to_stereo(std::move(out), 0.25f);
}

Pcm cancel() {
  std::vector<float> out(frames_for(0.15), 0.0f);
  blip(out, 0.0, 0.065, dsp::midi_hz(76), 0.94, 0.35f, 1.0f);   // E5, sagging
  blip(out, 0.058, 0.092, dsp::midi_hz(69), 0.9, 0.35f, 0.9f);  // A4, sagging further
  return to_stereo(std::move(out), 0.22f);
}

Pcm attack() {
  const size_t n = frames_for(0.52);
  std::vector<float> out(n, 0.0f);
  dsp::Noise rnd(303);
  dsp::OnePoleHighPass crack_hp(600.0);
  dsp::Svf body(5000.0, 0.9);
  dsp::OnePoleLowPass rumble(220.0);
  uint32_t thump = 0;
  for (size_t i = 0; i < n; ++i) {
    const float t = static_cast<float>(i) * kDt;
    const float noise = rnd.next();
    const float crack = crack_hp(noise) * std::exp(-t / 0.018f);
    // The blast darkens as it dies away.
    body.set(300.0 + 4700.0 * std::exp(-t / 0.06f), 0.9);
    const float blast = body.low(noise) * std::exp(-t / 0.11f);
    const float tail = rumble(noise) * std::exp(-t / 0.2f) * 2.5f;
    const float hz = 38.0f + 90.0f * std::exp(-t / 0.05f);
    const float low = std::tanh(1.8f * dsp::sine(thump)) * std::exp(-t / 0.13f);
    thump += dsp::phase_step(hz);
    const float attack = std::min(1.0f, t / 0.0005f);
    out[i] = attack * (0.9f * crack + 1.0f * blast + 0.8f * tail + 0.9f * low);
  }
  // The loudest effect: it takes its share of the headroom the music leaves.
  Pcm pcm = to_stereo(std::move(out), kEffectPeak);
  // A longer fade for the rumble's end.
  dsp::fade_edges(pcm.left.data(), pcm.frames(), 0, kSampleRate / 25);
  dsp::fade_edges(pcm.right.data(), pcm.frames(), 0, kSampleRate / 25);
  return pcm;
}

}  // namespace

Pcm render_effect(Effect effect) {
  switch (effect) {
    case Effect::kConfirm:
      return confirm();
    case Effect::kCancel:
      return cancel();
    case Effect::kAttack:
      return attack();
  }
  return Pcm{};
}

}  // namespace audiogen
