#include "game/audio.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "state/game.h"
#include "support/fake_host.h"

namespace {

using Notify = MediaPlayer::Notify;

// Remembers every command; files named in `missing` cannot be opened.
class RecordingPlayer : public MediaPlayer {
 public:
  std::vector<std::string> calls;
  std::set<std::string> missing;

  bool open(const char* file_name) override {
    calls.push_back(std::string("open ") + file_name);
    if (missing.count(file_name) != 0) {
      error_ = std::string("cannot open ") + file_name;
      return false;
    }
    error_.clear();
    return true;
  }
  void play(bool notify) override { calls.push_back(notify ? "play notify" : "play"); }
  void rewind() override { calls.push_back("rewind"); }
  std::string error_text() const override { return error_; }

 private:
  std::string error_;
};

// The fake host with players that remember every command.
class AudioHost : public FakeHost {
 public:
  RecordingPlayer music;
  RecordingPlayer sound;
  AudioHost() { use_players(music, sound); }
};

class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override { g->form.host = &host; }
  std::vector<std::string> box_texts() const {
    std::vector<std::string> texts;
    for (const auto& b : host.boxes) texts.push_back(b.text);
    return texts;
  }
  std::unique_ptr<Game> g = std::make_unique<Game>();
  AudioHost host;
};

using Calls = std::vector<std::string>;

TEST_F(AudioTest, EachTrackOpensItsFileAndPlaysAskingForTheEnd) {
  const struct {
    int n;
    const char* file;
  } cases[] = {
      {1, "tatsumakinotourai.mp3"}, {2, "seisen.mp3"}, {4, "senka.mp3"}, {5, "omegacentauri1.mp3"}};
  for (const auto& c : cases) {
    host.music.calls.clear();
    play_music(*g, c.n);
    EXPECT_EQ(host.music.calls, (Calls{std::string("open ") + c.file, "play notify"})) << c.n;
  }
  EXPECT_TRUE(host.sound.calls.empty());
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(AudioTest, NotificationsLoopACompletedTrackAndReportOnlyAFailure) {
  const struct {
    Notify notify;
    Calls calls;
    std::vector<std::string> boxes;
  } cases[] = {
      {Notify::kCompleted, {"rewind", "play notify"}, {}},
      {Notify::kFailed, {}, {"コマンドが失敗した"}},
      {Notify::kSuperseded, {}, {}},
      {Notify::kAborted, {}, {}},
  };
  for (const auto& c : cases) {
    host.music.calls.clear();
    host.boxes.clear();
    MediaPlayer1Notify(*g, c.notify);
    EXPECT_EQ(host.music.calls, c.calls) << static_cast<int>(c.notify);
    EXPECT_EQ(box_texts(), c.boxes) << static_cast<int>(c.notify);
    EXPECT_TRUE(host.sound.calls.empty());
  }
}

TEST_F(AudioTest, ATrackStartsAgainAsOftenAsItEnds) {
  play_music(*g, 2);
  for (int i = 0; i < 3; ++i) MediaPlayer1Notify(*g, Notify::kCompleted);
  EXPECT_EQ(host.music.calls, (Calls{"open seisen.mp3", "play notify", "rewind", "play notify",
                                     "rewind", "play notify", "rewind", "play notify"}));
  // Superseded by the next track: the old one is not restarted.
  play_music(*g, 1);
  MediaPlayer1Notify(*g, Notify::kSuperseded);
  EXPECT_EQ(host.music.calls.back(), "play notify");
  EXPECT_EQ(host.music.calls.size(), 10u);
}

TEST_F(AudioTest, ATrackThatCannotBeOpenedShowsThePlayersErrorAndTheGameGoesOn) {
  host.music.missing = {"senka.mp3"};
  play_music(*g, 4);
  EXPECT_EQ(host.music.calls, (Calls{"open senka.mp3"}));
  ASSERT_EQ(box_texts(), (std::vector<std::string>{"cannot open senka.mp3"}));
  EXPECT_FALSE(host.boxes[0].caption.empty());

  // The next track plays as usual.
  play_music(*g, 2);
  EXPECT_EQ(host.music.calls, (Calls{"open senka.mp3", "open seisen.mp3", "play notify"}));
  EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(AudioTest, SoundsPlayOnceAndAMissingOneIsSkippedSilently) {
  const struct {
    int n;
    const char* file;
    bool missing;
    Calls calls;
  } cases[] = {
      {1, "se01.wav", false, {"open se01.wav", "play"}},
      {2, "se02.wav", false, {"open se02.wav", "play"}},
      {3, "se03.wav", false, {"open se03.wav", "play"}},
      {3, "se03.wav", true, {"open se03.wav"}},
  };
  for (const auto& c : cases) {
    host.sound.calls.clear();
    host.sound.missing.clear();
    if (c.missing) host.sound.missing.insert(c.file);
    play_sound(*g, c.n);
    EXPECT_EQ(host.sound.calls, c.calls) << c.file;
  }
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_TRUE(host.music.calls.empty());
}

}  // namespace
