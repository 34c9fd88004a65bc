#include "platform/sdl_host.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "game/assist_keys.h"
#include "game/audio.h"
#include "game/battle_suspend.h"
#include "game/game_tick.h"
#include "game/input.h"
#include "platform/frame_gate.h"
#include "platform/message_box.h"
#include "platform/sdl_media_player.h"
#include "platform/silent_media_player.h"
#include "state/game.h"
#include "state/scene.h"
#include "ui/surface.h"
#include "world/text.h"

namespace {

constexpr Uint64 kPassMs = 30;   // Timer1
constexpr Uint64 kInputMs = 10;  // Timer2
constexpr int kBoxFontPoints = 12;

bool driver_is(const char* driver, const char* name) {
  return driver != nullptr && SDL_strcasecmp(driver, name) == 0;
}

// The keys of assisted play and where the keyboard has them.
struct KeyOnBoard {
  SDL_Scancode scancode;
  uint16_t bit;
};
constexpr KeyOnBoard kAssistKeys[] = {
    {SDL_SCANCODE_LEFT, kKeyLeft}, {SDL_SCANCODE_RIGHT, kKeyRight}, {SDL_SCANCODE_UP, kKeyUp},
    {SDL_SCANCODE_DOWN, kKeyDown}, {SDL_SCANCODE_TAB, kKeyTab},     {SDL_SCANCODE_SPACE, kKeySpace},
    {SDL_SCANCODE_F11, kKeyF11},   {SDL_SCANCODE_M, kKeyM},         {SDL_SCANCODE_T, kKeyT}};

}  // namespace

bool init_video(std::string* error) {
  const char* how_to =
      "Nevalt needs a display for its window. Without one, run it headless:\n"
      "  nevalt --headless --ticks N [--input FILE] [--screenshot FILE] [--dump-state FILE]\n"
      "or under a virtual X server:\n"
      "  xvfb-run -s \"-screen 0 1024x768x24 -noreset\" nevalt";
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    *error = std::string("cannot open a window (") + SDL_GetError() + ").\n" + how_to;
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool offscreen = driver_is(driver, "offscreen") || driver_is(driver, "dummy");
  if (offscreen && !driver_is(asked, driver)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    *error = std::string("no display found (SDL fell back to its ") + driver + " video driver).\n" +
             how_to;
    return false;
  }
  return true;
}

int to_picture(int global, int window_origin, int scale) {
  const int d = global - window_origin;
  if (d >= 0) return d / scale;
  return -((-d + scale - 1) / scale);
}

int passes_this_tick(int scene, int enemy_speed) {
  // Every code from the hand-over to the computer to the hand-back to the player.
  if (scene < kSceneEnemyTurnPause) return 1;
  return std::clamp(enemy_speed, 1, 8);
}

Uint64 input_tick_before_pass(Uint64 next_input, Uint64 next_pass, Uint64 period) {
  if (period == 0 || next_input + period > next_pass) return next_input;
  return next_input + (next_pass - next_input) / period * period;
}

FramePlacement place_frame(int window_w, int window_h, int frame_w, int frame_h) {
  int scale = 1;
  if (frame_w > 0 && frame_h > 0)
    scale = std::max(1, std::min(window_w / frame_w, window_h / frame_h));
  return FramePlacement{(window_w - frame_w * scale) / 2, (window_h - frame_h * scale) / 2, scale};
}

SdlHost::SdlHost(Game& g, const SdlHostOptions& options) : g_(g), options_(options) {
  if (options_.scale < 1) options_.scale = 1;
}

std::unique_ptr<SdlHost> SdlHost::create(Game& g, const SdlHostOptions& options,
                                         std::string* error) {
  std::unique_ptr<SdlHost> host(new SdlHost(g, options));
  if (!host->open(error)) return nullptr;
  return host;
}

