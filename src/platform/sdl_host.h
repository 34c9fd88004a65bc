// The real window: a fixed 640x480 picture shown at an integer scale, the 30 ms game tick and
// the 10 ms input tick on this one thread, the music and effects on SDL_mixer.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/host.h"
#include "platform/host_log.h"
#include "platform/input_script.h"

struct Game;

struct SdlHostOptions {
  int scale = 1;
  bool mute = false;
  std::string record_path;  // empty: no recording
  unsigned seed = 0;        // written into the recording
  long max_passes = -1;     // stop after this many passes; -1: run until the window closes
  bool keep_log = false;    // keep audio and message boxes for a state dump
  std::string font_file;    // for the message boxes
};

// Starts SDL's video. Fails with a message that says how to run without a display when the
// only video SDL can find is an offscreen one (unless SDL_VIDEODRIVER asks for exactly that).
bool init_video(std::string* error);

// A global pointer coordinate in picture pixels: relative to the window's client origin and
// divided by the scale, rounding down so that a pointer left of or above the window stays
// negative.
int to_picture(int global, int window_origin, int scale);

class SdlHost : public Host {
 public:
  // Opens the window and the audio and makes itself the host of g. nullptr with an error.
  static std::unique_ptr<SdlHost> create(Game& g, const SdlHostOptions& options,
                                         std::string* error);
  ~SdlHost() override;

  // Runs the two ticks until the main form is closed or max_passes passes have run.
  void run();

  void set_caption(const char* utf8) override;
  void close_main_form() override;
  bool escape_down() override { return pass_escape_; }
  void message_box(const char* text, const char* caption) override;
  MediaPlayer& music_player() override { return *music_; }
  MediaPlayer& sound_player() override { return *sound_; }
  PointerSample sample_pointer() override;
  void audio_event(const char* kind, int n) override;
  long pass_number() const override { return passes_; }

  const HostLog& log() const { return log_; }
  SDL_Window* window() const { return window_; }

 private:
  struct Box;

  SdlHost(Game& g, const SdlHostOptions& options);
  bool open(std::string* error);
  // The event loop of the window and of every message box: returns when *done, when the form
  // has closed or when the pass limit is reached.
  void loop(const bool* done);
  void handle_event(const SDL_Event& event);
  void handle_music_event(const SDL_Event& event);
  void run_pass();
  void present();
  void draw_box(const Box& box);
  bool stopped() const;

  Game& g_;
  SdlHostOptions options_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* frame_ = nullptr;  // img_main and any box, before scaling
  TTF_Font* box_font_ = nullptr;
  bool audio_open_ = false;
  std::unique_ptr<MediaPlayer> music_;
  std::unique_ptr<MediaPlayer> sound_;
  Uint32 music_event_ = 0;
  bool notify_pending_ = false;
  SDL_Event pending_event_{};

  Uint64 next_input_ = 0;
  Uint64 next_pass_ = 0;
  long passes_ = 0;
  bool pass_escape_ = false;
  bool ctrl_pressed_ = false;  // a Ctrl+key press since the last pass, for the recording
  Box* box_ = nullptr;         // the innermost open message box
  char caption_[128] = {};

  HostLog log_;
  std::FILE* record_ = nullptr;
  InputRecorder recorder_;
};
