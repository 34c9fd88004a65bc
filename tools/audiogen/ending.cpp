// Ending: a broad, triumphant hymn in C major at 88 beats a minute over a descending bass,
// with full brass, timpani and cymbals; a plagal close; then a serene song on the flute over
// harp and soft strings. Rising strings and a timpani roll lead back to the triumph.
#include <string>

#include "audiogen/arrange.h"
#include "audiogen/pieces.h"

namespace audiogen {

namespace {

constexpr const char* kTriumphChords =
    "C:4 | G/B:4 | Am:4 | Em/G:4 | F:4 | C/E:4 | Dm:2 G:2 | C:4 |";
constexpr const char* kCloseChords = "F:4 | C:4 |";
constexpr const char* kSereneChords = "C:4 | Em:4 | Am:4 | F:4 | Dm:4 | C/E:4 | F:4 | G:4 |";
constexpr const char* kReturnChords = "F:4 | G7:4 |";

constexpr const char* kHymn =
    "C5:3/2^ G4:1/2 C5:1 E5:1 | D5:3/2 B4:1/2 D5:1 G5:1 | E5:3/2 C5:1/2 E5:1 A5:1 |"
    "G5:3^ E5:1 | F5:3/2 E5:1/2 F5:1 A5:1 | G5:3/2 E5:1/2 C5:1 E5:1 |"
    "D5:3/2 F5:1/2 G5:1 B4:1 | C5:4^ |";
constexpr const char* kSong =
    "G5:3/2 E5:1/2 D5:1 C5:1 | B4:2 E5:1 G5:1 | A5:3/2 G5:1/2 E5:2 | F5:1 E5:1 C5:2 |"
    "D5:3/2 E5:1/2 F5:1 A5:1 | G5:2 E5:1 C5:1 | A4:1 C5:1 F5:3/2 E5:1/2 | D5:4 |";

const std::vector<Stroke> kRolling = {{0.0, 0, 0.9, 1.0f}, {0.5, 2, 0.9, 0.7f}, {1.0, 3, 0.9, 0.8f},
                                      {1.5, 4, 0.9, 0.7f}, {2.0, 5, 0.9, 0.9f}, {2.5, 4, 0.9, 0.7f},
                                      {3.0, 3, 0.9, 0.8f}, {3.5, 2, 0.9, 0.7f}};

}  // namespace

Score compose_ending() {
  Score s;
  s.tempo_bpm = 88.0;
  s.beats_per_bar = 4;
  s.bars = 20;
  s.reverb_wet = 0.28f;
  s.reverb_room = 0.84f;
  s.echo_beats = 1.0;
  s.echo_feedback = 0.22f;
  Composer c(s, 404);

  // The hymn: trumpets, horns an octave below, strings above in the chords.
  c.line(c.bar(0), kHymn, Voice::kTrumpet, 0.88f, 0.15f);
  c.line(c.bar(0), kHymn, Voice::kHorn, 0.7f, -0.3f, -12);
  pad(c, c.bar(0), kTriumphChords, Voice::kStrings, 64, 4, 0.45f);
  pad(c, c.bar(0), kTriumphChords, Voice::kHorn, 52, 3, 0.35f, 0.5f);
  figure(c, c.bar(0), kTriumphChords, Voice::kBass, 31, {{0.0, -1, 1.9}, {2.0, -1, 1.9, 0.85f}},
         4.0, 0.9f, 0.0f);
  for (int bar = 0; bar < 8; ++bar) {
    c.note(c.bar(bar), 1.0, bar % 2 == 0 ? 36 : 43, 0.8f, Voice::kTimpani, -0.25f);
    c.drums(c.bar(bar), "x... .... x... ....", 0.25, Voice::kKick, 0.75f, 0.0f);
    c.drums(c.bar(bar), bar == 6 ? "x..o x.oo x.oo xxxx |" : "x..o x... x..o x.o. |", 0.25,
            Voice::kSnare, 0.45f, 0.1f);
  }
  roll(c, c.bar(7), 3.0, 0.125, Voice::kTimpani, 36, 0.4f, 0.9f, -0.25f);
  c.note(c.bar(0), 2.0, 49, 0.85f, Voice::kCrash, 0.45f);
  c.note(c.bar(4), 2.0, 49, 0.7f, Voice::kCrash, 0.45f);
  c.note(c.bar(7), 2.0, 49, 0.6f, Voice::kCrash, -0.45f);

  // The plagal close: horns and strings settle, timpani fade.
  c.line(c.bar(8), "C5:2 A4:2 | G4:4 |", Voice::kHorn, 0.6f, -0.1f);
  pad(c, c.bar(8), kCloseChords, Voice::kStrings, 55, 4, 0.4f);
  figure(c, c.bar(8), kCloseChords, Voice::kBass, 31, {{0.0, -1, 3.8}}, 4.0, 0.7f, 0.0f);
  roll(c, c.bar(8), 2.0, 0.125, Voice::kTimpani, 41, 0.5f, 0.2f, -0.25f);
  c.note(c.bar(9), 2.0, 36, 0.4f, Voice::kTimpani, -0.25f);

  // The serene song.
  c.line(c.bar(10), kSong, Voice::kFlute, 0.7f, 0.1f);
  figure(c, c.bar(10), kSereneChords, Voice::kHarp, 43, kRolling, 4.0, 0.45f, 0.35f);
  pad(c, c.bar(10), kSereneChords, Voice::kStrings, 52, 4, 0.3f, 0.7f);
  figure(c, c.bar(10), kSereneChords, Voice::kBell, 60,
         {{0.0, 0, 3.5}, {0.0, 1, 3.5}, {0.0, 2, 3.5}}, 4.0, 0.25f, -0.3f);
  figure(c, c.bar(10), kSereneChords, Voice::kBass, 31, {{0.0, -1, 3.5}}, 4.0, 0.6f, 0.0f);
  for (int bar = 10; bar < 18; ++bar) {
    c.drums(c.bar(bar), "o x o x o x o x", 0.5, Voice::kShaker, 0.35f, 0.4f);
    c.drums(c.bar(bar), "x . . . x . . .", 0.5, Voice::kKick, 0.35f, 0.0f);
  }

  // The return: strings climb through F and G7 while timpani and snare swell.
  pad(c, c.bar(18), kReturnChords, Voice::kStrings, 55, 4, 0.4f);
  figure(c, c.bar(18), kReturnChords, Voice::kBass, 31, {{0.0, -1, 1.9}, {2.0, -1, 1.9}}, 4.0,
         0.75f, 0.0f);
  const int climb[8] = {65, 69, 72, 77, 67, 71, 74, 77};  // F A C F, G B D F
  for (int i = 0; i < 8; ++i) {
    c.note(c.bar(18) + i, 0.95, climb[i], 0.4f + 0.07f * static_cast<float>(i), Voice::kStrings,
           0.3f);
    c.note(c.bar(18) + i, 0.45, climb[i] - 12, 0.35f + 0.06f * static_cast<float>(i), Voice::kHorn,
           -0.3f);
  }
  roll(c, c.bar(19), 4.0, 0.125, Voice::kTimpani, 43, 0.2f, 0.95f, -0.25f);
  roll(c, c.bar(19) + 2.0, 2.0, 0.125, Voice::kSnare, 60, 0.2f, 0.7f, 0.1f);
  return s;
}

}  // namespace audiogen
