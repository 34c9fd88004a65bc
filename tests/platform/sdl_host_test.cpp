#include "platform/sdl_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "game/debug_list.h"
#include "game/game_tick.h"
#include "platform/debug_panel.h"
#include "platform/sdl_media_player.h"
#include "state/game.h"
#include "ui/surface.h"

namespace {

TEST(ToPicture, MapsGlobalPixelsToPicturePixelsRoundingDown) {
  const struct {
    int global, origin, scale, want;
  } cases[] = {
      {100, 0, 1, 100},    {99, 100, 1, -1},    {100, 100, 2, 0},    {101, 100, 2, 0},
      {102, 100, 2, 1},    {1379, 100, 2, 639}, {1380, 100, 2, 640}, {99, 100, 2, -1},
      {98, 100, 2, -1},    {97, 100, 2, -2},    {97, 100, 3, -1},    {-50, 100, 3, -50},
      {-200, -300, 4, 25}, {0, 0, 8, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(to_picture(c.global, c.origin, c.scale), c.want)
        << c.global << " " << c.origin << " " << c.scale;
  }
}

TEST(PassesThisTick, SpeedsUpOnlyTheComputersTurn) {
  const struct {
    int scene, speed, want;
  } cases[] = {
      {0, 8, 1},    {100, 4, 1},  {420, 8, 1},  {4999, 8, 1},  {5000, 4, 4}, {5031, 8, 8},
      {6040, 3, 3}, {5060, 1, 1}, {5000, 0, 1}, {5000, -3, 1}, {6000, 9, 8}, {6000, 1000, 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(passes_this_tick(c.scene, c.speed), c.want) << c.scene << " x" << c.speed;
  }
}

// Of the input ticks due every 10 ms, the last one at or before the next pass.
TEST(InputTickBeforePass, TakesTheLastTickDueAtOrBeforeThePass) {
  struct Case {
    Uint64 next_input, next_pass, want;
  };
  const Case cases[] = {
      {0, 0, 0},    {0, 30, 30},  {10, 30, 30}, {30, 30, 30},       {5, 30, 25},
      {25, 30, 25}, {31, 30, 31}, {40, 30, 40}, {1000, 1029, 1020}, {1000, 1030, 1030},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(input_tick_before_pass(c.next_input, c.next_pass, 10), c.want)
        << c.next_input << " before " << c.next_pass;
  }
}

// The frame at the largest whole scale that fits, centred; never below 1.
TEST(PlaceFrame, LargestWholeScaleCentred) {
  const struct {
    int w, h, fw, fh;
    FramePlacement want;
  } cases[] = {
      {1920, 1080, 640, 480, {320, 60, 2}},  {1280, 960, 640, 480, {0, 0, 2}},
      {1366, 768, 640, 480, {363, 144, 1}},  {2560, 1440, 640, 480, {320, 0, 3}},
      {3840, 2160, 792, 480, {336, 120, 4}}, {600, 400, 640, 480, {-20, -40, 1}},
      {640, 480, 0, 0, {320, 240, 1}},
  };
  for (const auto& c : cases) {
    const FramePlacement p = place_frame(c.w, c.h, c.fw, c.fh);
    EXPECT_EQ(p.x, c.want.x) << c.w << "x" << c.h;
    EXPECT_EQ(p.y, c.want.y) << c.w << "x" << c.h;
    EXPECT_EQ(p.scale, c.want.scale) << c.w << "x" << c.h;
  }
}

// The window on SDL's dummy video driver: no display, but a real window surface to read back.
class SdlHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    ASSERT_TRUE(init_video(&error)) << error;
    form_create(*g, 7);
  }
  void TearDown() override {
    host.reset();
    SDL_FreeSurface(g->form.img_main.surface);
    g->form.img_main.surface = nullptr;
    SDL_Quit();
  }
  void open(SdlHostOptions o) {
    // These tests are about the host, not the screens: park the game on the ending picture,
    // which draws nothing and waits for a left click that never comes here.
    g->flow.scene = 375;
    std::string error;
    host = SdlHost::create(*g, o, &error);
    ASSERT_NE(host, nullptr) << error;
  }
  static void push_button(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  static void push_motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
  }
  static void push_key(SDL_Keycode key, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
  }
  std::unique_ptr<Game> g = std::make_unique<Game>();
  std::unique_ptr<SdlHost> host;
};

Uint32 pixel_at(SDL_Surface* s, int x, int y) {
  Uint32 p = 0;
  const auto* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
  SDL_memcpy(&p, row + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
  Uint8 r, gr, b;
  SDL_GetRGB(p, s->format, &r, &gr, &b);
  return (Uint32{r} << 16) | (Uint32{gr} << 8) | b;
}

TEST_F(SdlHostTest, ShowsEveryPicturePixelAsAScaleBySquare) {
  for (int scale : {1, 2, 3}) {
    SCOPED_TRACE(scale);
    g->form.img_main.surface =
        SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 24, SDL_PIXELFORMAT_RGB24);
    SDL_Surface* pic = g->form.img_main.surface;
    SDL_FillRect(pic, nullptr, SDL_MapRGB(pic->format, 0, 0, 255));
    SDL_Rect dot{1, 0, 1, 1};
    SDL_FillRect(pic, &dot, SDL_MapRGB(pic->format, 255, 0, 0));
    SDL_Rect corner{639, 479, 1, 1};
    SDL_FillRect(pic, &corner, SDL_MapRGB(pic->format, 0, 255, 0));

    SdlHostOptions o;
    o.scale = scale;
    o.max_passes = 1;
    open(o);
    int w = 0, h = 0;
    SDL_GetWindowSize(host->window(), &w, &h);
    EXPECT_EQ(w, 640 * scale);
    EXPECT_EQ(h, 480 * scale);
    host->run();
    SDL_Surface* shown = SDL_GetWindowSurface(host->window());
    ASSERT_NE(shown, nullptr);
    for (int dy = 0; dy < scale; ++dy) {
      for (int dx = 0; dx < scale; ++dx) {
        EXPECT_EQ(pixel_at(shown, scale + dx, dy), 0xff0000u);
        EXPECT_EQ(pixel_at(shown, dx, dy), 0x0000ffu);
        EXPECT_EQ(pixel_at(shown, 2 * scale + dx, dy), 0x0000ffu);
        EXPECT_EQ(pixel_at(shown, 639 * scale + dx, 479 * scale + dy), 0x00ff00u);
      }
    }
    host.reset();
    SDL_FreeSurface(g->form.img_main.surface);
    g->form.img_main.surface = nullptr;
  }
}

// Marks the window's own pixels before a pass and reads them back before the next: a marker that
// survives a pass shows the window was given nothing new. The first passes are left to the
// window's opening events (shown, exposed), which rightly show the picture again.
class ScreenProbe : public PointerDriver {
 public:
  static constexpr int kMark = 2;    // the pass before which the mark is made
  static constexpr int kChange = 4;  // the pass before which the picture changes
  explicit ScreenProbe(Picture& picture) : picture_(picture) {}
  PointerSample next_sample(const Game&) override {
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    if (pass_ > 0) seen[pass_ - 1] = pixel_at(shown, 5, 5);
    if (pass_ == kMark || pass_ == kChange) {
      SDL_Rect mark{5, 5, 1, 1};
      SDL_FillRect(shown, &mark, SDL_MapRGB(shown->format, 255, 255, 255));
    }
    if (pass_ == kChange) {
      // As the game draws: through the drawing operations, which tell the window where.
      set_brush_color(picture_, Rgb{255, 0, 0});
      fill_rect(picture_, Rect{100, 100, 101, 101});
    }
    ++pass_;
    return PointerSample{-1, -1, false, false};
  }
  SDL_Window* window = nullptr;
  Uint32 seen[kChange + 1] = {};  // seen[k]: the mark's pixel after pass k

