// A media player that plays nothing: it opens a file when the file can be read, reports the
// same failure a real player would for one that cannot, and never reports an end of playback.
// The headless host uses it, and the window when no audio device can be had at all.
#pragma once

#include <string>

#include "state/host.h"

class SilentMediaPlayer : public MediaPlayer {
 public:
  bool open(const char* file_name) override;
  void play(bool notify) override { (void)notify; }
  void rewind() override {}
  std::string error_text() const override { return error_; }

 private:
  std::string error_;
};
