// Battle: a driving piece in D minor at 144 beats a minute, long enough (96 bars, 160 s) that a
// turn or two passes before it comes round again. A galloping string ostinato and pulsing bass
// under a military snare; the brass theme in two statements and a darker middle part; then it
// turns to F major for a broad string tune answered by the trumpets, falls quiet over a flute
// and a ticking harp, builds on rising horns, and comes back with the theme a tone higher in
// full. A coda finds its way home and the low horns lead into the ostinato of the start.
#include <string>

#include "audiogen/arrange.h"
#include "audiogen/pieces.h"

namespace audiogen {

namespace {

constexpr const char* kIntroChords = "Dm:4 | Dm:4 | Bb:4 | A:4 |";
constexpr const char* kThemeChords = "Dm:4 | Dm:4 | Bb:4 | C:4 | Dm:4 | Bb:4 | Gm:2 A:2 | Dm:4 |";
constexpr const char* kAnswerChords = "Dm:4 | Dm:4 | Bb:4 | C:4 | Dm:4 | Bb:4 | Gm:2 A:2 | A:4 |";
constexpr const char* kMiddleChords = "Gm:4 | Dm:4 | Gm:4 | A:4 | Bb:4 | C:4 | Bb:2 C:2 | A:4 |";
constexpr const char* kBridgeChords = "Dm:4 | Bb:4 | Gm:4 | C7:4 |";
constexpr const char* kMajorChords = "F:4 | C:4 | Dm:4 | Bb:4 | F:4 | C:4 | Bb:2 C:2 | F:4 |";
constexpr const char* kCallChords = "Dm:4 | Bb:4 | F:4 | C:4 | Dm:4 | Gm:4 | Bb:2 C:2 | A:4 |";
constexpr const char* kQuietChords =
    "Dm:4 | Dm:4 | Bb:4 | Bb:4 | Gm:4 | Gm:4 | A:4 | A:4 | Dm:4 | Bb:4 | Gm:4 | A:4 |";
constexpr const char* kBuildChords = "Dm:4 | Bb:4 | Gm:4 | A:4 | Dm:4 | Bb:4 | C:4 | B7:4 |";
// The theme's harmony a tone higher, in E minor.
constexpr const char* kHighThemeChords = "Em:4 | Em:4 | C:4 | D:4 | Em:4 | C:4 | Am:2 B:2 | Em:4 |";
constexpr const char* kHighAnswerChords = "Em:4 | Em:4 | C:4 | D:4 | Em:4 | C:4 | Am:2 B:2 | B:4 |";
constexpr const char* kCodaChords = "Em:4 | C:4 | Am:4 | B:4 | C:4 | Bb:4 | Gm:4 | A:4 |";
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
constexpr const char* kBridge =
    "D4:3/2^ A3:1/2 D4:2 | F4:3/2 D4:1/2 Bb3:2 | G3:3/2 Bb3:1/2 D4:2 | E4:3/2 G4:1/2 Bb4:1 C5:1 |";
// Broad, in long notes, for the strings.
constexpr const char* kMajorTune =
    "C5:2 F5:2 | E5:1 D5:1 C5:2 | D5:3/2 E5:1/2 F5:1 A5:1 | G5:3 r:1 | A5:2 C6:2 |"
    "G5:1 F5:1 E5:2 | D5:1 F5:1 E5:1 G5:1 | F5:3 r:1 |";
// The trumpets' call over the same ground, turning back to D minor.
constexpr const char* kCall =
    "F5:1^ D5:1/2 F5:1/2 A5:2 | Bb5:1 A5:1/2 G5:1/2 F5:2 | A5:1^ F5:1/2 A5:1/2 C6:2 | G5:3 r:1 |"
    "F5:1 E5:1/2 D5:1/2 A5:2 | Bb5:1 A5:1 G5:1 D5:1 | F5:1 G5:1 A5:1 Bb5:1 | A5:3^ r:1 |";
constexpr const char* kQuietTune =
    "A5:3 G5:1/2 F5:1/2 | E5:4 | F5:3 E5:1/2 D5:1/2 | D5:4 | Bb5:3 A5:1/2 G5:1/2 | G5:2 D5:2 |"
    "E5:2 C#5:1 E5:1 | A4:4 | D5:1 F5:1 A5:2 | Bb5:2 D6:2 | G5:1 Bb5:1 D6:2 | C#6:3 r:1 |";
// Two notes a bar, climbing through the build.
constexpr const char* kRising =
    "D4:2 F4:2 | D4:2 Bb4:2 | G4:2 Bb4:2 | A4:2 C#5:2 | D5:2 F5:2 | F5:2 D5:2 | E5:2 G5:2 |"
    "F#5:2 A5:2 |";
constexpr const char* kCoda =
    "E5:2 B4:2 | C5:2 E5:2 | A5:3/2 G5:1/2 E5:2 | D#5:3 r:1 | E5:2 G5:2 | F5:2 D5:2 |"
    "Bb4:1 D5:1 G5:1 Bb5:1 | A5:3 r:1 |";
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

// The major part's lighter step: the bass on one and three, the chord broken upwards in eighths.
const std::vector<Stroke> kStride = {{0.0, -1, 1.4, 1.0f}, {2.0, 2, 1.4, 0.8f}};
const std::vector<Stroke> kBroken = {{0.0, 0, 0.4, 1.0f}, {0.5, 1, 0.4, 0.7f}, {1.0, 2, 0.4, 0.8f},
                                     {1.5, 1, 0.4, 0.7f}, {2.0, 0, 0.4, 0.9f}, {2.5, 1, 0.4, 0.7f},
                                     {3.0, 2, 0.4, 0.8f}, {3.5, 3, 0.4, 0.7f}};
// The quiet part's harp ticking in eighths, and its bass held a bar at a time.
const std::vector<Stroke> kTicking = {{0.0, 0, 0.4, 1.0f}, {0.5, 2, 0.4, 0.6f}, {1.0, 1, 0.4, 0.7f},
                                      {1.5, 2, 0.4, 0.6f}, {2.0, 0, 0.4, 0.9f}, {2.5, 2, 0.4, 0.6f},
                                      {3.0, 1, 0.4, 0.7f}, {3.5, 2, 0.4, 0.6f}};
const std::vector<Stroke> kHeld = {{0.0, -1, 3.8, 1.0f}};

void engine(Composer& c, double beat, const char* chords, float level) {
  figure(c, beat, chords, Voice::kPizzicato, 50, kGallop, 4.0, 0.55f * level, -0.35f);
  figure(c, beat, chords, Voice::kBass, 31, kPulse, 4.0, 0.85f * level, 0.0f);
}

// The same snare pattern in each of `count` bars from `first`.
void snare_bars(Composer& c, int first, int count, const char* pattern, float velocity) {
  for (int bar = first; bar < first + count; ++bar) {
    c.drums(c.bar(bar), pattern, 0.25, Voice::kSnare, velocity, 0.1f);
  }
}

void kick_bars(Composer& c, int first, int count, const char* pattern, float velocity) {
  for (int bar = first; bar < first + count; ++bar) {
    c.drums(c.bar(bar), pattern, 0.25, Voice::kKick, velocity, 0.0f);
  }
}

void crash(Composer& c, int bar, float velocity) {
  c.note(c.bar(bar), 2.0, 49, velocity, Voice::kCrash, 0.45f);
}

// Bars 0 to 31: the engine alone, the theme twice, the middle part, and a bridge to F major.
void first_half(Composer& c) {
  engine(c, c.bar(0), kIntroChords, 0.9f);
  pad(c, c.bar(0), kIntroChords, Voice::kHorn, 45, 2, 0.5f, 0.3f);

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

  // Bridge: the low horns turn towards F major over the engine.
  c.line(c.bar(28), kBridge, Voice::kHorn, 0.85f, -0.1f);
  engine(c, c.bar(28), kBridgeChords, 0.95f);

  for (int bar = 0; bar < 28; bar += 2) {
    const bool dominant = bar == 2 || bar == 26;
    c.note(c.bar(bar), 1.0, dominant ? 33 : 38, 0.85f, Voice::kTimpani, -0.25f);
  }
  c.note(c.bar(28), 1.0, 38, 0.8f, Voice::kTimpani, -0.25f);
  c.note(c.bar(31), 1.0, 36, 0.8f, Voice::kTimpani, -0.25f);

  for (int bar = 0; bar < 32; ++bar) {
    const bool middle = bar >= 20 && bar < 28;
    c.drums(c.bar(bar), middle ? "x... x... x... x..." : "x... ..x. x... ..x.", 0.25, Voice::kKick,
            bar < 4 ? 0.7f : 0.85f, 0.0f);
    if (bar >= 12 && bar < 28) {
      c.drums(c.bar(bar), "x.x. x.x. x.x. x.x.", 0.25, Voice::kHat, 0.55f, 0.3f);
    }
  }
  const char* march = "x.oo x.o. x.oo x.xx |";
  snare_bars(c, 0, 3, march, 0.5f);
  c.drums(c.bar(3), "x.oo x.o. xxxx XXXX |", 0.25, Voice::kSnare, 0.55f, 0.1f);
  snare_bars(c, 4, 7, march, 0.55f);
  c.drums(c.bar(11), "x.oo x.o. xoxo XxXx |", 0.25, Voice::kSnare, 0.55f, 0.1f);
  snare_bars(c, 12, 7, "x.oo x.oo x.oo xoxo |", 0.58f);
  c.drums(c.bar(19), "x.oo xoxo XoXo XXXX |", 0.25, Voice::kSnare, 0.58f, 0.1f);
  snare_bars(c, 20, 8, "o.o. X.oo o.o. X.o. |", 0.55f);
  // Tom fills close the middle part's phrases.
  c.line(c.bar(23) + 2.0, "D3:1/4 D3:1/4 A2:1/4 A2:1/4 F2:1/4 F2:1/4 D2:1/2 |", Voice::kTom, 0.7f,
         -0.2f);
  c.line(c.bar(27),
         "D3:1/2 D3:1/4 D3:1/4 A2:1/2 A2:1/4 A2:1/4 F2:1/2 F2:1/4 F2:1/4 D2:1/4 D2:1/4 "
         "D2:1/4 D2:1/4 |",
         Voice::kTom, 0.75f, -0.2f);
  snare_bars(c, 28, 3, "x.o. x.o. x.oo x.xx |", 0.52f);
  c.drums(c.bar(31), "x.o. x.o. xxxx XXXX |", 0.25, Voice::kSnare, 0.6f, 0.1f);
  crash(c, 0, 0.65f);
  for (int bar : {4, 12, 20}) crash(c, bar, 0.8f);
  crash(c, 28, 0.6f);
}

// Bars 32 to 47: F major, lighter on its feet; the strings' tune, then the trumpets' call.
void major_part(Composer& c) {
  c.line(c.bar(32), kMajorTune, Voice::kStrings, 0.72f, 0.3f);
  c.line(c.bar(32), kMajorTune, Voice::kHorn, 0.45f, -0.3f, -12);
  c.line(c.bar(40), kCall, Voice::kTrumpet, 0.82f, 0.15f);
  c.line(c.bar(40), kCall, Voice::kStrings, 0.42f, 0.45f, -12);
  figure(c, c.bar(32), kMajorChords, Voice::kBass, 33, kStride, 4.0, 0.85f, 0.0f);
  figure(c, c.bar(40), kCallChords, Voice::kBass, 33, kStride, 4.0, 0.85f, 0.0f);
  figure(c, c.bar(32), kMajorChords, Voice::kPizzicato, 53, kBroken, 4.0, 0.45f, -0.35f);
  figure(c, c.bar(40), kCallChords, Voice::kPizzicato, 53, kBroken, 4.0, 0.5f, -0.35f);
  pad(c, c.bar(40), kCallChords, Voice::kHorn, 50, 3, 0.35f, 0.4f);

  // A backbeat in place of the march, the hats on the off-beats.
  kick_bars(c, 32, 16, "x... .... x.x. ....", 0.75f);
  for (int bar = 32; bar < 48; ++bar) {
    c.drums(c.bar(bar), "..x. ..x. ..x. ..x.", 0.25, Voice::kHat, 0.5f, 0.3f);
  }
  snare_bars(c, 32, 7, ".... x... .... x..o |", 0.5f);
  c.drums(c.bar(39), ".... x... ..oo xoxo |", 0.25, Voice::kSnare, 0.55f, 0.1f);
  snare_bars(c, 40, 7, ".... X..o .... X.oo |", 0.55f);
  c.drums(c.bar(47), ".... X..o xoxo XXXX |", 0.25, Voice::kSnare, 0.6f, 0.1f);
  for (int bar : {32, 36, 40, 44}) c.note(c.bar(bar), 1.0, 41, 0.8f, Voice::kTimpani, -0.25f);
  crash(c, 32, 0.75f);
  crash(c, 40, 0.8f);
}

// Bars 48 to 59: quiet; a flute over held strings, the harp ticking, the timpani's heartbeat.
void quiet_part(Composer& c) {
  c.line(c.bar(48), kQuietTune, Voice::kFlute, 0.72f, 0.1f);
  pad(c, c.bar(48), kQuietChords, Voice::kStrings, 50, 3, 0.35f);
  figure(c, c.bar(48), kQuietChords, Voice::kHarp, 57, kTicking, 4.0, 0.4f, 0.35f);
  figure(c, c.bar(48), kQuietChords, Voice::kBass, 31, kHeld, 4.0, 0.6f, 0.0f);
  for (int bar = 48; bar < 60; ++bar) {
    c.note(c.bar(bar), 1.0, 38, 0.45f, Voice::kTimpani, -0.25f);
    c.note(c.bar(bar) + 1.0, 1.0, 38, 0.3f, Voice::kTimpani, -0.25f);
    c.drums(c.bar(bar), "o x o x o x o x", 0.5, Voice::kShaker, 0.3f, 0.4f);
  }
}

// Bars 60 to 67: the engine comes back under rising horns, the snare gathering, to B major.
void build(Composer& c) {
  c.line(c.bar(60), kRising, Voice::kHorn, 0.7f, -0.2f);
  c.line(c.bar(64), "D5:2 F5:2 | F5:2 D5:2 | E5:2 G5:2 | F#5:2 A5:2 |", Voice::kTrumpet, 0.7f,
         0.15f);
  figure(c, c.bar(60), kBuildChords, Voice::kPizzicato, 50, kGallop, 4.0, 0.45f, -0.35f);
  figure(c, c.bar(60), kBuildChords, Voice::kBass, 31, kPulse, 4.0, 0.75f, 0.0f);
  pad(c, c.bar(60), kBuildChords, Voice::kStrings, 55, 3, 0.4f);
  kick_bars(c, 60, 8, "x... x... x... x...", 0.8f);
  snare_bars(c, 60, 4, "x... x... x... x.o. |", 0.45f);
  snare_bars(c, 64, 3, "x.o. x.o. x.oo x.oo |", 0.55f);
  roll(c, c.bar(67), 4.0, 0.125, Voice::kSnare, 60, 0.3f, 0.9f, 0.1f);
  roll(c, c.bar(67), 4.0, 0.125, Voice::kTimpani, 35, 0.3f, 0.9f, -0.25f);
  for (int bar = 60; bar < 67; ++bar) c.note(c.bar(bar), 1.0, 38, 0.7f, Voice::kTimpani, -0.25f);
}

// Bars 68 to 83: the theme a tone higher, in full, with the strings an octave over it.
void high_theme(Composer& c) {
  const std::string theme = std::string(kThemeHead) + kThemeEnd;
  const std::string answer = std::string(kThemeHead) + kAnswerEnd;
  c.line(c.bar(68), theme, Voice::kTrumpet, 0.88f, 0.15f, 2);
  c.line(c.bar(68), theme, Voice::kStrings, 0.42f, 0.45f, 14);
  c.line(c.bar(68), theme, Voice::kHorn, 0.5f, -0.3f, -10);
  engine(c, c.bar(68), kHighThemeChords, 1.05f);
  pad(c, c.bar(68), kHighThemeChords, Voice::kHorn, 52, 3, 0.4f, 0.4f);
  c.line(c.bar(76), answer, Voice::kTrumpet, 0.9f, 0.15f, 2);
  c.line(c.bar(76), answer, Voice::kStrings, 0.5f, 0.45f, 14);
  c.line(c.bar(76), answer, Voice::kHorn, 0.55f, -0.3f, -10);
  engine(c, c.bar(76), kHighAnswerChords, 1.1f);
  pad(c, c.bar(76), kHighAnswerChords, Voice::kStrings, 57, 3, 0.32f);

  for (int bar = 68; bar < 84; bar += 2) {
    c.note(c.bar(bar), 1.0, bar == 74 || bar == 82 ? 35 : 40, 0.9f, Voice::kTimpani, -0.25f);
  }
  for (int bar = 68; bar < 84; ++bar) {
    c.drums(c.bar(bar), "x... ..x. x... ..x.", 0.25, Voice::kKick, 0.88f, 0.0f);
    c.drums(c.bar(bar), "x.x. x.x. x.x. x.x.", 0.25, Voice::kHat, 0.55f, 0.3f);
  }
  snare_bars(c, 68, 7, "x.oo x.oo x.oo xoxo |", 0.6f);
  c.drums(c.bar(75), "x.oo x.o. xoxo XxXx |", 0.25, Voice::kSnare, 0.6f, 0.1f);
  snare_bars(c, 76, 7, "X.oo x.oo X.oo xoxo |", 0.62f);
  c.drums(c.bar(83), "x.oo xoxo XoXo XXXX |", 0.25, Voice::kSnare, 0.62f, 0.1f);
  crash(c, 68, 0.85f);
  crash(c, 76, 0.8f);
}

// Bars 84 to 95: the coda finds its way back to D minor, and the low horns lead into the start.
void coda_and_outro(Composer& c) {
  c.line(c.bar(84), kCoda, Voice::kTrumpet, 0.8f, 0.15f);
  c.line(c.bar(84), kCoda, Voice::kHorn, 0.6f, -0.3f, -12);
  engine(c, c.bar(84), kCodaChords, 1.0f);
  pad(c, c.bar(84), kCodaChords, Voice::kStrings, 55, 3, 0.35f);
  kick_bars(c, 84, 8, "x... x... x... x...", 0.85f);
  snare_bars(c, 84, 7, "o.o. X.oo o.o. X.o. |", 0.55f);
  c.line(c.bar(91),
         "D3:1/2 D3:1/4 D3:1/4 A2:1/2 A2:1/4 A2:1/4 F2:1/2 F2:1/4 F2:1/4 D2:1/4 D2:1/4 "
         "D2:1/4 D2:1/4 |",
         Voice::kTom, 0.75f, -0.2f);
  crash(c, 84, 0.75f);
  for (int bar = 84; bar < 92; bar += 2) c.note(c.bar(bar), 1.0, 40, 0.8f, Voice::kTimpani, -0.25f);

  // Outro: the horns alone over the engine, ending on the dominant seventh; a roll on A into
  // the repeat.
  c.line(c.bar(92), kOutro, Voice::kHorn, 0.85f, -0.1f);
  engine(c, c.bar(92), kOutroChords, 0.95f);
  kick_bars(c, 92, 4, "x... ..x. x... ..x.", 0.85f);
  snare_bars(c, 92, 3, "x.o. x.o. x.oo x.xx |", 0.52f);
  roll(c, c.bar(95), 4.0, 0.125, Voice::kSnare, 60, 0.25f, 0.8f, 0.1f);
  roll(c, c.bar(95), 4.0, 0.125, Voice::kTimpani, 33, 0.3f, 0.9f, -0.25f);
  c.note(c.bar(92), 1.0, 38, 0.85f, Voice::kTimpani, -0.25f);
  c.note(c.bar(94), 1.0, 38, 0.85f, Voice::kTimpani, -0.25f);
  crash(c, 92, 0.6f);
}

}  // namespace

Score compose_battle() {
  Score s;
  s.tempo_bpm = 144.0;
  s.beats_per_bar = 4;
  s.bars = 96;
  s.reverb_wet = 0.18f;
  s.reverb_room = 0.78f;
  s.echo_beats = 0.5;
  s.echo_feedback = 0.2f;
  Composer c(s, 202);
  first_half(c);
  major_part(c);
  quiet_part(c);
  build(c);
  high_theme(c);
  coda_and_outro(c);
  return s;
}

}  // namespace audiogen
