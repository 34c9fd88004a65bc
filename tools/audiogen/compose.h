// A small notation for writing scores in code: melodic lines, drum steps and chord
// progressions, with bar checks so a miscounted phrase fails loudly instead of drifting.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "audiogen/dsp.h"
#include "audiogen/synth.h"

namespace audiogen {

// MIDI number of a written pitch: letter, accidentals ('#' or 'b', repeatable), octave;
// "C4" is 60, "Bb3" is 58. Throws std::invalid_argument on anything else.
int parse_pitch(std::string_view text);

struct Chord {
  int root = 0;                // pitch class 0..11
  int bass = 0;                // pitch class of the lowest note: the root unless written "C/E"
  std::vector<int> intervals;  // semitones above the root, starting with 0

  // The pitch of chord tone `index` (0 root, 1 third, 2 fifth, 3 seventh ...; wraps upwards
  // an octave) at or above `low`.
  int tone(int index, int low) const;
  // The bass note at or above low.
  int bass_pitch(int low) const;
  // `voices` chord tones in close position within the octave from low, lowest first; extra
  // voices double the lowest tones an octave up.
  std::vector<int> voicing(int low, int voices) const;
};

// "Bb", "Gm", "F7", "Cm7", "Ebmaj7", "Dsus4", "Bdim", "C/E", "Am/C" ...
Chord parse_chord(std::string_view text);

class Composer {
 public:
  Composer(Score& score, uint32_t seed) : score_(score), rnd_(seed) {}

  // Tokens "Pitch:beats" ("Bb4:1.5"), "r:beats" for a rest, "C4+E4+G4:2" for notes struck
  // together; beats as decimals or fractions ("1/3"). Suffixes after the beats: '^' accent,
  // '\'' staccato, '_' held for the full length, '~' slurred into the next note. A "|" checks
  // that a bar line falls there. Returns the beat after the last token.
  double line(double beat, std::string_view text, Voice voice, float velocity, float pan,
              int transpose = 0);

  // One character per step: 'X' accent, 'x' hit, 'o' ghost, 'f' flam (a soft grace stroke just
  // before), '.' silence; spaces and '|' only help the eye. Returns the beat after the last step.
  double drums(double beat, std::string_view steps, double step_beats, Voice voice, float velocity,
               float pan, int pitch = 60);

  // Tokens "Chord:beats" and "|" bar checks; calls each(chord, beat, beats) in order.
  using ChordFn = std::function<void(const Chord&, double beat, double beats)>;
  double chords(double beat, std::string_view text, const ChordFn& each);

  void note(double beat, double beats, int pitch, float velocity, Voice voice, float pan);

  double bar(int index) const { return static_cast<double>(index) * score_.beats_per_bar; }

 private:
  void check_bar(double beat, std::string_view where) const;

  Score& score_;
  dsp::Noise rnd_;
};

}  // namespace audiogen