bool SdlHost::open(std::string* error) {
  const int s = options_.scale;
  const int width = client_width(options_.debug);
  // A 640x480 picture needs no GPU: the plain shared-memory framebuffer is cheaper than
  // spinning up GL (a software GL under Xvfb costs a core's worth of idle time).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Centred, unless the scaled window is larger than the screen: then from its top-left corner,
  // so the picture's origin stays visible.
  int x = SDL_WINDOWPOS_CENTERED;
  int y = SDL_WINDOWPOS_CENTERED;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
    if (width * s > usable.w) x = usable.x;
    if (kScreenHeight * s > usable.h) y = usable.y;
  }
  // Made full from the start, the window is given the screen's size before it is ever shown,
  // so it covers the screen even where no window manager would enlarge it; it keeps its own
  // size for the way back.
  fullscreen_ = options_.fullscreen;
  window_ = SDL_CreateWindow(tr(g_, "ネヴァルト"), x, y, width * s, kScreenHeight * s,
                             fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (window_ == nullptr) {
    *error = std::string("cannot open the window: ") + SDL_GetError();
    return false;
  }
  SDL_Surface* window_surface = SDL_GetWindowSurface(window_);
  if (window_surface == nullptr) {
    *error = std::string("cannot draw into the window: ") + SDL_GetError();
    return false;
  }
  // The frame has the window's own format, so scaling is a plain nearest-neighbour stretch.
  frame_ =
      SDL_CreateRGBSurfaceWithFormat(0, width, kScreenHeight, window_surface->format->BitsPerPixel,
                                     window_surface->format->format);
  if (frame_ == nullptr) {
    *error = std::string("cannot make the frame buffer: ") + SDL_GetError();
    return false;
  }
  // img_main is 640x480 of 4-byte pixels (ui/surface.cpp); any other picture is never skipped.
  shown_ = std::make_unique<FrameGate>(kScreenWidth, kScreenHeight, 4);
  if (!options_.font_file.empty()) {
    box_font_ = TTF_OpenFontDPI(options_.font_file.c_str(), kBoxFontPoints, 96, 96);
  }
  if (options_.debug) {
    panel_ = std::make_unique<DebugPanel>();
    if (!panel_->open(g_.form.fonts)) {
      *error = std::string("cannot make the debug panel: ") + SDL_GetError();
      return false;
    }
  }

  std::string note;
  audio_open_ = open_audio(options_.mute, &note);
  if (!note.empty()) SDL_Log("nevalt: %s", note.c_str());
  if (audio_open_) {
    set_audio_volumes(options_.music_volume, options_.sound_volume);
    music_ = std::make_unique<SdlMusicPlayer>();
    sound_ = std::make_unique<SdlSoundPlayer>();
    music_event_ = SdlMusicPlayer::event_type();
  } else {
    SDL_Log("nevalt: no audio at all (%s); running silent", SDL_GetError());
    music_ = std::make_unique<SilentMediaPlayer>();
    sound_ = std::make_unique<SilentMediaPlayer>();
  }

  if (!options_.record_path.empty()) {
    record_ = std::fopen(options_.record_path.c_str(), "w");
    if (record_ == nullptr) {
      *error = "cannot write the recording " + options_.record_path + ": " + std::strerror(errno);
      return false;
    }
    // A recording that cannot take its first lines (a full disk, a device like /dev/full) is
    // refused before the game starts rather than lost at its end.
    if (!record_text("# Nevalt input recording, seed " + std::to_string(options_.seed) +
                     "\n# PASS X Y LEFT RIGHT [ESC] [CTRL] [KEYS]\n")) {
      *error = record_error_;
      return false;
    }
  }
  if (options_.keep_log) {
    log_.audio.reserve(4096);
    log_.messages.reserve(64);
  }
  g_.form.host = this;
  return true;
}

SdlHost::~SdlHost() {
  music_.reset();
  sound_.reset();
  panel_.reset();
  if (audio_open_) close_audio();
  std::string ignored;
  finish_recording(&ignored);
  if (box_font_ != nullptr) TTF_CloseFont(box_font_);
  SDL_FreeSurface(frame_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  if (g_.form.host == this) g_.form.host = nullptr;
}

bool SdlHost::stopped() const {
  return g_.flow.closed || (options_.max_passes >= 0 && passes_ >= options_.max_passes);
}

void SdlHost::run() {
  const Uint64 now = SDL_GetTicks64();
  next_input_ = now;
  next_pass_ = now;
  present();
  const bool never = false;
  loop(&never);
}

void SdlHost::loop(const bool* done) {
  while (!*done && !stopped()) {
    Uint64 now = SDL_GetTicks64();
    // Between passes nothing but the next pass reads the samples (events are handled apart from
    // them), so only the last input tick due before it is taken, on its own time as ever. With
    // Timer1 off (a box opened inside a pass) every tick is taken: the box may close at any time
    // and the pass goes on with the last sample.
    if (g_.flow.timer1_enabled) {
      next_input_ = input_tick_before_pass(next_input_, next_pass_, kInputMs);
    }
    if (now >= next_input_) {
      take_input_tick();
      next_input_ += kInputMs;
      if (next_input_ <= now) next_input_ = now + kInputMs;
    }
    // Timer1 is off while a pass runs, so a box opened inside a pass runs only the input tick.
    if (g_.flow.timer1_enabled && now >= next_pass_) {
      run_tick(done);
      next_pass_ += kPassMs;
      if (next_pass_ <= now) next_pass_ = now + kPassMs;
      // Ticks that run late follow each other without a wait; what came in meanwhile is still
      // handled between them.
      drain_events(done);
      continue;
    }
    Uint64 deadline = next_input_;
    if (g_.flow.timer1_enabled) deadline = std::min(deadline, next_pass_);
    now = SDL_GetTicks64();
    const int wait = deadline > now ? static_cast<int>(deadline - now) : 0;
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, wait)) {
      handle_event(event);
      while (!*done && !stopped() && SDL_PollEvent(&event)) handle_event(event);
    }
  }
}