 private:
  Picture& picture_;
  int pass_ = 0;
};

TEST_F(SdlHostTest, TheWindowIsGivenAPictureOnlyWhenItChanged) {
  // The game's own picture format (ui/surface.cpp).
  g->form.img_main.surface =
      SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_XRGB8888);
  SDL_Surface* pic = g->form.img_main.surface;
  SDL_FillRect(pic, nullptr, SDL_MapRGB(pic->format, 0, 0, 255));
  ScreenProbe probe(g->form.img_main);
  SdlHostOptions o;
  o.max_passes = ScreenProbe::kChange + 2;
  o.driver = &probe;
  open(o);
  probe.window = host->window();
  host->run();
  EXPECT_EQ(host->pass_number(), ScreenProbe::kChange + 2);
  for (int k = ScreenProbe::kMark; k < ScreenProbe::kChange; ++k) {
    EXPECT_EQ(probe.seen[k], 0xffffffu) << "the same picture after pass " << k << ": kept the mark";
  }
  EXPECT_EQ(probe.seen[ScreenProbe::kChange], 0x0000ffu) << "a changed picture is shown whole";
  SDL_Surface* shown = SDL_GetWindowSurface(host->window());
  EXPECT_EQ(pixel_at(shown, 100, 100), 0xff0000u);
}

