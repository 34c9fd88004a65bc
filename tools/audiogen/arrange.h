// Accompaniment figures built on a chord progression: held chords, broken chords, bass and
// percussion patterns, rolls.
#pragma once

#include <string_view>
#include <vector>

#include "audiogen/compose.h"

namespace audiogen {

// Every chord of the progression held for its length, `voices` tones in close position from
// low upwards, spread across the stereo field.
void pad(Composer& c, double beat, std::string_view chords, Voice voice, int low, int voices,
         float velocity, float spread = 0.6f);

// One stroke of a repeating figure: when (in beats from the chord's start, taken modulo the
// period), which tone (-1 the bass note, 0 root, 1 third, 2 fifth, 3 the next tone or the
// octave ...), for how long, how strongly (times the figure's velocity).
struct Stroke {
  double at;
  int tone;
  double beats;
  float accent = 1.0f;
};

// Repeats the strokes every `period` beats over each chord, with the tones taken from that
// chord at or above low.
void figure(Composer& c, double beat, std::string_view chords, Voice voice, int low,
            const std::vector<Stroke>& strokes, double period, float velocity, float pan);

// Strokes every `step` beats from `beat` for `beats`, the velocity going from v0 to v1.
void roll(Composer& c, double beat, double beats, double step, Voice voice, int pitch, float v0,
          float v1, float pan);

}  // namespace audiogen