void SdlHost::drain_events(const bool* done) {
  SDL_Event event;
  while (!*done && !stopped() && SDL_PollEvent(&event)) handle_event(event);
}

void SdlHost::take_input_tick() {
  ++input_ticks_;
  input_tick(g_);
}

void SdlHost::run_tick(const bool* done) {
  ++ticks_;
  run_pass();
  for (int n = 1; n < passes_this_tick(g_.flow.scene, enemy_speed_now(g_, options_.enemy_speed));
       ++n) {
    // What arrived during the pass (the end of a track, a click, the close box) is handled
    // before the next one, as it would be between two ticks.
    drain_events(done);
    if (*done || stopped() || !g_.flow.timer1_enabled) break;
    take_input_tick();
    run_pass();
  }
  present();
}

void SdlHost::run_pass() {
  if (options_.driver != nullptr) {
    // One sample per pass, asked for just before it; the input tick then reads it.
    driven_ = options_.driver->next_sample(g_);
    input_tick(g_);
    if (driven_.x >= 0 && driven_.x < kScreenWidth && driven_.y >= 0 && driven_.y < kScreenHeight)
      img_unitMouseMove(g_, driven_.x, driven_.y);
  }
  PassInput in;
  in.pointer = PointerSample{g_.input.cursor_x, g_.input.cursor_y, g_.input.left_down != 0,
                             g_.input.right_down != 0};
  // While a box is open it has the keyboard, so the game window sees no Escape.
  in.escape = box_ == nullptr && SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE] != 0;
  in.ctrl_key = ctrl_pressed_;
  ctrl_pressed_ = false;
  in.keys = KeySample{g_.input.keys_held, g_.input.keys_pressed};
  pass_escape_ = in.escape;
  if (record_ != nullptr) {
    InputLine line;
    if (recorder_.record(passes_, in, &line) && record_error_.empty()) {
      // Told at once, so the player knows this game will not replay; it plays on regardless.
      if (!record_text(format_input_line(line) + "\n")) {
        SDL_Log("nevalt: %s; the game goes on without recording", record_error_.c_str());
      }
    }
  }

  game_tick(g_);
  ++passes_;
  if (g_.flow.assist) follow_assist();

  if (notify_pending_) {
    notify_pending_ = false;
    handle_music_event(pending_event_);
  }
}

void SdlHost::follow_assist() {
  const AssistState& a = g_.assist;
  if (a.muted != muted_) {
    muted_ = a.muted;
    if (audio_open_) {
      set_audio_volumes(muted_ ? 0 : options_.music_volume, muted_ ? 0 : options_.sound_volume);
    }
  }
  if (a.fullscreen != fullscreen_) set_fullscreen(a.fullscreen);
}

void SdlHost::set_fullscreen(bool on) {
  fullscreen_ = on;
  if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    SDL_Log("nevalt: cannot switch the full screen: %s", SDL_GetError());
  }
  if (shown_ != nullptr) shown_->invalidate();
}

FramePlacement SdlHost::placement() const {
  if (!fullscreen_ || frame_ == nullptr) return FramePlacement{0, 0, options_.scale};
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return place_frame(w, h, frame_->w, frame_->h);
}

int SdlHost::frame_x(int window_x) const {
  if (!fullscreen_) return window_x / options_.scale;
  const FramePlacement p = placement();
  return to_picture(window_x, p.x, p.scale);
}

