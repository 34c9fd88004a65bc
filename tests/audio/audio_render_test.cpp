#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "audiogen/analysis.h"
#include "audiogen/compose.h"
#include "audiogen/pieces.h"

namespace {

using namespace audiogen;

std::string stem(const char* file) {
  const std::string name = file;
  return name.substr(0, name.find('.'));
}

// Parameters print as their file names in test listings.
struct TrackParam {
  Track track;
};
void PrintTo(const TrackParam& p, std::ostream* os) {
  *os << track_file(p.track);
}

const TrackParam kTrackParams[] = {
    {Track::kTitle}, {Track::kBattle}, {Track::kIntermission}, {Track::kEnding}};

std::string track_name(const ::testing::TestParamInfo<TrackParam>& info) {
  return stem(track_file(info.param.track));
}

Pcm sine_loop(size_t frames, double cycles, float amplitude) {
  Pcm pcm(frames);
  for (size_t i = 0; i < frames; ++i) {
    const float v = amplitude * static_cast<float>(std::sin(2.0 * 3.14159265358979 * cycles *
                                                            static_cast<double>(i) / frames));
    pcm.left[i] = v;
    pcm.right[i] = -v;
  }
  return pcm;
}

struct JointCase {
  const char* name;
  double cycles;  // whole cycles join up; a fraction leaves the waveform cut
  bool seamless;
};
void PrintTo(const JointCase& c, std::ostream* os) {
  *os << c.name;
}

class LoopJointMeasure : public ::testing::TestWithParam<JointCase> {};

TEST_P(LoopJointMeasure, TellsACutWaveformFromAContinuousOne) {
  const JointCase& c = GetParam();
  const LoopJoint joint = measure_loop_joint(sine_loop(20000, c.cycles, 0.5f));
  EXPECT_EQ(seamless(joint), c.seamless) << "jump " << joint.jump << " nearby " << joint.local_step;
}

INSTANTIATE_TEST_SUITE_P(Synthetic, LoopJointMeasure,
                         ::testing::Values(JointCase{"WholeCycles", 200.0, true},
                                           JointCase{"CutAtThePeak", 200.25, false},
                                           JointCase{"CutPartWay", 200.1, false},
                                           JointCase{"Silence", 0.0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuietRun, IsCountedAroundTheLoopThroughTheJoint) {
  struct Case {
    const char* name;
    size_t quiet_at_start;
    size_t quiet_at_end;
    size_t quiet_inside;  // a run in the middle
    size_t want;
  };
  const Case cases[] = {
      {"none", 0, 0, 0, 0},
      {"across the joint", 5, 10, 0, 15},
      {"inside, longer than at the joint", 2, 3, 40, 40},
      {"only at the start", 7, 0, 0, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pcm pcm(1000);
    for (size_t i = 0; i < pcm.frames(); ++i) pcm.left[i] = pcm.right[i] = 0.5f;
    const auto hush = [&](size_t from, size_t count) {
      for (size_t i = from; i < from + count; ++i) pcm.left[i] = pcm.right[i] = 0.0f;
    };
    hush(0, c.quiet_at_start);
    hush(pcm.frames() - c.quiet_at_end, c.quiet_at_end);
    hush(500, c.quiet_inside);
    EXPECT_EQ(longest_quiet_run(pcm, 0.001f), c.want);
  }
}

class RenderedTrack : public ::testing::TestWithParam<TrackParam> {};

TEST_P(RenderedTrack, IsALongCleanSeamlessLoop) {
  const Score score = compose_track(GetParam().track);
  const Pcm pcm = render_loop(score);

  const double seconds = static_cast<double>(pcm.frames()) / kSampleRate;
  EXPECT_GE(seconds, 40.0);
  EXPECT_LE(seconds, 180.0);
  EXPECT_NEAR(seconds, score.loop_beats() * 60.0 / score.tempo_bpm, 1.0 / kSampleRate);
  ASSERT_EQ(pcm.left.size(), pcm.right.size());

  for (size_t i = 0; i < pcm.frames(); ++i) {
    ASSERT_TRUE(std::isfinite(pcm.left[i]) && std::isfinite(pcm.right[i])) << "frame " << i;
  }
  // The music's share of the headroom, and loud enough within it to be heard.
  const float peak = peak_level(pcm);
  EXPECT_LE(peak, kMusicPeak + 1e-6f);
  EXPECT_GE(peak, 0.95f * kMusicPeak);
  EXPECT_GE(rms_level(pcm), 0.15f * kMusicPeak);

  const LoopJoint joint = measure_loop_joint(pcm);
  EXPECT_TRUE(seamless(joint)) << "jump " << joint.jump << " nearby " << joint.local_step;
  // The music never drops out, at the joint or anywhere else: no millisecond under -60 dBFS.
  EXPECT_LT(longest_quiet_run(pcm, 0.001f), static_cast<size_t>(kSampleRate / 1000));
}

TEST_P(RenderedTrack, NotesStayInsideTheLoopAndTheInstrumentsRange) {
  const Score score = compose_track(GetParam().track);
  ASSERT_GT(score.notes.size(), 200u);
  for (const Note& n : score.notes) {
    EXPECT_GE(n.beat, -0.5);
    EXPECT_LT(n.beat, score.loop_beats());
    EXPECT_GT(n.beats, 0.0);
    EXPECT_GT(n.velocity, 0.0f);
    EXPECT_LE(n.velocity, 1.0f);
    EXPECT_GE(n.pitch, 24);
    EXPECT_LE(n.pitch, 100);
    EXPECT_LE(std::fabs(n.pan), 1.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(Music, RenderedTrack, ::testing::ValuesIn(kTrackParams), track_name);

// The battle track plays through whole turns, so it is long, and it does not go round in one
// phrase: every four bars differ from every other four, notes and instruments together.
TEST(RenderedTrack, TheBattleTrackLastsTwoAndAHalfMinutesWithoutARepeatedPhrase) {
  const Score score = compose_track(Track::kBattle);
  EXPECT_GE(score.loop_beats() * 60.0 / score.tempo_bpm, 150.0);
  ASSERT_EQ(score.bars % 4, 0);
  const double phrase_beats = 4.0 * score.beats_per_bar;
  using Struck = std::tuple<long, int, int>;  // when (in 48ths of a beat), pitch, voice
  std::vector<std::vector<Struck>> phrases(static_cast<size_t>(score.bars / 4));
  for (const Note& n : score.notes) {
    const double beat = std::fmod(n.beat + score.loop_beats(), score.loop_beats());
    const auto phrase = static_cast<size_t>(beat / phrase_beats);
    const long at = std::lround((beat - static_cast<double>(phrase) * phrase_beats) * 48.0);
    phrases[phrase].emplace_back(at, n.pitch, static_cast<int>(n.voice));
  }
  for (std::vector<Struck>& p : phrases) std::sort(p.begin(), p.end());
  for (size_t i = 0; i < phrases.size(); ++i) {
    EXPECT_FALSE(phrases[i].empty()) << "phrase " << i;
    for (size_t j = i + 1; j < phrases.size(); ++j) {
      EXPECT_NE(phrases[i], phrases[j]) << "bars " << 4 * i << " and " << 4 * j;
    }
  }
}

TEST(RenderedTrack, SameNotesRenderTheSameSamples) {
  const Pcm first = render_track(Track::kBattle);
  const Pcm second = render_track(Track::kBattle);
  ASSERT_EQ(first.frames(), second.frames());
  EXPECT_TRUE(first.left == second.left && first.right == second.right);
}

struct EffectCase {
  Effect effect;
  double min_seconds;
  double max_seconds;
};
void PrintTo(const EffectCase& c, std::ostream* os) {
  *os << effect_file(c.effect);
}

class RenderedEffect : public ::testing::TestWithParam<EffectCase> {};

TEST_P(RenderedEffect, IsShortAndStartsAndEndsInSilence) {
  const EffectCase& c = GetParam();
  const Pcm pcm = render_effect(c.effect);
  const double seconds = static_cast<double>(pcm.frames()) / kSampleRate;
  EXPECT_GE(seconds, c.min_seconds);
  EXPECT_LE(seconds, c.max_seconds);
  const float peak = peak_level(pcm);
  EXPECT_LE(peak, kEffectPeak + 1e-6f);
  EXPECT_GE(peak, 0.5f * kEffectPeak);
  const LoopJoint ends = measure_loop_joint(pcm);
  EXPECT_LE(ends.edge, 1e-3f);
  // The fade-in: the first millisecond stays well below the peak.
  for (size_t i = 0; i < kSampleRate / 1000; ++i) {
    EXPECT_LE(std::fabs(pcm.left[i]), 0.5f * peak) << "frame " << i;
  }
  const Pcm again = render_effect(c.effect);
  EXPECT_TRUE(again.left == pcm.left && again.right == pcm.right);
}

INSTANTIATE_TEST_SUITE_P(Sounds, RenderedEffect,
                         ::testing::Values(EffectCase{Effect::kConfirm, 0.08, 0.2},
                                           EffectCase{Effect::kCancel, 0.08, 0.25},
                                           EffectCase{Effect::kAttack, 0.35, 0.7}),
                         [](const auto& info) { return stem(effect_file(info.param.effect)); });

TEST(Notation, PitchesAreMidiNumbers) {
  const struct {
    const char* text;
    int pitch;
  } cases[] = {{"C4", 60},  {"A4", 69},  {"Bb3", 58},  {"F#5", 78},
               {"Cb4", 59}, {"B#3", 60}, {"Ebb4", 62}, {"C0", 12}};
  for (const auto& c : cases) EXPECT_EQ(parse_pitch(c.text), c.pitch) << c.text;
  for (const char* bad : {"", "H4", "C", "c4", "C#", "C10", "Cx4"}) {
    EXPECT_THROW(parse_pitch(bad), std::invalid_argument) << bad;
  }
}

TEST(Notation, ChordsKnowTheirTonesAndBass) {
  const Chord bb = parse_chord("Bb");
  EXPECT_EQ(bb.tone(0, 34), 34);  // Bb1
  EXPECT_EQ(bb.tone(2, 34), 41);  // F2
  EXPECT_EQ(bb.tone(3, 34), 46);  // the root an octave up
  EXPECT_EQ(bb.voicing(55, 3), (std::vector<int>{58, 62, 65}));
  EXPECT_EQ(bb.voicing(55, 4), (std::vector<int>{58, 62, 65, 70}));

  EXPECT_EQ(parse_chord("Gm").intervals, (std::vector<int>{0, 3, 7}));
  EXPECT_EQ(parse_chord("F7").intervals, (std::vector<int>{0, 4, 7, 10}));
  EXPECT_EQ(parse_chord("C#dim").root, 1);
  const Chord c_over_e = parse_chord("C/E");
  EXPECT_EQ(c_over_e.root, 0);
  EXPECT_EQ(c_over_e.bass_pitch(31), 40);  // E2
  for (const char* bad : {"", "Cblah", "H", "C/", "C/X"}) {
    EXPECT_THROW(parse_chord(bad), std::invalid_argument) << bad;
  }
}

TEST(Notation, LinesPlaceNotesAndCheckBarLines) {
  Score score;
  score.beats_per_bar = 4;
  score.bars = 2;
  Composer c(score, 1);
  const double end =
      c.line(0.0, "C4:1 r:1/2 E4+G4:5/2 | G4:3/2^ A4:5/2'|", Voice::kFlute, 0.5f, 0.0f);
  EXPECT_DOUBLE_EQ(end, 8.0);
  ASSERT_EQ(score.notes.size(), 5u);
  EXPECT_DOUBLE_EQ(score.notes[0].beat, 0.0);
  EXPECT_EQ(score.notes[1].pitch, 64);
  EXPECT_EQ(score.notes[2].pitch, 67);
  EXPECT_DOUBLE_EQ(score.notes[1].beat, 1.5);
  EXPECT_DOUBLE_EQ(score.notes[2].beat, 1.5);
  EXPECT_GT(score.notes[3].velocity, score.notes[0].velocity);  // accented
  EXPECT_LT(score.notes[4].beats, score.notes[3].beats);        // staccato, though longer

  // A phrase one beat short of its bar line is a composing mistake, not a silent drift.
  EXPECT_THROW(c.line(0.0, "C4:1 D4:2 | E4:4 |", Voice::kFlute, 0.5f, 0.0f), std::invalid_argument);
  EXPECT_THROW(c.drums(0.0, "x.x.x.x.x.x.x.x |", 0.25, Voice::kSnare, 0.5f, 0.0f),
               std::invalid_argument);
  EXPECT_THROW(c.line(0.0, "C4", Voice::kFlute, 0.5f, 0.0f), std::invalid_argument);
}

}  // namespace
