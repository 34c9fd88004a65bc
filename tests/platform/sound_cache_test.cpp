// Sound effects read once each: a file that is no plain file of a sane size is refused before it
// is read, with a reason that names it, and is not tried again on every click.
#include "platform/sound_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sdl_media_player.h"

namespace {

namespace fs = std::filesystem;

class SoundCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER), 0) << SDL_GetError();
    std::string note;
    ASSERT_TRUE(open_audio(true, &note)) << SDL_GetError();
    dir = fs::temp_directory_path() / ("nevalt-sound-cache-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file(fs::path(NEVALT_DATA_DIR) / "se01.wav", dir / "good.wav");
  }
  void TearDown() override {
    close_audio();
    SDL_Quit();
    fs::remove_all(dir);
  }
  std::string path(const char* name) const { return (dir / name).string(); }
  fs::path dir;
};

TEST_F(SoundCacheTest, FilesThatAreNoPlainEffectAreRefusedNamingThemAndOnlyOnce) {
  fs::create_symlink("/dev/zero", dir / "zero.wav");
  fs::create_directory(dir / "folder.wav");
  ASSERT_EQ(mkfifo(path("fifo.wav").c_str(), 0600), 0);
  std::ofstream(dir / "huge.wav", std::ios::binary) << "RIFF";
  fs::resize_file(dir / "huge.wav", SoundCache::kMaxEffectBytes + 1);
  std::ofstream(dir / "noise.wav", std::ios::binary) << "this is no sound at all";
  const struct {
    const char* file;
    const char* said;  // a piece of the reason; nullptr: any
  } cases[] = {
      {"zero.wav", "not a regular file"}, {"folder.wav", "not a regular file"},
      {"fifo.wav", "not a regular file"}, {"huge.wav", "larger than 16 MB"},
      {"missing.wav", nullptr},           {"noise.wav", nullptr},
  };
  SoundCache cache;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string error;
    bool first = false;
    EXPECT_EQ(cache.get(path(c.file).c_str(), &error, &first), nullptr);
    EXPECT_TRUE(first);
    EXPECT_NE(error.find(path(c.file)), std::string::npos) << error;
    if (c.said != nullptr) {
      EXPECT_NE(error.find(c.said), std::string::npos) << error;
    }
    // Asked again, as the next click would: the same answer, without looking at the file.
    const int loads = cache.loads();
    std::string again;
    EXPECT_EQ(cache.get(path(c.file).c_str(), &again, &first), nullptr);
    EXPECT_FALSE(first);
    EXPECT_EQ(again, error);
    EXPECT_EQ(cache.loads(), loads);
  }
}

TEST_F(SoundCacheTest, AnEffectIsReadOnceAndKeptForTheRun) {
  SoundCache cache;
  std::string error;
  bool first = false;
  Mix_Chunk* chunk = cache.get(path("good.wav").c_str(), &error, &first);
  ASSERT_NE(chunk, nullptr) << error;
  EXPECT_EQ(cache.loads(), 1);
  // Gone from the disk, or replaced by something endless: the effect read at first use stays.
  fs::remove(dir / "good.wav");
  fs::create_symlink("/dev/zero", dir / "good.wav");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(cache.get(path("good.wav").c_str(), &error, &first), chunk);
  EXPECT_EQ(cache.loads(), 1);
}

TEST_F(SoundCacheTest, ThePlayerPlaysACachedEffectAndPassesOverARefusedOne) {
  fs::create_symlink("/dev/zero", dir / "zero.wav");
  SdlSoundPlayer player;
  for (int click = 0; click < 3; ++click) {
    EXPECT_TRUE(player.open(path("good.wav").c_str())) << player.error_text();
    player.play(false);
    EXPECT_FALSE(player.open(path("zero.wav").c_str()));
    EXPECT_NE(player.error_text().find("zero.wav"), std::string::npos) << player.error_text();
    player.play(false);
  }
  EXPECT_EQ(player.loads(), 2);
}

}  // namespace
