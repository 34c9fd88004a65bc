// The instruments and the loop renderer of the game's music and sound effects. Everything is
// computed from fixed seeds, so a score renders to the same samples on every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace audiogen {

constexpr int kSampleRate = 44100;

// At the game's default volumes the mixer adds the music and an effect sample by sample and
// clamps the sum, so their peaks share the room below -1 dBFS (0.891): the music peaks at 0.42
// and the loudest effect at 0.40, which leaves the mp3 encoder's overshoot of a few percent on
// the music room too (0.42 x 1.06 + 0.40 = 0.85, -1.4 dBFS).
constexpr float kMusicPeak = 0.42f;
constexpr float kEffectPeak = 0.40f;

// Stereo samples at kSampleRate, full scale +-1.
struct Pcm {
  std::vector<float> left;
  std::vector<float> right;

  Pcm() = default;
  explicit Pcm(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
  size_t frames() const { return left.size(); }
};

enum class Voice : uint8_t {
  kTrumpet,    // bright FM brass for melodies and fanfares
  kHorn,       // mellow FM brass for harmony and low stabs
  kStrings,    // three detuned band-limited saws through a low-pass, slow bow
  kPizzicato,  // short bowed strings for ostinati and off-beats
  kFlute,      // near-sine with breath noise and delayed vibrato
  kBell,       // FM electric piano: soft attack, long decay
  kHarp,       // additive pluck, bright
  kBass,       // additive pluck, dark, for bass lines
  kTimpani,
  kKick,
  kSnare,  // military snare: body tone plus wires
  kHat,
  kCrash,
  kShaker,
  kTom,
};

struct Note {
  double beat;     // start, in beats from the start of the loop (may wrap)
  double beats;    // how long it is held, in beats; the release follows
  int pitch;       // MIDI note number (60 = middle C); drums use it to tune themselves
  float velocity;  // 0..1
  Voice voice;
  float pan;  // -1 left .. +1 right
};

struct Score {
  double tempo_bpm = 120.0;
  int beats_per_bar = 4;
  int bars = 0;
  std::vector<Note> notes;
  float reverb_wet = 0.25f;    // level of the reverberated signal
  float reverb_room = 0.82f;   // comb feedback: the length of the tail
  float reverb_damp = 0.35f;   // high-frequency loss in the tail
  double echo_beats = 0.75;    // delay of the echo on lead voices
  float echo_feedback = 0.3f;  // 0 switches the echo off
  float peak = kMusicPeak;     // the mix is scaled so its largest sample is this

  double loop_beats() const { return static_cast<double>(bars) * beats_per_bar; }
};

// Renders one note of a voice held for hold_seconds, release included, into out (mono).
// seed picks the noise and the random start phases.
void render_voice(const Note& note, double hold_seconds, uint32_t seed, std::vector<float>& out);

// Renders a score as a seamless loop: the tails of notes that ring past the end, and the
// reverberation and echo of the end, are carried into the start, so the last frame flows into
// the first as if the track had been played before. A limiter evens out the loudest moments
// and the result is scaled to score.peak. Nothing fades at the ends: the game's player repeats
// the track without a gap, so the music goes on through the joint at its full level.
Pcm render_loop(const Score& score);

}  // namespace audiogen
