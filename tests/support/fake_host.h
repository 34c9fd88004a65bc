// The host of the test programs: answers with whatever the test set and logs all the game asked
// of the outside world (captions, message boxes, what was heard, closes), in order.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/silent_media_player.h"
#include "state/host.h"

class FakeHost : public Host {
 public:
  struct Box {
    std::string text;
    std::string caption;
  };

  FakeHost() = default;
  FakeHost(const FakeHost&) = delete;  // the players are pointed at from inside
  FakeHost& operator=(const FakeHost&) = delete;

  // What the next pass samples. The key presses are handed out once.
  PointerSample pointer;
  KeySample keys;
  bool escape = false;
  long passes = 0;

  // The log.
  std::vector<std::string> captions;
  std::vector<Box> boxes;
  std::vector<std::string> audio;  // "music 2", "sound 1", ...
  int closes = 0;
  // A long run (the monkey) sets a caption every pass; it keeps only the last one.
  bool keep_every_caption = true;

  void set_caption(const char* utf8) override {
    if (!keep_every_caption) captions.clear();
    captions.emplace_back(utf8);
  }
  void close_main_form() override { ++closes; }
  bool escape_down() override { return escape; }
  void message_box(const char* text, const char* caption) override {
    boxes.push_back(Box{text, caption});
  }
  void audio_event(const char* kind, int n) override {
    audio.push_back(std::string(kind) + " " + std::to_string(n));
  }
  MediaPlayer& music_player() override { return *music_; }
  MediaPlayer& sound_player() override { return *sound_; }
  PointerSample sample_pointer() override { return pointer; }
  KeySample sample_keys() override {
    const KeySample k = keys;
    keys.pressed = 0;
    return k;
  }
  long pass_number() const override { return passes; }

  // The numbers of the sound effects heard, in order, without the music.
  std::vector<int> sounds() const {
    std::vector<int> numbers;
    for (const std::string& a : audio) {
      if (a.rfind("sound ", 0) == 0) numbers.push_back(std::atoi(a.c_str() + 6));
    }
    return numbers;
  }

  // Players of the test's own in place of the silent ones; they must outlive the host's use.
  void use_players(MediaPlayer& music, MediaPlayer& sound) {
    music_ = &music;
    sound_ = &sound;
  }

 private:
  SilentMediaPlayer silent_music_;
  SilentMediaPlayer silent_sound_;
  MediaPlayer* music_ = &silent_music_;
  MediaPlayer* sound_ = &silent_sound_;
};