TEST_F(SdlHostTest, DebugWidensTheWindowBesideAnUnmovedPicture) {
  const struct {
    bool debug;
    int scale;
  } cases[] = {{false, 1}, {true, 1}, {true, 2}, {false, 2}, {true, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "debug " << c.debug << " scale " << c.scale);
    const int s = c.scale;
    g->form.img_main.surface =
        SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 24, SDL_PIXELFORMAT_RGB24);
    SDL_Surface* pic = g->form.img_main.surface;
    SDL_FillRect(pic, nullptr, SDL_MapRGB(pic->format, 0, 0, 255));
    SDL_Rect corner{639, 479, 1, 1};
    SDL_FillRect(pic, &corner, SDL_MapRGB(pic->format, 0, 255, 0));

    SdlHostOptions o;
    o.scale = s;
    o.debug = c.debug;
    o.max_passes = 2;
    open(o);
    EXPECT_EQ(host->debug_panel() != nullptr, c.debug);
    int w = 0, h = 0;
    SDL_GetWindowSize(host->window(), &w, &h);
    EXPECT_EQ(w, (c.debug ? 792 : 640) * s);
    EXPECT_EQ(h, 480 * s);

    // The pointer over the picture's last pixel, then just right of the picture.
    push_motion(640 * s - 1, 480 * s - 1);
    push_motion(640 * s, 10 * s);
    host->run();
    EXPECT_EQ(g->input.mouse_x, 639);
    EXPECT_EQ(g->input.mouse_y, 479);

    SDL_Surface* shown = SDL_GetWindowSurface(host->window());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(pixel_at(shown, 639 * s, 479 * s), 0x00ff00u);
    EXPECT_EQ(pixel_at(shown, 640 * s - 1, 480 * s - 1), 0x00ff00u);
    EXPECT_EQ(pixel_at(shown, 638 * s, 479 * s), 0x0000ffu);
    if (c.debug) {
      // Right of the picture: the list box, white.
      EXPECT_EQ(pixel_at(shown, 700 * s, 200 * s), 0xffffffu);
    }
    host.reset();
    SDL_FreeSurface(g->form.img_main.surface);
    g->form.img_main.surface = nullptr;
  }
}

TEST_F(SdlHostTest, AClickOnADebugButtonFillsTheListBetweenPasses) {
  const struct {
    bool debug;
    int scale;
    int x, y;  // client pixels at scale 1
    int lines;
    const char* first;
  } cases[] = {
      {true, 1, 672, 468, 60, "0 id 14 px 20 py 31"},
      {true, 2, 716, 466, 102, "D0 P0 E0"},
      {true, 3, 760, 466, 60, "0 id 3 px 5 py 6"},
      {true, 2, 696, 470, 102, "D0 P0 E0"},  // the column Button1 and Button2 share
      {true, 1, 700, 200, 1, "kept"},        // the list box is no button
      {false, 1, 672, 468, 1, "kept"},       // no buttons without debug
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " scale " << c.scale);
    g->world.enemy_units[0] = TUnit{14, 20, 31, 10, 0, 0, 0, 1, 0};
    g->world.player_units[0] = TUnit{3, 5, 6, 10, 0, 0, 0, 1, 0};
    debug_clear(*g);
    debug_append(*g, "kept");
    SdlHostOptions o;
    o.scale = c.scale;
    o.debug = c.debug;
    o.max_passes = 2;
    open(o);
    push_button(SDL_MOUSEBUTTONDOWN, c.x * c.scale, c.y * c.scale);
    push_button(SDL_MOUSEBUTTONUP, c.x * c.scale + 1, c.y * c.scale);
    host->run();
    EXPECT_EQ(debug_line_count(*g), c.lines);
    EXPECT_STREQ(debug_line(*g, 0), c.first);
    host.reset();
  }
}

