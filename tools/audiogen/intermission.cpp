// Intermission: a calm, wistful piece in A minor at 80 beats a minute. A rolling harp figure,
// electric-piano chords and soft strings under a flute; the second half lifts to the relative
// major, then sighs back through the dominant to the start. Shaker and a soft bass drum keep
// the time.
#include <string>

#include "audiogen/arrange.h"
#include "audiogen/pieces.h"

namespace audiogen {

namespace {

constexpr const char* kFirstChords = "Am:4 | F:4 | C:4 | G:4 | Am:4 | F:4 | Dm:2 G:2 | C:2 E:2 |";
constexpr const char* kSecondChords = "F:4 | G:4 | Em:4 | Am:4 | Dm:4 | G:4 | F:4 | E:4 |";

constexpr const char* kFirstTune =
    "A4:1 C5:1 E5:3/2 D5:1/2 | C5:3/2 B4:1/2 A4:2 | G4:1 C5:1 E5:3/2 F5:1/2 | D5:3 r:1 |"
    "E5:1 A5:1 G5:3/2 E5:1/2 | F5:3/2 E5:1/2 C5:2 | D5:1 F5:1 B4:1 D5:1 | C5:2 B4:2 |";
constexpr const char* kSecondTune =
    "A5:3/2 G5:1/2 F5:1 C5:1 | D5:3/2 E5:1/2 D5:1 B4:1 | E5:1 G5:1 B5:3/2 A5:1/2 | A5:2 E5:2 |"
    "F5:1 E5:1/2 D5:1/2 A4:2 | B4:1 D5:1 G5:3/2 F5:1/2 | E5:1 C5:1 A4:3/2 G4:1/2 |"
    "G#4:3/2 A4:1/2 B4:2 |";

// Up through two octaves of the chord in eighths and back down.
const std::vector<Stroke> kRolling = {{0.0, 0, 0.9, 1.0f}, {0.5, 2, 0.9, 0.7f}, {1.0, 3, 0.9, 0.8f},
                                      {1.5, 4, 0.9, 0.7f}, {2.0, 5, 0.9, 0.9f}, {2.5, 4, 0.9, 0.7f},
                                      {3.0, 3, 0.9, 0.8f}, {3.5, 2, 0.9, 0.7f}};

void accompany(Composer& c, double beat, const char* chords, float level) {
  figure(c, beat, chords, Voice::kHarp, 45, kRolling, 4.0, 0.5f * level, 0.35f);
  figure(c, beat, chords, Voice::kBell, 57,
         {{0.0, 0, 1.8}, {0.0, 1, 1.8}, {0.0, 2, 1.8}, {2.0, 1, 1.8, 0.7f}, {2.0, 2, 1.8, 0.7f}},
         4.0, 0.3f * level, -0.3f);
  pad(c, beat, chords, Voice::kStrings, 52, 4, 0.3f * level, 0.7f);
  figure(c, beat, chords, Voice::kBass, 33, {{0.0, -1, 2.5}, {3.0, 2, 0.9, 0.6f}}, 4.0,
         0.7f * level, 0.0f);
}

}  // namespace

Score compose_intermission() {
  Score s;
  s.tempo_bpm = 80.0;
  s.beats_per_bar = 4;
  s.bars = 16;
  s.reverb_wet = 0.32f;
  s.reverb_room = 0.85f;
  s.reverb_damp = 0.45f;
  s.echo_beats = 0.75;
  s.echo_feedback = 0.28f;
  Composer c(s, 303);

  c.line(c.bar(0), kFirstTune, Voice::kFlute, 0.7f, 0.1f);
  accompany(c, c.bar(0), kFirstChords, 0.9f);

  // The tune climbs; strings shadow it an octave below.
  c.line(c.bar(8), kSecondTune, Voice::kFlute, 0.75f, 0.1f);
  c.line(c.bar(8), kSecondTune, Voice::kStrings, 0.3f, -0.4f, -12);
  accompany(c, c.bar(8), kSecondChords, 1.0f);

  for (int bar = 0; bar < 16; ++bar) {
    c.drums(c.bar(bar), "o x o x o x o x", 0.5, Voice::kShaker, 0.45f, 0.4f);
    c.drums(c.bar(bar), "x . . x . . . .", 0.5, Voice::kKick, 0.45f, 0.0f);
    if (bar >= 8) c.drums(c.bar(bar), ". . x . . . x .", 0.5, Voice::kSnare, 0.22f, -0.15f);
  }
  return s;
}

}  // namespace audiogen
