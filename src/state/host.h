// What the game asks of the outside world. The SDL host gives a real window, timers and sound;
// the headless host runs passes on a virtual clock with scripted input and records what would
// have been heard or shown.
#pragma once

#include <cstdint>
#include <string>

// One media player (MediaPlayer1 for music, MediaPlayer2 for sound effects).
class MediaPlayer {
 public:
  enum class Notify { kCompleted, kSuperseded, kAborted, kFailed };
  virtual ~MediaPlayer() = default;
  // Opens the file by name, closing (and so stopping) the previous one. False on failure, with
  // the player's own wording in error_text().
  virtual bool open(const char* file_name) = 0;
  // Starts playback without blocking; with notify the end of playback is reported.
  virtual void play(bool notify) = 0;
  virtual void rewind() = 0;
  virtual std::string error_text() const = 0;
};

struct PointerSample {
  int x = 0;  // picture pixels; negative or beyond the picture outside the window
  int y = 0;
  bool left = false;
  bool right = false;
};

// The keys of assisted play, one bit each. Arrows scroll the view, Tab picks the next unit that
// can act, Space hurries the computer's turn, F11 fills the screen, M mutes, T shows the threat.
enum KeyBit : uint16_t {
  kKeyLeft = 1 << 0,
  kKeyRight = 1 << 1,
  kKeyUp = 1 << 2,
  kKeyDown = 1 << 3,
  kKeyTab = 1 << 4,
  kKeySpace = 1 << 5,
  kKeyF11 = 1 << 6,
  kKeyM = 1 << 7,
  kKeyT = 1 << 8,
};

// The keys as a pass sees them: which are down now, and which went down since the last pass
// (a press too short to be down at the sample still counts).
struct KeySample {
  uint16_t held = 0;
  uint16_t pressed = 0;
};

struct Game;

// Something that plays in place of the person at the mouse: the host asks it for the pointer
// and the buttons once before every pass, instead of reading the real pointer or a script.
class PointerDriver {
 public:
  virtual ~PointerDriver() = default;
  // It may look at the game as the last pass left it, never change it.
  virtual PointerSample next_sample(const Game& g) = 0;
  // True once it has nothing more to do; a headless run stops there.
  virtual bool finished() const { return false; }
};

class Host {
 public:
  virtual ~Host() = default;
  virtual void set_caption(const char* utf8) = 0;
  virtual void close_main_form() = 0;
  virtual bool escape_down() = 0;
  // Modal: returns when the player has closed it. The headless host records it instead.
  virtual void message_box(const char* text, const char* caption) = 0;
  virtual MediaPlayer& music_player() = 0;
  virtual MediaPlayer& sound_player() = 0;
  virtual PointerSample sample_pointer() = 0;
  // The keys of assisted play; a host without a keyboard has none down. The presses handed out
  // are not handed out again.
  virtual KeySample sample_keys() { return KeySample{}; }
  // Told of every track and effect started (kind "music" or "sound", its number), so the
  // headless host can log what a player would have heard.
  virtual void audio_event(const char* kind, int n) { (void)kind, (void)n; }
  // The pass counter of the host: the number of game ticks run so far.
  virtual long pass_number() const = 0;
};
