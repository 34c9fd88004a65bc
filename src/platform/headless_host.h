// The host without a window: passes run back to back on a virtual clock, the input comes from
// a script, and what would have been heard or shown is written to a log instead.
#pragma once

#include "platform/input_script.h"
#include "platform/silent_media_player.h"
#include "state/host.h"
#include "state/host_log.h"

struct Game;

class HeadlessHost : public Host {
 public:
  // Makes itself the host of g. Without keep_log the tracks, effects and message boxes are not
  // recorded (a run that writes no state dump needs none of it, and a long one would grow).
  explicit HeadlessHost(Game& g, bool keep_log = true);
  ~HeadlessHost() override;

  // Runs `ticks` passes, or fewer when the game closes its main form. Before each pass the
  // input tick samples the script (and a Ctrl+key press of the script is delivered). With a
  // driver, the driver gives the pointer and the buttons instead of the script, and the run
  // also ends when the driver has finished.
  void run(const InputScript& script, long ticks, PointerDriver* driver = nullptr);

  void set_caption(const char* utf8) override { log_.caption = utf8; }
  void close_main_form() override;
  bool escape_down() override { return input_.escape; }
  void message_box(const char* text, const char* caption) override;
  MediaPlayer& music_player() override { return music_; }
  MediaPlayer& sound_player() override { return sound_; }
  PointerSample sample_pointer() override { return input_.pointer; }
  KeySample sample_keys() override { return input_.keys; }
  void audio_event(const char* kind, int n) override;
  long pass_number() const override { return passes_; }

  const HostLog& log() const { return log_; }

 private:
  Game& g_;
  SilentMediaPlayer music_;
  SilentMediaPlayer sound_;
  HostLog log_;
  PassInput input_;
  long passes_ = 0;
  bool keep_log_ = true;
};
