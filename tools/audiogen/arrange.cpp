#include "audiogen/arrange.h"

namespace audiogen {

void pad(Composer& c, double beat, std::string_view chords, Voice voice, int low, int voices,
         float velocity, float spread) {
  c.chords(beat, chords, [&](const Chord& chord, double at, double beats) {
    const std::vector<int> tones = chord.voicing(low, voices);
    for (size_t i = 0; i < tones.size(); ++i) {
      const float pan =
          tones.size() < 2
              ? 0.0f
              : spread *
                    (2.0f * static_cast<float>(i) / static_cast<float>(tones.size() - 1) - 1.0f);
      c.note(at, beats, tones[i], velocity, voice, pan);
    }
  });
}

void figure(Composer& c, double beat, std::string_view chords, Voice voice, int low,
            const std::vector<Stroke>& strokes, double period, float velocity, float pan) {
  c.chords(beat, chords, [&](const Chord& chord, double at, double beats) {
    for (double start = 0.0; start < beats - 1e-9; start += period) {
      for (const Stroke& s : strokes) {
        if (start + s.at >= beats - 1e-9) continue;
        const int pitch = s.tone < 0 ? chord.bass_pitch(low) : chord.tone(s.tone, low);
        c.note(at + start + s.at, s.beats, pitch, velocity * s.accent, voice, pan);
      }
    }
  });
}

void roll(Composer& c, double beat, double beats, double step, Voice voice, int pitch, float v0,
          float v1, float pan) {
  const int strokes = static_cast<int>(beats / step + 0.5);
  for (int i = 0; i < strokes; ++i) {
    const float x = strokes > 1 ? static_cast<float>(i) / static_cast<float>(strokes - 1) : 0.0f;
    c.note(beat + i * step, step, pitch, v0 + (v1 - v0) * x, voice, pan);
  }
}

}  // namespace audiogen
