#include "platform/sdl_media_player.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A WAV file of silence, ms long.
void write_silence(const std::string& path, int ms) {
  const uint32_t rate = 22050;
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
  for (uint32_t i = 0; i < samples; ++i) u16(0);
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
    write_silence(short_track, 60);
    write_silence(long_track, 5000);
  }
  void TearDown() override {
    close_audio();
    SDL_Quit();
    std::filesystem::remove_all(dir);
  }
  // The next notification of the music player, within two seconds.
  bool next_notify(const SdlMusicPlayer& player, MediaPlayer::Notify* notify) {
    const Uint64 until = SDL_GetTicks64() + 2000;
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

TEST_F(MusicPlayerTest, TheEndOfATrackArrivesAsACompletedEvent) {
  SdlMusicPlayer player;
  ASSERT_TRUE(player.open(short_track.c_str())) << player.error_text();
  player.play(true);
  MediaPlayer::Notify n{};
  ASSERT_TRUE(next_notify(player, &n));
  EXPECT_EQ(n, MediaPlayer::Notify::kCompleted);
  // Rewound and played again, it completes again.
  player.rewind();
  player.play(true);
  ASSERT_TRUE(next_notify(player, &n));
  EXPECT_EQ(n, MediaPlayer::Notify::kCompleted);
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
