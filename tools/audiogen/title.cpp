// Title: a heroic march in B-flat major. A brass fanfare over timpani, the march theme on
// trumpets with oom-pah bass and off-beat horn chords, a quieter middle strain in G minor on
// horns and strings, and the theme again in full; its last bar climbs back to the fanfare.
#include <string>

#include "audiogen/arrange.h"
#include "audiogen/pieces.h"

namespace audiogen {

namespace {

constexpr const char* kIntroChords = "Bb:4 | Eb:2 Bb:2 | Gm:2 Eb:2 | F:4 |";
constexpr const char* kThemeChords = "Bb:4 | Bb:4 | Eb:4 | Bb:4 | Gm:4 | Eb:4 | C:4 | F:4 |";
constexpr const char* kStrainChords = "Gm:4 | Eb:4 | Bb:4 | F:4 | Gm:4 | Cm:4 | Eb:4 | F:4 |";
constexpr const char* kReprise = "Bb:4 | Bb:4 | Eb:4 | Bb:4 | Gm:4 | Eb:4 | F:4 | F7:4 |";

constexpr const char* kFanfare =
    "Bb4:1/2^ Bb4:1/4 Bb4:1/4 F5:3 | Eb5:1/2^ Eb5:1/4 Eb5:1/4 G5:1 F5:2 |"
    "D5:1/2^ D5:1/4 D5:1/4 Bb5:1 G5:2 | A5:2 F5:1 C5:1 |";

// The first six bars of the march theme; each statement ends its own way.
constexpr const char* kThemeHead =
    "F4:3/4 Bb4:1/4 Bb4:1^ D5:1 F5:1 | F5:3/2 Eb5:1/2 D5:1 C5:1 |"
    "Eb5:3/4 D5:1/4 C5:1 G5:3/2^ Eb5:1/2 | D5:2 Bb4:1 F4:1 |"
    "G4:3/4 Bb4:1/4 D5:1 G5:3/2^ F5:1/2 | Eb5:1 G5:1 Bb5:3/2^ G5:1/2 | ";
constexpr const char* kThemeEnd = "G5:3/2 F5:1/2 E5:1 G5:1 | F5:3 r:1 |";
constexpr const char* kRepriseEnd = "C5:3/2 D5:1/2 Eb5:1 C5:1 | F5:1^ Eb5:1 C5:1 A4:1 |";

constexpr const char* kStrain =
    "D5:3/2 D5:1/2 G5:1 D5:1 | Eb5:3/2 D5:1/2 C5:1 Bb4:1 | F5:3/2 F5:1/2 Bb5:1 F5:1 |"
    "A5:3/2 G5:1/2 F5:2 | G5:1 F5:1/2 Eb5:1/2 D5:1 G5:1 | Eb5:1 D5:1/2 C5:1/2 G4:2 |"
    "Bb4:1 C5:1 Eb5:1 G5:1 | F5:2 Eb5:1/2 D5:1/2 C5:1/2 A4:1/2 |";

void march_accompaniment(Composer& c, double beat, const char* chords, float level) {
  // Oom-pah: bass note on one, the fifth on three; the tuba (low horn) doubles it.
  const std::vector<Stroke> oom_pah = {{0.0, -1, 0.9}, {2.0, 2, 0.9, 0.85f}};
  figure(c, beat, chords, Voice::kBass, 34, oom_pah, 4.0, 0.85f * level, 0.0f);
  figure(c, beat, chords, Voice::kHorn, 46, oom_pah, 4.0, 0.5f * level, -0.1f);
  // Short chords on the off-beats, two and four.
  std::vector<Stroke> stabs;
  for (double at : {1.0, 3.0}) {
    for (int tone = 0; tone < 3; ++tone) stabs.push_back({at, tone, 0.35});
  }
  figure(c, beat, chords, Voice::kHorn, 55, stabs, 4.0, 0.42f * level, 0.35f);
  figure(c, beat, chords, Voice::kPizzicato, 62, stabs, 4.0, 0.35f * level, -0.4f);
}

}  // namespace

Score compose_title() {
  Score s;
  s.tempo_bpm = 112.0;
  s.beats_per_bar = 4;
  s.bars = 28;
  s.reverb_wet = 0.22f;
  s.reverb_room = 0.80f;
  s.echo_beats = 0.75;
  s.echo_feedback = 0.18f;
  Composer c(s, 101);

  // Fanfare: trumpets with horns an octave below over held horn chords and timpani.
  c.line(c.bar(0), kFanfare, Voice::kTrumpet, 0.9f, 0.15f);
  c.line(c.bar(0), kFanfare, Voice::kHorn, 0.7f, -0.3f, -12);
  pad(c, c.bar(0), kIntroChords, Voice::kStrings, 50, 4, 0.55f);
  figure(c, c.bar(0), kIntroChords, Voice::kBass, 34, {{0.0, -1, 1.5}}, 4.0, 0.9f, 0.0f);
  for (int bar = 0; bar < 3; ++bar) {
    c.note(c.bar(bar), 1.0, 46, 0.95f, Voice::kTimpani, -0.2f);
    c.note(c.bar(bar) + 2.0, 1.0, 41, 0.75f, Voice::kTimpani, -0.2f);
  }
  roll(c, c.bar(3), 3.5, 0.125, Voice::kTimpani, 41, 0.3f, 0.85f, -0.2f);
  c.drums(c.bar(0), "X... .... X... .... | X... .... X... .... | X... .... X..x x.xx |", 0.25,
          Voice::kSnare, 0.6f, 0.1f);
  roll(c, c.bar(3), 4.0, 0.125, Voice::kSnare, 60, 0.2f, 0.75f, 0.1f);

  // The march theme.
  const std::string theme = std::string(kThemeHead) + kThemeEnd;
  c.line(c.bar(4), theme, Voice::kTrumpet, 0.78f, 0.15f);
  march_accompaniment(c, c.bar(4), kThemeChords, 1.0f);

  // The middle strain: the tune passes to horns and strings, softer, then builds.
  c.line(c.bar(12), kStrain, Voice::kHorn, 0.75f, -0.15f);
  c.line(c.bar(12), kStrain, Voice::kStrings, 0.5f, 0.3f);
  pad(c, c.bar(12), kStrainChords, Voice::kStrings, 53, 3, 0.4f);
  const std::vector<Stroke> walk = {
      {0.0, -1, 0.9}, {1.0, 2, 0.45, 0.7f}, {2.0, 0, 0.9, 0.85f}, {3.0, 2, 0.45, 0.7f}};
  figure(c, c.bar(12), kStrainChords, Voice::kBass, 31, walk, 4.0, 0.8f, 0.0f);

  // The theme in full: trumpets, strings an octave below, horns holding the harmony.
  const std::string reprise = std::string(kThemeHead) + kRepriseEnd;
  c.line(c.bar(20), reprise, Voice::kTrumpet, 0.92f, 0.15f);
  c.line(c.bar(20), reprise, Voice::kStrings, 0.55f, -0.35f, -12);
  pad(c, c.bar(20), kReprise, Voice::kStrings, 58, 4, 0.35f);
  march_accompaniment(c, c.bar(20), kReprise, 1.1f);
  c.note(c.bar(20), 1.0, 46, 1.0f, Voice::kTimpani, -0.2f);
  c.note(c.bar(24), 1.0, 43, 0.9f, Voice::kTimpani, -0.2f);
  roll(c, c.bar(27) + 2.0, 2.0, 0.125, Voice::kTimpani, 41, 0.35f, 0.9f, -0.2f);

  // Drums: bass drum on one and three, the march cadence on the snare, cymbals at each
  // section.
  for (int bar = 4; bar < 28; ++bar) {
    c.drums(c.bar(bar), "x... .... x... ....", 0.25, Voice::kKick,
            bar >= 12 && bar < 20 ? 0.6f : 0.85f, 0.0f);
  }
  const char* cadence = "x..o x.o. x..o x.xx |";
  for (int bar = 4; bar < 11; ++bar) c.drums(c.bar(bar), cadence, 0.25, Voice::kSnare, 0.6f, 0.1f);
  c.drums(c.bar(11), "x..o x.o. xxxx XxXx |", 0.25, Voice::kSnare, 0.65f, 0.1f);
  for (int bar = 12; bar < 19; ++bar) {
    c.drums(c.bar(bar), "x... o.o. x... o.oo |", 0.25, Voice::kSnare, 0.45f, 0.1f);
  }
  c.drums(c.bar(19), "x... ", 0.25, Voice::kSnare, 0.5f, 0.1f);
  roll(c, c.bar(19) + 1.0, 3.0, 0.125, Voice::kSnare, 60, 0.2f, 0.8f, 0.1f);
  for (int bar = 20; bar < 27; ++bar) {
    c.drums(c.bar(bar), "X..o x.oo X..o x.xx |", 0.25, Voice::kSnare, 0.62f, 0.1f);
  }
  c.drums(c.bar(27), "X..o x.oo ", 0.25, Voice::kSnare, 0.62f, 0.1f);
  roll(c, c.bar(27) + 2.0, 2.0, 0.125, Voice::kSnare, 60, 0.25f, 0.85f, 0.1f);
  for (int bar : {0, 4, 20}) c.note(c.bar(bar), 2.0, 49, 0.85f, Voice::kCrash, 0.4f);
  c.note(c.bar(12), 2.0, 49, 0.55f, Voice::kCrash, 0.4f);
  return s;
}

}  // namespace audiogen
