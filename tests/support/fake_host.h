// A host for unit tests: answers with whatever the test set and remembers what the game asked.
#pragma once

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

  PointerSample pointer;
  bool escape = false;
  long passes = 0;
  std::vector<std::string> captions;
  std::vector<Box> boxes;
  bool closed = false;

  void set_caption(const char* utf8) override { captions.emplace_back(utf8); }
  void close_main_form() override { closed = true; }
  bool escape_down() override { return escape; }
  void message_box(const char* text, const char* caption) override {
    boxes.push_back(Box{text, caption});
  }
  MediaPlayer& music_player() override { return music_; }
  MediaPlayer& sound_player() override { return sound_; }
  PointerSample sample_pointer() override { return pointer; }
  long pass_number() const override { return passes; }

 private:
  SilentMediaPlayer music_;
  SilentMediaPlayer sound_;
};
