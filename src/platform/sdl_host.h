// The real window: a fixed 640x480 picture shown at an integer scale, the 30 ms game tick and
// the 10 ms input tick on this one thread, the music and effects on SDL_mixer.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/debug_panel.h"
#include "platform/input_script.h"
#include "state/host.h"
#include "state/host_log.h"

struct Game;
class FrameGate;
struct MessageBox;

struct SdlHostOptions {
  int scale = 1;
  bool mute = false;
  int music_volume = 100;   // percent
  int sound_volume = 100;   // percent
  int enemy_speed = 1;      // passes per tick during the computer's turn, 1 to 8
  bool debug = false;       // show ListBox1 and its buttons right of the picture
  bool fullscreen = false;  // open filling the screen, as F11 of assisted play leaves it
  std::string record_path;  // empty: no recording
  unsigned seed = 0;        // written into the recording
  long max_passes = -1;     // stop after this many passes; -1: run until the window closes
  bool keep_log = false;    // keep audio and message boxes for a state dump
  std::string font_file;    // for the message boxes
  // Plays in place of the mouse: its samples replace the real pointer and buttons (the picture
  // still shows). Not owned.
  PointerDriver* driver = nullptr;
};

// Starts SDL's video. Fails with a message that says how to run without a display when the
// only video SDL can find is an offscreen one (unless SDL_VIDEODRIVER asks for exactly that).
bool init_video(std::string* error);

// A global pointer coordinate in picture pixels: relative to the window's client origin and
// divided by the scale, rounding down so that a pointer left of or above the window stays
// negative.
int to_picture(int global, int window_origin, int scale);

// How many passes one 30 ms tick runs while the game is in `scene`: enemy_speed (clamped to 1
// to 8) during the computer's turn, one otherwise. The host asks again before each further pass
// of a tick, so the pass that hands the turn back ends the fast pace at once.
int passes_this_tick(int scene, int enemy_speed);

// The input tick the loop should take next while passes run: of the ticks due from `next_input`
// every `period` ms, the last one due at or before the pass at `next_pass` (or `next_input` itself
// when none is). A pass reads only the sample of the last tick before it, so the earlier ones
// would be overwritten unread; skipping them saves two wake-ups of three.
Uint64 input_tick_before_pass(Uint64 next_input, Uint64 next_pass, Uint64 period);

// Where the frame goes in a full-screen window: the largest whole scale at which it fits (at
// least 1), centred, the rest of the screen left black.
struct FramePlacement {
  int x;
  int y;
  int scale;
};
FramePlacement place_frame(int window_w, int window_h, int frame_w, int frame_h);

class SdlHost : public Host {
 public:
  // Opens the window and the audio and makes itself the host of g. nullptr with an error.
  static std::unique_ptr<SdlHost> create(Game& g, const SdlHostOptions& options,
                                         std::string* error);
  ~SdlHost() override;

  // Runs the two ticks until the main form is closed or max_passes passes have run.
  void run();
  // Writes the recording's last line and closes it. False, with the reason, when any line of it
  // could not be written: the recording is then incomplete.
  bool finish_recording(std::string* error);

  void set_caption(const char* utf8) override;
  void close_main_form() override;
  bool escape_down() override { return pass_escape_; }
  void message_box(const char* text, const char* caption) override;
  MediaPlayer& music_player() override { return *music_; }
  MediaPlayer& sound_player() override { return *sound_; }
  PointerSample sample_pointer() override;
  KeySample sample_keys() override;
  void audio_event(const char* kind, int n) override;
  long pass_number() const override { return passes_; }
  // Timer2 ticks taken so far (each extra pass of a fast tick takes one of its own too).
  long input_tick_number() const { return input_ticks_; }

  // Timer1 ticks run so far; each ran passes_this_tick passes.
  long tick_number() const { return ticks_; }
  const HostLog& log() const { return log_; }
  SDL_Window* window() const { return window_; }
  // The debug controls, or nullptr without them.
  const DebugPanel* debug_panel() const { return panel_.get(); }

 private:
  SdlHost(Game& g, const SdlHostOptions& options);
  bool open(std::string* error);
  // The event loop of the window and of every message box: returns when *done, when the form
  // has closed or when the pass limit is reached.
  void loop(const bool* done);
  void handle_event(const SDL_Event& event);
  void handle_music_event(const SDL_Event& event);
  // A pointer event for the debug controls; false when it is not theirs.
  bool handle_panel_event(const SDL_Event& event);
  // Handles every event already queued, without waiting.
  void drain_events(const bool* done);
  // One input tick, counted.
  void take_input_tick();
  // One Timer1 tick: its passes, each after an input tick of its own but the first.
  void run_tick(const bool* done);
  void run_pass();
  // Follows what assisted play asks of the window after a pass: muting, the full screen.
  void follow_assist();
  // Fills the screen or returns to the window. A window system that refuses is named on stderr;
  // the picture is then placed as if it had agreed, which in a window of the frame's size at the
  // chosen scale puts it where it always was.
  void set_fullscreen(bool on);
  // A window pixel as a pixel of the frame.
  int frame_x(int window_x) const;
  int frame_y(int window_y) const;
  FramePlacement placement() const;
  void present();
  bool stopped() const;
  // Appends to the recording; false (and record_error_ set) when the write fails.
  bool record_text(const std::string& text);

  Game& g_;
  SdlHostOptions options_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* frame_ = nullptr;      // img_main and any box, before scaling
  std::unique_ptr<FrameGate> shown_;  // the picture the window last showed
  TTF_Font* box_font_ = nullptr;
  std::unique_ptr<DebugPanel> panel_;
  bool audio_open_ = false;
  std::unique_ptr<MediaPlayer> music_;
  std::unique_ptr<MediaPlayer> sound_;
  Uint32 music_event_ = 0;
  bool notify_pending_ = false;
  SDL_Event pending_event_{};

  Uint64 next_input_ = 0;
  Uint64 next_pass_ = 0;
  long passes_ = 0;
  long ticks_ = 0;
  long input_ticks_ = 0;
  bool pass_escape_ = false;
  PointerSample driven_{};     // the driver's sample for the pass under way
  bool ctrl_pressed_ = false;  // a Ctrl+key press since the last pass, for the recording
  uint16_t keys_pressed_ = 0;  // KeyBit presses not yet handed to the game
  bool muted_ = false;         // as assisted play last asked
  bool fullscreen_ = false;
  MessageBox* box_ = nullptr;  // the innermost open message box
  char caption_[128] = {};

  HostLog log_;
  std::FILE* record_ = nullptr;
  std::string record_error_;  // the first failed write; nothing more is written after it
  InputRecorder recorder_;
};