int SdlHost::frame_y(int window_y) const {
  if (!fullscreen_) return window_y / options_.scale;
  const FramePlacement p = placement();
  return to_picture(window_y, p.y, p.scale);
}

void SdlHost::handle_event(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      FormClose(g_);
      close_main_form();
      return;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        FormClose(g_);
        close_main_form();
      }
      // A full screen of a new size needs the whole picture again, placed anew.
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
          (fullscreen_ && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
        shown_->invalidate();
        present();
      }
      return;
    case SDL_MOUSEMOTION: {
      // The box makes the main window modal: it gets no pointer moves meanwhile.
      if (box_ != nullptr || options_.driver != nullptr) return;
      const int x = frame_x(event.motion.x);
      const int y = frame_y(event.motion.y);
      if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight) img_unitMouseMove(g_, x, y);
      return;
    }
    case SDL_MOUSEBUTTONUP:
      if (box_ != nullptr) {
        if (event.button.button == SDL_BUTTON_LEFT &&
            box_->on_button(frame_x(event.button.x), frame_y(event.button.y))) {
          box_->done = true;
        }
        return;
      }
      handle_panel_event(event);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEWHEEL:
      if (box_ == nullptr) handle_panel_event(event);
      return;
    case SDL_KEYDOWN: {
      const SDL_Keycode key = event.key.keysym.sym;
      if (box_ != nullptr) {
        if (MessageBox::closes(key)) box_->done = true;
        return;
      }
      if (event.key.repeat != 0) return;
      const bool ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
      if (ctrl) ctrl_pressed_ = true;
      // With Ctrl the key only asks for the version.
      for (const KeyOnBoard& k : kAssistKeys) {
        if (!ctrl && event.key.keysym.scancode == k.scancode) keys_pressed_ |= k.bit;
      }
      FormKeyDown(g_, key, ctrl);
      return;
    }
    default:
      if (music_event_ != 0 && event.type == music_event_) handle_music_event(event);
      return;
  }
}

bool SdlHost::handle_panel_event(const SDL_Event& event) {
  if (panel_ == nullptr) return false;
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT) return false;
      panel_->press(frame_x(event.button.x), frame_y(event.button.y));
      break;
    case SDL_MOUSEBUTTONUP: {
      if (event.button.button != SDL_BUTTON_LEFT) return false;
      // Events are handled between passes only, so the listing never changes under a pass.
      const int button = panel_->release(frame_x(event.button.x), frame_y(event.button.y));
      if (button != 0) {
        click_debug_button(g_, button);
        panel_->scroll_to_end();
      }
      break;
    }
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) return false;
      panel_->scroll(g_, notches);
      break;
    }
    default:
      return false;
  }
  present();
  return true;
}

void SdlHost::handle_music_event(const SDL_Event& event) {
  // Notifications are handled between passes only; one that arrives while a box holds a pass
  // open waits for the end of that pass, and is judged then.
  if (!g_.flow.timer1_enabled) {
    pending_event_ = event;
    notify_pending_ = true;
    return;
  }
  const auto& music = static_cast<const SdlMusicPlayer&>(*music_);
  const MediaPlayer::Notify notify = music.decode(event);
  if (notify == MediaPlayer::Notify::kCompleted && !music.wants_notify()) return;
  MediaPlayer1Notify(g_, notify);
}

