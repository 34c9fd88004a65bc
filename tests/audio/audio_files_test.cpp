// The generated music and sound files, opened the way the game opens them: through SDL_mixer.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>

#include "audiogen/pieces.h"

namespace {

using namespace audiogen;

std::string data_path(const char* file) {
  return std::string(NEVALT_DATA_DIR) + "/" + file;
}

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

class AudioFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    opened_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    Mix_Init(MIX_INIT_MP3);
    opened_ = opened_ && Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, 2, 1024) == 0;
  }
  static void TearDownTestSuite() {
    if (opened_) Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  void SetUp() override { ASSERT_TRUE(opened_) << "no audio device: " << SDL_GetError(); }

  static bool opened_;
};

bool AudioFiles::opened_ = false;

class MusicFile : public AudioFiles, public ::testing::WithParamInterface<TrackParam> {};

TEST_P(MusicFile, DecodesToTheRenderedLengthWithoutEncoderPadding) {
  const std::string path = data_path(track_file(GetParam().track));
  Mix_Music* music = Mix_LoadMUS(path.c_str());
  ASSERT_NE(music, nullptr) << path << ": " << Mix_GetError();
  EXPECT_EQ(Mix_GetMusicType(music), MUS_MP3);
  const double duration = Mix_MusicDuration(music);
  Mix_FreeMusic(music);

  const Score score = compose_track(GetParam().track);
  const double rendered = score.loop_beats() * 60.0 / score.tempo_bpm;
  EXPECT_GE(duration, 40.0);
  // The LAME tag tells the decoder to drop the encoder's delay and padding, so the file is
  // exactly as long as the loop: no extra silence at the joint.
  EXPECT_NEAR(duration, rendered, 0.002);
}

INSTANTIATE_TEST_SUITE_P(Music, MusicFile, ::testing::ValuesIn(kTrackParams),
                         [](const auto& info) { return stem(track_file(info.param.track)); });

// The largest sample magnitude of a file as SDL_mixer decodes it whole.
int decoded_peak(const std::string& path) {
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (chunk == nullptr) {
    ADD_FAILURE() << path << ": " << Mix_GetError();
    return 0;
  }
  const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
  int peak = 0;
  for (size_t i = 0; i < chunk->alen / sizeof(int16_t); ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  }
  Mix_FreeChunk(chunk);
  return peak;
}

// At the default volumes the mixer adds the music and an effect as they are and clamps the
// sum; with the loudest track under the loudest effect at their loudest moments, the sum still
// stays at or below -1 dBFS, so nothing a player hears ever clips.
TEST_F(AudioFiles, TheLoudestTrackAndTheLoudestEffectTogetherStayUnderMinusOneDbfs) {
  int music = 0;
  for (const TrackParam& t : kTrackParams) {
    music = std::max(music, decoded_peak(data_path(track_file(t.track))));
  }
  int effect = 0;
  for (Effect e : kEffects) effect = std::max(effect, decoded_peak(data_path(effect_file(e))));
  const double minus_one_dbfs = 32768.0 * std::pow(10.0, -1.0 / 20.0);
  EXPECT_GT(music, 0);
  EXPECT_GT(effect, 0);
  EXPECT_LE(music + effect, minus_one_dbfs) << "music " << music << ", effect " << effect;
}

struct EffectFileCase {
  Effect effect;
  double min_seconds;
  double max_seconds;
};
void PrintTo(const EffectFileCase& c, std::ostream* os) {
  *os << effect_file(c.effect);
}

class EffectFile : public AudioFiles, public ::testing::WithParamInterface<EffectFileCase> {};

TEST_P(EffectFile, DecodesShortAndQuietAtBothEnds) {
  const EffectFileCase& c = GetParam();
  const std::string path = data_path(effect_file(c.effect));
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  ASSERT_NE(chunk, nullptr) << path << ": " << Mix_GetError();

  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
  ASSERT_EQ(format, AUDIO_S16SYS);
  const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
  const size_t count = chunk->alen / sizeof(int16_t);
  const double seconds = static_cast<double>(count) / channels / rate;
  EXPECT_GE(seconds, c.min_seconds);
  EXPECT_LE(seconds, c.max_seconds);
  EXPECT_LT(seconds, 1.0);

  int peak = 0;
  for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  EXPECT_LT(peak, 32000);  // not clipped
  EXPECT_GT(peak, 6000);   // clearly audible
  for (int ch = 0; ch < channels; ++ch) {
    EXPECT_LE(std::abs(samples[ch]), 200) << "first frame";
    EXPECT_LE(std::abs(samples[count - channels + ch]), 200) << "last frame";
  }
  Mix_FreeChunk(chunk);
}

INSTANTIATE_TEST_SUITE_P(Sounds, EffectFile,
                         ::testing::Values(EffectFileCase{Effect::kConfirm, 0.08, 0.2},
                                           EffectFileCase{Effect::kCancel, 0.08, 0.25},
                                           EffectFileCase{Effect::kAttack, 0.35, 0.7}),
                         [](const auto& info) { return stem(effect_file(info.param.effect)); });

}  // namespace
