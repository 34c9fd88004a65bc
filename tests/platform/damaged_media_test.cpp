// The game's own music and sound files, damaged in the ways a disk or a copy damages files: the
// players refuse them with a reason, or play what is left (a track the game loops goes round
// what is left of it) or report its end. Never a crash, and never a track that falls silent
// without telling the game.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sdl_media_player.h"

namespace {

namespace fs = std::filesystem;

std::string read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Damage {
  const char* name;
  std::string (*apply)(const std::string& original);
};

const Damage kDamages[] = {
    {"empty", [](const std::string&) { return std::string(); }},
    {"first 2 KB", [](const std::string& s) { return s.substr(0, 2048); }},
    {"first 40 bytes", [](const std::string& s) { return s.substr(0, 40); }},
    {"header then zeros",
     [](const std::string& s) { return s.substr(0, 64) + std::string(4096, '\0'); }},
    {"random bytes",
     [](const std::string& s) {
       std::string out(s.size() < 8192 ? s.size() : 8192, '\0');
       uint32_t x = 12345;
       for (char& c : out) {
         x = x * 1103515245u + 12345u;
         c = static_cast<char>(x >> 24);
       }
       return out;
     }},
    {"every 97th byte flipped",
     [](const std::string& s) {
       std::string out = s.substr(0, 16384);
       for (size_t i = 0; i < out.size(); i += 97) out[i] = static_cast<char>(~out[i]);
       return out;
     }},
};

class DamagedMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER), 0) << SDL_GetError();
    std::string note;
    ASSERT_TRUE(open_audio(true, &note)) << SDL_GetError();
    dir = fs::temp_directory_path() / ("nevalt-damaged-media-" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    close_audio();
    SDL_Quit();
    fs::remove_all(dir);
  }
  // Waits up to `ms` for the music player's next notification.
  bool next_notify(const SdlMusicPlayer& player, MediaPlayer::Notify* notify, Uint64 ms) {
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
  fs::path dir;
};

TEST_F(DamagedMedia, AMusicFileIsRefusedWithAReasonOrPlaysOrEnds) {
  for (const char* track : {"tatsumakinotourai.mp3", "seisen.mp3"}) {
    const std::string original = read_bytes(fs::path(NEVALT_DATA_DIR) / track);
    ASSERT_FALSE(original.empty()) << track;
    for (const Damage& d : kDamages) {
      SCOPED_TRACE(std::string(track) + ", " + d.name);
      const fs::path file = dir / track;
      std::ofstream(file, std::ios::binary | std::ios::trunc) << d.apply(original);
      SdlMusicPlayer player;
      if (!player.open(file.string().c_str())) {
        EXPECT_FALSE(player.error_text().empty());
        continue;
      }
      player.play(true);
      // What is left either plays on, repeated by the mixer, or ends with a notification: a
      // remainder with nothing to decode stops the mixer's loop, which then reports it.
      MediaPlayer::Notify n{};
      if (next_notify(player, &n, 2000)) {
        EXPECT_TRUE(n == MediaPlayer::Notify::kCompleted || n == MediaPlayer::Notify::kFailed);
      } else {
        EXPECT_TRUE(Mix_PlayingMusic()) << "the track fell silent and nothing was said";
      }
    }
  }
}

TEST_F(DamagedMedia, AnEffectIsRefusedWithAReasonOrPlays) {
  for (const char* effect : {"se01.wav", "se03.wav"}) {
    const std::string original = read_bytes(fs::path(NEVALT_DATA_DIR) / effect);
    ASSERT_FALSE(original.empty()) << effect;
    for (const Damage& d : kDamages) {
      SCOPED_TRACE(std::string(effect) + ", " + d.name);
      const fs::path file = dir / effect;
      std::ofstream(file, std::ios::binary | std::ios::trunc) << d.apply(original);
      SdlSoundPlayer player;
      if (!player.open(file.string().c_str())) {
        EXPECT_FALSE(player.error_text().empty());
        continue;
      }
      player.play(false);
      SDL_Delay(20);
    }
  }
}

}  // namespace