TEST_F(SdlHostTest, EnemySpeedRunsMorePassesPerTickOnlyInTheComputersTurn) {
  const struct {
    int scene, speed;
    long ticks;
  } cases[] = {
      {375, 4, 12},  // the player's side of the game: one pass per tick
      {9000, 4, 3},  // a code in the computer's range that no block answers to
      {9000, 1, 12},
      {9000, 8, 2},  // the pass limit ends the second tick early
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scene << " x" << c.speed);
    SdlHostOptions o;
    o.enemy_speed = c.speed;
    o.max_passes = 12;
    open(o);
    g->flow.scene = c.scene;
    host->run();
    EXPECT_EQ(host->pass_number(), 12);
    EXPECT_EQ(host->tick_number(), c.ticks);
    host.reset();
  }
}

TEST_F(SdlHostTest, VolumesAreSetOnTheMusicAndTheEffectsChannel) {
  SdlHostOptions o;
  o.mute = true;  // the dummy driver: the volumes are set all the same
  o.music_volume = 50;
  o.sound_volume = 30;
  open(o);
  EXPECT_EQ(Mix_VolumeMusic(-1), 64);
  EXPECT_EQ(Mix_Volume(0, -1), 38);
}

// Between passes only the sample of the last input tick before each is ever read: the loop takes
// that one and wakes for no other, so no more than one tick falls between two passes.
TEST_F(SdlHostTest, TakesOneInputTickPerPassWhilePassesRun) {
  SdlHostOptions o;
  o.max_passes = 12;
  open(o);
  g->input.cursor_x = 12345;
  host->run();
  EXPECT_EQ(host->pass_number(), 12);
  EXPECT_GE(host->input_tick_number(), 1);
  EXPECT_LE(host->input_tick_number(), host->pass_number() + 1);
  EXPECT_NE(g->input.cursor_x, 12345);
}

TEST_F(SdlHostTest, RunsThePassLimitAndSetsTheCaption) {
  SdlHostOptions o;
  o.max_passes = 4;
  o.keep_log = true;
  open(o);
  const Uint64 start = SDL_GetTicks64();
  host->run();
  const Uint64 took = SDL_GetTicks64() - start;
  EXPECT_EQ(host->pass_number(), 4);
  // Four passes 30 ms apart, the first at once.
  EXPECT_GE(took, 85u);
  EXPECT_STREQ(SDL_GetWindowTitle(host->window()), "ネヴァルト Stage 1");
  EXPECT_EQ(host->log().caption, "ネヴァルト Stage 1");
  EXPECT_FALSE(g->flow.closed);
}

TEST_F(SdlHostTest, QuitClosesTheMainForm) {
  SdlHostOptions o;
  o.max_passes = 1000;
  open(o);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  host->run();
  EXPECT_TRUE(g->flow.closed);
  EXPECT_LT(host->pass_number(), 1000);
}

TEST_F(SdlHostTest, VersionBoxLetsThePassesGoOnBehindIt) {
  SdlHostOptions o;
  o.max_passes = 5;
  o.keep_log = true;
  open(o);
  // Nobody closes the box: only passes running behind it can reach the limit.
  push_key(SDLK_a, KMOD_LCTRL);
  host->run();
  EXPECT_EQ(host->pass_number(), 5);
  ASSERT_EQ(host->log().messages.size(), 1u);
  EXPECT_EQ(host->log().messages[0].text, "Version 1.04");
  EXPECT_EQ(host->log().messages[0].caption, "バージョン番号");
  EXPECT_LT(host->log().messages[0].pass, 5);
}

TEST_F(SdlHostTest, KeysWithoutCtrlShowNothingAndEnterClosesTheBox) {
  SdlHostOptions o;
  o.max_passes = 3;
  o.keep_log = true;
  open(o);
  push_key(SDLK_a, KMOD_NONE);
  push_key(SDLK_LCTRL, KMOD_LCTRL);
  push_key(SDLK_RETURN, KMOD_NONE);
  push_key(SDLK_b, KMOD_RCTRL);
  push_key(SDLK_SPACE, KMOD_NONE);
  host->run();
  ASSERT_EQ(host->log().messages.size(), 2u);
}

Uint32 SDLCALL push_return(Uint32, void*) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_RETURN;
  SDL_PushEvent(&e);
  return 0;
}