void SdlHost::present() {
  if (window_ == nullptr || frame_ == nullptr) return;
  // Nobody sees a minimised window; the first picture after it comes back is shown whole.
  if ((SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0) {
    shown_->invalidate();
    return;
  }
  // Most passes draw the same picture again (the idle map, a menu nobody touches): then neither
  // the frame nor the window needs it. A box or the debug listing over it is shown every time.
  if (box_ != nullptr || panel_ != nullptr) {
    shown_->invalidate();
  } else if (!shown_->changed(g_.form.img_main)) {
    return;
  }
  SDL_FillRect(frame_, nullptr, SDL_MapRGB(frame_->format, 0, 0, 0));
  if (SDL_Surface* picture = g_.form.img_main.surface) {
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetSurfaceBlendMode(picture, &mode);
    SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(picture, nullptr, frame_, nullptr);
    SDL_SetSurfaceBlendMode(picture, mode);
  }
  // Boxes opened inside one another are drawn outermost first.
  const MessageBox* chain[8];
  int n = 0;
  for (const MessageBox* b = box_; b != nullptr && n < 8; b = b->outer) chain[n++] = b;
  while (n > 0) chain[--n]->draw(frame_);

  if (panel_ != nullptr) panel_->draw(g_, frame_);

  SDL_Surface* window_surface = SDL_GetWindowSurface(window_);
  if (window_surface == nullptr) return;
  SDL_Rect dst{0, 0, frame_->w * options_.scale, frame_->h * options_.scale};
  if (fullscreen_) {
    const FramePlacement p =
        place_frame(window_surface->w, window_surface->h, frame_->w, frame_->h);
    SDL_FillRect(window_surface, nullptr, SDL_MapRGB(window_surface->format, 0, 0, 0));
    dst = SDL_Rect{p.x, p.y, frame_->w * p.scale, frame_->h * p.scale};
  }
  SDL_BlitScaled(frame_, nullptr, window_surface, &dst);
  SDL_UpdateWindowSurface(window_);
}

void SdlHost::message_box(const char* text, const char* caption) {
  if (options_.keep_log) log_.messages.push_back(MessageRecord{passes_, text, caption});
  if (stopped()) return;

  MessageBox box(box_font_, text, caption);
  box.outer = box_;
  box_ = &box;
  present();
  loop(&box.done);
  box_ = box.outer;
  present();
}

PointerSample SdlHost::sample_pointer() {
  if (options_.driver != nullptr) return driven_;
  int gx = 0;
  int gy = 0;
  const Uint32 buttons = SDL_GetGlobalMouseState(&gx, &gy);
  const bool left = (buttons & SDL_BUTTON_LMASK) != 0;
  const bool right = (buttons & SDL_BUTTON_RMASK) != 0;
  const int s = options_.scale;
  // Over the window its own position of the pointer is exact. The window's place on the screen
  // is not: SDL misses a move that ends where its first notice of the window put it (a move to
  // (0, 0)), and the global position less that stale place lands clicks where the picture was.
  int lx = 0;
  int ly = 0;
  SDL_GetMouseState(&lx, &ly);
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (SDL_GetMouseFocus() == window_ && lx >= 0 && lx < w && ly >= 0 && ly < h) {
    return PointerSample{frame_x(lx), frame_y(ly), left, right};
  }
  // Outside it, only the global position tells how far off the picture the pointer is.
  int wx = 0;
  int wy = 0;
  SDL_GetWindowPosition(window_, &wx, &wy);
  return PointerSample{to_picture(gx, wx, s), to_picture(gy, wy, s), left, right};
}

KeySample SdlHost::sample_keys() {
  KeySample keys;
  // While a box is open it has the keyboard.
  if (box_ != nullptr) return keys;
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  for (const KeyOnBoard& k : kAssistKeys) {
    if (state[k.scancode] != 0) keys.held |= k.bit;
  }
  keys.pressed = keys_pressed_;
  keys_pressed_ = 0;
  return keys;
}

bool SdlHost::record_text(const std::string& text) {
  // Flushed line by line, so a recording cut off by a crash still replays up to it.
  if (std::fputs(text.c_str(), record_) < 0 || std::fflush(record_) != 0) {
    record_error_ =
        "cannot write the recording " + options_.record_path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool SdlHost::finish_recording(std::string* error) {
  if (record_ == nullptr) return true;
  if (record_error_.empty()) {
    char footer[128];
    std::snprintf(footer, sizeof footer,
                  "# %ld passes; replay: nevalt --headless --seed %u --ticks %ld --input FILE\n",
                  passes_, options_.seed, passes_);
    record_text(footer);
  }
  if (std::fclose(record_) != 0 && record_error_.empty()) {
    record_error_ =
        "cannot write the recording " + options_.record_path + ": " + std::strerror(errno);
  }
  record_ = nullptr;
  *error = record_error_;
  return record_error_.empty();
}

void SdlHost::set_caption(const char* utf8) {
  log_.caption = utf8;
  if (std::strcmp(caption_, utf8) == 0) return;
  std::snprintf(caption_, sizeof caption_, "%s", utf8);
  SDL_SetWindowTitle(window_, caption_);
}

void SdlHost::close_main_form() {
  g_.flow.closed = true;
}

void SdlHost::audio_event(const char* kind, int n) {
  if (options_.keep_log) log_.audio.push_back(AudioRecord{passes_, kind, n});
}
