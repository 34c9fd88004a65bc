// Battle: a driving piece in D minor at 144 beats a minute. A galloping string ostinato and
// pulsing bass under a military snare; the brass theme in two statements, a darker middle part
// that climbs to the dominant, and low horns that lead back to the ostinato.
#include <string>

#include "audiogen/arrange.h"
#include "audiogen/pieces.h"

namespace audiogen {

namespace {

constexpr const char* kIntroChords = "Dm:4 | Dm:4 | Bb:4 | A:4 |";
constexpr const char* kThemeChords = "Dm:4 | Dm:4 | Bb:4 | C:4 | Dm:4 | Bb:4 | Gm:2 A:2 | Dm:4 |";
constexpr const char* kAnswerChords = "Dm:4 | Dm:4 | Bb:4 | C:4 | Dm:4 | Bb:4 | Gm:2 A:2 | A:4 |";
constexpr const char* kMiddleChords = "Gm:4 | Dm:4 | Gm:4 | A:4 | Bb:4 | C:4 | Bb:2 C:2 | A:4 |";
constexpr const char* kOutroChords = "Dm:4 | Bb:4 | Gm:4 | A7:4 |";

constexpr const char* kThemeHead =
    "A4:3/2^ D5:1/2 D5:3/2 E5:1/2 | F5:1 E5:1/2 D5:1/2 E5:1 A4:1 | Bb4:3/2^ D5:1/2 F5:2 |"
    "E5:1 D5:1/2 C5:1/2 G5:2 | A5:3/2^ G5:1/2 F5:1 E5:1/2 D5:1/2 | D5:3/2 F5:1/2 Bb5:1 A5:1/2 "
    "G5:1/2 |";
constexpr const char* kThemeEnd = "G5:1 F5:1/2 E5:1/2 E5:3/2 C#5:1/2 | D5:3 r:1 |";
constexpr const char* kAnswerEnd = "G5:1 Bb5:1/2 A5:1/2 A5:1^ E5:1 | E5:3/2 F5:1/2 E5:1 C#5:1 |";
constexpr const char* kMiddle =
    "D5:1 D5:1/2 Eb5:1/2 D5:1 Bb4:1 | A4:1 A4:1/2 Bb4:1/2 A4:1 F4:1 |"
    "G5:1^ G5:1/2 A5:1/2 Bb5:1 G5:1 | A5:3/2 G5:1/2 E5:1 C#5:1 | D5:1 F5:1 Bb5:3/2^ A5:1/2 |"
    "G5:1 E5:1 C5:3/2 E5:1/2 | F5:1 D5:1 E5:1 G5:1 | A5:3^ r:1 |";
constexpr const char* kOutro =
    "D4:3/2^ A3:1/2 D4:2 | F4:3/2 D4:1/2 Bb3:2 | G3:3/2 Bb3:1/2 D4:2 | C#4:3/2 E4:1/2 G4:1 A4:1 |";

// Root, root-root on each beat (a gallop), climbing to the fifth and the octave.
const std::vector<Stroke> kGallop = {
    {0.0, 0, 0.4, 1.0f},  {0.5, 0, 0.2, 0.6f},  {0.75, 0, 0.2, 0.6f}, {1.0, 0, 0.4, 0.9f},
    {1.5, 0, 0.2, 0.6f},  {1.75, 0, 0.2, 0.6f}, {2.0, 2, 0.4, 0.9f},  {2.5, 2, 0.2, 0.6f},
    {2.75, 2, 0.2, 0.6f}, {3.0, 3, 0.4, 0.9f},  {3.5, 2, 0.2, 0.6f},  {3.75, 1, 0.2, 0.6f}};

// Eighths on the bass note, accented three-three-two.
const std::vector<Stroke> kPulse = {
    {0.0, -1, 0.45, 1.0f}, {0.5, -1, 0.45, 0.55f}, {1.0, -1, 0.45, 0.6f}, {1.5, -1, 0.45, 1.0f},
    {2.0, -1, 0.45, 0.6f}, {2.5, -1, 0.45, 0.6f},  {3.0, -1, 0.45, 1.0f}, {3.5, -1, 0.45, 0.6f}};

void engine(Composer& c, double beat, const char* chords, float level) {
  figure(c, beat, chords, Voice::kPizzicato, 50, kGallop, 4.0, 0.55f * level, -0.35f);
  figure(c, beat, chords, Voice::kBass, 31, kPulse, 4.0, 0.85f * level, 0.0f);
}

}  // namespace

Score compose_battle() {
  Score s;
  s.tempo_bpm = 144.0;
  s.beats_per_bar = 4;
  s.bars = 32;
  s.reverb_wet = 0.18f;
  s.reverb_room = 0.78f;
  s.echo_beats = 0.5;
  s.echo_feedback = 0.2f;
  Composer c(s, 202);

  // Intro: the engine alone under a low horn fifth.
  engine(c, c.bar(0), kIntroChords, 0.9f);
  pad(c, c.bar(0), kIntroChords, Voice::kHorn, 45, 2, 0.5f, 0.3f);

  // First statement of the theme.
  c.line(c.bar(4), std::string(kThemeHead) + kThemeEnd, Voice::kTrumpet, 0.8f, 0.15f);
  engine(c, c.bar(4), kThemeChords, 1.0f);
  pad(c, c.bar(4), kThemeChords, Voice::kHorn, 50, 3, 0.42f, 0.4f);

  // Second statement, strings doubling the trumpet and horns an octave below.
  const std::string answer = std::string(kThemeHead) + kAnswerEnd;
  c.line(c.bar(12), answer, Voice::kTrumpet, 0.88f, 0.15f);
  c.line(c.bar(12), answer, Voice::kStrings, 0.5f, 0.45f);
  c.line(c.bar(12), answer, Voice::kHorn, 0.55f, -0.3f, -12);
  engine(c, c.bar(12), kAnswerChords, 1.05f);
  pad(c, c.bar(12), kAnswerChords, Voice::kStrings, 55, 3, 0.3f);

  // Middle part: darker, the tune low in the horns and trumpets together, rising to A.
  c.line(c.bar(20), kMiddle, Voice::kTrumpet, 0.78f, 0.15f);
  c.line(c.bar(20), kMiddle, Voice::kHorn, 0.65f, -0.3f, -12);
  engine(c, c.bar(20), kMiddleChords, 1.0f);
  pad(c, c.bar(20), kMiddleChords, Voice::kStrings, 58, 3, 0.35f);

  // Outro: the horns alone over the engine, ending on the dominant seventh.
  c.line(c.bar(28), kOutro, Voice::kHorn, 0.85f, -0.1f);
  engine(c, c.bar(28), kOutroChords, 0.95f);

  // Timpani on the strong bars; a roll on A into the repeat.
  for (int bar = 0; bar < 28; bar += 2) {
    const bool dominant = bar == 2 || bar == 26;
    c.note(c.bar(bar), 1.0, dominant ? 33 : 38, 0.85f, Voice::kTimpani, -0.25f);
  }
  roll(c, c.bar(31), 4.0, 0.125, Voice::kTimpani, 33, 0.3f, 0.9f, -0.25f);

  // Drums.
  for (int bar = 0; bar < 32; ++bar) {
    const bool middle = bar >= 20 && bar < 28;
    const bool intro = bar < 4;
    c.drums(c.bar(bar), middle ? "x... x... x... x..." : "x... ..x. x... ..x.", 0.25, Voice::kKick,
            intro ? 0.7f : 0.85f, 0.0f);
    if (bar >= 12 && bar < 28) {
      c.drums(c.bar(bar), "x.x. x.x. x.x. x.x.", 0.25, Voice::kHat, 0.55f, 0.3f);
    }
  }
  const char* march = "x.oo x.o. x.oo x.xx |";
  for (int bar = 0; bar < 3; ++bar) c.drums(c.bar(bar), march, 0.25, Voice::kSnare, 0.5f, 0.1f);
  c.drums(c.bar(3), "x.oo x.o. xxxx XXXX |", 0.25, Voice::kSnare, 0.55f, 0.1f);
  for (int bar = 4; bar < 12; ++bar) {
    c.drums(c.bar(bar), bar == 11 ? "x.oo x.o. xoxo XxXx |" : march, 0.25, Voice::kSnare, 0.55f,
            0.1f);
  }
  for (int bar = 12; bar < 20; ++bar) {
    c.drums(c.bar(bar), bar == 19 ? "x.oo xoxo XoXo XXXX |" : "x.oo x.oo x.oo xoxo |", 0.25,
            Voice::kSnare, 0.58f, 0.1f);
  }
  for (int bar = 20; bar < 28; ++bar) {
    c.drums(c.bar(bar), "o.o. X.oo o.o. X.o. |", 0.25, Voice::kSnare, 0.55f, 0.1f);
  }
  // Tom fills close the middle part's phrases.
  c.line(c.bar(23) + 2.0, "D3:1/4 D3:1/4 A2:1/4 A2:1/4 F2:1/4 F2:1/4 D2:1/2 |", Voice::kTom, 0.7f,
         -0.2f);
  c.line(c.bar(27),
         "D3:1/2 D3:1/4 D3:1/4 A2:1/2 A2:1/4 A2:1/4 F2:1/2 F2:1/4 F2:1/4 D2:1/4 D2:1/4 "
         "D2:1/4 D2:1/4 |",
         Voice::kTom, 0.75f, -0.2f);
  for (int bar = 28; bar < 31; ++bar) {
    c.drums(c.bar(bar), "x.o. x.o. x.oo x.xx |", 0.25, Voice::kSnare, 0.52f, 0.1f);
  }
  roll(c, c.bar(31), 4.0, 0.125, Voice::kSnare, 60, 0.25f, 0.8f, 0.1f);
  for (int bar : {4, 12, 20}) c.note(c.bar(bar), 2.0, 49, 0.8f, Voice::kCrash, 0.45f);
  c.note(c.bar(0), 2.0, 49, 0.65f, Voice::kCrash, 0.45f);
  c.note(c.bar(28), 2.0, 49, 0.6f, Voice::kCrash, 0.45f);
  return s;
}

}  // namespace audiogen