TEST_F(SdlHostTest, BoxShownInsideAPassHoldsThePassesButNotTheInputTick) {
  SdlHostOptions o;
  o.max_passes = 100;
  open(o);
  // As a pass would: Timer1 is off while it runs.
  g->flow.timer1_enabled = false;
  g->input.cursor_x = 12345;
  const SDL_TimerID timer = SDL_AddTimer(150, push_return, nullptr);
  host->message_box("ファイルが見つかりませんでした\n", "ネヴァルト");
  SDL_RemoveTimer(timer);
  EXPECT_EQ(host->pass_number(), 0);
  EXPECT_NE(g->input.cursor_x, 12345);  // the input tick sampled meanwhile
  g->flow.timer1_enabled = true;
}

Uint32 SDLCALL push_quit(Uint32, void*) {
  SDL_Event e{};
  e.type = SDL_QUIT;  // what SDL makes of SIGTERM and of the window's close box
  SDL_PushEvent(&e);
  return 0;
}

TEST_F(SdlHostTest, QuittingWhileABoxWaitsEndsTheBoxAndTheProgram) {
  SdlHostOptions o;
  o.max_passes = 100000;
  o.keep_log = true;
  open(o);
  g->flow.timer1_enabled = false;
  const SDL_TimerID timer = SDL_AddTimer(100, push_quit, nullptr);
  // Nobody presses OK: only the quit can end the box.
  host->message_box("ファイルが見つかりませんでした\n", "ネヴァルト");
  SDL_RemoveTimer(timer);
  g->flow.timer1_enabled = true;
  EXPECT_TRUE(g->flow.closed);
  // A box asked for after that does not wait either, and no pass runs any more.
  host->message_box("コマンドが失敗した", "ネヴァルト");
  host->run();
  EXPECT_EQ(host->pass_number(), 0);
  EXPECT_EQ(host->log().messages.size(), 2u);
}

TEST_F(SdlHostTest, MusicStartsAgainEachTimeItEnds) {
  // A 100 ms track, in a folder of its own.
  struct TempCwd {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("nevalt-loop-" + std::to_string(getpid()));
    std::filesystem::path old = std::filesystem::current_path();
    TempCwd() {
      std::filesystem::create_directories(dir);
      std::filesystem::current_path(dir);
    }
    ~TempCwd() {
      std::filesystem::current_path(old);
      std::filesystem::remove_all(dir);
    }
  } cwd;
  {
    const uint32_t rate = 22050, samples = rate / 10, bytes = samples * 2;
    std::ofstream f("short.wav", std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4);
    u32(36 + bytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    f.write("data", 4);
    u32(bytes);
    for (uint32_t i = 0; i < samples; ++i) u16(0);
  }
  SdlHostOptions o;
  o.mute = true;
  o.max_passes = 25;  // 750 ms: the track ends several times
  o.keep_log = true;
  open(o);
  // As play_music starts a track.
  ASSERT_TRUE(host->music_player().open("short.wav")) << host->music_player().error_text();
  host->music_player().play(true);
  host->run();
  // Still playing, or just ended with its notification on the way to the next pass.
  bool looping = Mix_PlayingMusic() != 0;
  if (!looping) {
    SDL_Delay(50);
    SDL_PumpEvents();
    looping = SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SdlMusicPlayer::event_type(),
                             SdlMusicPlayer::event_type()) > 0;
  }
  EXPECT_TRUE(looping);
  for (const MessageRecord& m : host->log().messages) ADD_FAILURE() << m.pass << ": " << m.text;
  host.reset();
}

