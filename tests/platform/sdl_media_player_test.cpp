#include "platform/sdl_media_player.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/mixed_output.h"

namespace {

// A mono WAV file holding one level for ms: 0 for silence, anything else a tone whose every
// sample sounds, so a zero in the mixer's output is a gap and not part of the sound.
void write_level(const std::string& path, int ms, int16_t level = 0, uint32_t rate = 22050) {
  const uint32_t samples = rate * static_cast<uint32_t>(ms) / 1000;
  const uint32_t data_bytes = samples * 2;
  std::ofstream f(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  f.write("RIFF", 4);
  u32(36 + data_bytes);
  f.write("WAVEfmt ", 8);
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  f.write("data", 4);
  u32(data_bytes);
  for (uint32_t i = 0; i < samples; ++i) u16(static_cast<uint16_t>(level));
}

TEST(MixerVolume, MapsPercentOntoTheMixersScale) {
  const struct {
    int percent, want;
  } cases[] = {{0, 0},  {100, MIX_MAX_VOLUME}, {50, 64}, {1, 1}, {30, 38}, {99, 127},
               {-5, 0}, {150, MIX_MAX_VOLUME}};
  for (const auto& c : cases) EXPECT_EQ(mixer_volume(c.percent), c.want) << c.percent;
}

class MusicPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER), 0) << SDL_GetError();
    std::string note;
    ASSERT_TRUE(open_audio(true, &note)) << SDL_GetError();
    dir = std::filesystem::temp_directory_path() /
          ("nevalt-music-" + std::to_string(getpid()) + "-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir);
    short_track = (dir / "short.wav").string();
    long_track = (dir / "long.wav").string();
    write_level(short_track, 60);
    write_level(long_track, 5000);
  }
  void TearDown() override {
    close_audio();
    SDL_Quit();
    std::filesystem::remove_all(dir);
  }
  // The next notification of the music player, within `ms`.
  bool next_notify(const SdlMusicPlayer& player, MediaPlayer::Notify* notify, Uint64 ms = 2000) {
    const Uint64 until = SDL_GetTicks64() + ms;
    SDL_Event e;
    while (SDL_GetTicks64() < until) {
      if (SDL_WaitEventTimeout(&e, 50) && e.type == SdlMusicPlayer::event_type()) {
        *notify = player.decode(e);
        return true;
      }
    }
    return false;
  }
  std::filesystem::path dir;
  std::string short_track;
  std::string long_track;
};

TEST_F(MusicPlayerTest, TheEndOfATrackPlayedOnceArrivesAsACompletedEvent) {
  SdlMusicPlayer player;
  ASSERT_TRUE(player.open(short_track.c_str())) << player.error_text();
  player.play(false);
  MediaPlayer::Notify n{};
  ASSERT_TRUE(next_notify(player, &n));
  EXPECT_EQ(n, MediaPlayer::Notify::kCompleted);
  EXPECT_FALSE(player.wants_notify());
  // Rewound and played again, it completes again.
  player.rewind();
  player.play(false);
  ASSERT_TRUE(next_notify(player, &n));
  EXPECT_EQ(n, MediaPlayer::Notify::kCompleted);
}

// What the mixer puts out, caught on the audio thread; read once the hook is removed (which
// takes the audio lock).
struct Heard {
  std::vector<int16_t> samples;  // interleaved stereo
};
void SDLCALL hear(void* udata, Uint8* stream, int len) {
  auto* h = static_cast<Heard*>(udata);
  const auto* s = reinterpret_cast<const int16_t*>(stream);
  h->samples.insert(h->samples.end(), s, s + len / 2);
}

// The game restarts a track it asked to hear of as soon as it ends. The mixer does it in its
// own callback, so the joint has no gap: a restart from the main thread lost the rest of the
// buffer in which the track ended, up to 46 ms.
TEST_F(MusicPlayerTest, ATrackPlayedForItsEndRepeatsWithoutAGapAndNeverEnds) {
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
  ASSERT_EQ(format, AUDIO_S16SYS);
  ASSERT_EQ(channels, 2);
  const std::string tone = (dir / "tone.wav").string();
  write_level(tone, 100, 12000, static_cast<uint32_t>(rate));

  Heard heard;
  heard.samples.reserve(static_cast<size_t>(rate) * 2 * 2);
  SdlMusicPlayer player;
  ASSERT_TRUE(player.open(tone.c_str())) << player.error_text();
  Mix_SetPostMix(hear, &heard);
  player.play(true);
  // Seven lengths of the track: six joints. Nobody answers a notification meanwhile.
  MediaPlayer::Notify n{};
  const bool notified = next_notify(player, &n, 700);
  const bool playing = Mix_PlayingMusic() != 0;
  Mix_SetPostMix(nullptr, nullptr);

  EXPECT_FALSE(notified) << "a notification of kind " << static_cast<int>(n);
  EXPECT_TRUE(playing);
  // From the first sound on, through every joint, nothing falls silent.
  size_t first = 0;
  while (2 * first < heard.samples.size() && heard.samples[2 * first] == 0) ++first;
  const size_t frames = heard.samples.size() / 2;
  // Three lengths of the track at least, however slowly a loaded machine runs the audio thread.
  ASSERT_GT(frames, first + static_cast<size_t>(rate) * 3 / 10) << "under 0.3 s was heard";
  const mixed_output::Silence gap = mixed_output::longest_silence(heard.samples, first, frames);
  EXPECT_EQ(gap.frames, 0u) << "silent from frame " << gap.start - first;
}

TEST_F(MusicPlayerTest, OpeningAnotherTrackSupersedesThePlayingOne) {
  SdlMusicPlayer player;
  ASSERT_TRUE(player.open(long_track.c_str()));
  player.play(true);
  ASSERT_TRUE(player.open(long_track.c_str()));
  MediaPlayer::Notify n{};
  ASSERT_TRUE(next_notify(player, &n));
  EXPECT_EQ(n, MediaPlayer::Notify::kSuperseded);
}

TEST_F(MusicPlayerTest, AMissingFileFailsToOpenWithAReason) {
  SdlMusicPlayer player;
  EXPECT_FALSE(player.open((dir / "nothing.mp3").string().c_str()));
  EXPECT_FALSE(player.error_text().empty());
  SdlSoundPlayer sound;
  EXPECT_FALSE(sound.open((dir / "nothing.wav").string().c_str()));
  EXPECT_FALSE(sound.error_text().empty());
  EXPECT_TRUE(sound.open(short_track.c_str())) << sound.error_text();
}

}  // namespace