// The keys of assisted play come through the window's events to the game; M and F11 come back
// to the window as its volume and its full screen.
TEST_F(SdlHostTest, AssistKeysReachTheGameAndComeBackAsVolumeAndFullScreen) {
  SdlHostOptions o;
  o.music_volume = 50;
  o.sound_volume = 30;
  o.max_passes = 2;
  g->flow.assist = true;
  open(o);
  push_key(SDLK_t, 0);
  push_key(SDLK_m, 0);
  host->run();
  EXPECT_TRUE(g->assist.threat_shown);
  EXPECT_TRUE(g->assist.muted);
  EXPECT_EQ(Mix_VolumeMusic(-1), 0);
  EXPECT_EQ(Mix_Volume(0, -1), 0);
  host.reset();

  o.max_passes = 2;
  open(o);
  push_key(SDLK_m, 0);
  push_key(SDLK_F11, 0);
  host->run();
  EXPECT_FALSE(g->assist.muted);
  EXPECT_EQ(Mix_VolumeMusic(-1), 64) << "the volume it had";
  EXPECT_TRUE(g->assist.fullscreen);
  EXPECT_NE(SDL_GetWindowFlags(host->window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);

  // The picture at its whole scale in the middle of the screen, black round it.
  g->form.img_main.surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 24, SDL_PIXELFORMAT_RGB24);
  SDL_FillRect(g->form.img_main.surface, nullptr,
               SDL_MapRGB(g->form.img_main.surface->format, 0, 0, 255));
  host->run();  // its passes are done: it only shows the picture
  SDL_Surface* shown = SDL_GetWindowSurface(host->window());
  ASSERT_NE(shown, nullptr);
  const FramePlacement p = place_frame(shown->w, shown->h, 640, 480);
  ASSERT_GT(p.x + p.y, 0) << "the dummy screen is larger than the picture";
  EXPECT_EQ(pixel_at(shown, p.x, p.y), 0x0000ffu);
  EXPECT_EQ(pixel_at(shown, p.x + 640 * p.scale - 1, p.y + 480 * p.scale - 1), 0x0000ffu);
  if (p.x > 0) {
    EXPECT_EQ(pixel_at(shown, p.x - 1, p.y), 0u);
  }
  if (p.y > 0) {
    EXPECT_EQ(pixel_at(shown, p.x, p.y - 1), 0u);
  }
}

// Opened filling the screen, the picture sits where F11 puts it and the pointer is read through
// that placement. F11 returns to the window only in assisted play, which then starts with the
// full screen on; without it the key is not the game's and the screen stays full.
TEST_F(SdlHostTest, FullscreenOpensAsF11LeavesItAndOnlyAssistedPlayLeavesIt) {
  const struct {
    bool assist;
    bool full_after_f11;
  } cases[] = {{false, true}, {true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assist ? "assisted" : "plain");
    g->flow.assist = c.assist;
    g->assist.fullscreen = c.assist;
    SDL_Surface* pic = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 24, SDL_PIXELFORMAT_RGB24);
    g->form.img_main.surface = pic;
    SDL_FillRect(pic, nullptr, SDL_MapRGB(pic->format, 0, 0, 255));
    SdlHostOptions o;
    o.fullscreen = true;
    o.max_passes = 2;  // what comes in is handled between two passes
    open(o);
    EXPECT_NE(SDL_GetWindowFlags(host->window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);

    int screen_w = 0, screen_h = 0;
    SDL_GetWindowSize(host->window(), &screen_w, &screen_h);
    const FramePlacement p = place_frame(screen_w, screen_h, 640, 480);
    ASSERT_GT(p.x, 0) << "the dummy screen is wider than the picture";
    // The picture's last pixel, then the black border left of the picture, which is no pixel of
    // it: the pointer stays where the first move put it. Then F11.
    push_motion(p.x + 640 * p.scale - 1, p.y + 480 * p.scale - 1);
    push_motion(p.x - 1, p.y + 10);
    push_key(SDLK_F11, 0);
    host->run();
    EXPECT_EQ(g->input.mouse_x, 639);
    EXPECT_EQ(g->input.mouse_y, 479);
    EXPECT_EQ(g->assist.fullscreen, c.assist && c.full_after_f11);
    EXPECT_EQ((SDL_GetWindowFlags(host->window()) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0,
              c.full_after_f11);
    SDL_Surface* shown = SDL_GetWindowSurface(host->window());
    ASSERT_NE(shown, nullptr);
    if (c.full_after_f11) {
      EXPECT_EQ(pixel_at(shown, p.x, p.y), 0x0000ffu);
      EXPECT_EQ(pixel_at(shown, p.x - 1, p.y), 0u) << "black round the picture";
    } else {
      // Drawn from the window's corner again. (How large the window is now is the window
      // system's matter: neither the dummy driver nor X without a window manager gives the old
      // size back.)
      EXPECT_EQ(pixel_at(shown, 0, 0), 0x0000ffu);
    }
    host.reset();
    SDL_FreeSurface(g->form.img_main.surface);
    g->form.img_main.surface = nullptr;
  }
}

TEST_F(SdlHostTest, AssistKeysDoNothingWithoutAssist) {
  SdlHostOptions o;
  o.max_passes = 2;
  open(o);
  push_key(SDLK_F11, 0);
  host->run();
  EXPECT_FALSE(g->assist.fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(host->window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
}

}  // namespace
