#include "platform/debug_panel.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/debug_list.h"
#include "state/game.h"

namespace {

TEST(DebugButtonAt, FindsEachButtonUpToItsEdges) {
  const struct {
    int x, y, want;
  } cases[] = {
      // Button1 (648, 456) 49x25.
      {648, 456, 1},
      {647, 460, 0},
      {650, 455, 0},  // Button1 starts a row lower than the others
      {695, 479, 1},
      {672, 480, 1},  // its last row, below the picture's height
      {672, 481, 0},
      // Button2 (696, 455) 41x25 overlaps Button1 at x = 696 and Button3 at x = 736.
      {696, 456, 2},
      {696, 455, 2},
      {697, 470, 2},
      {735, 479, 2},
      {716, 480, 0},
      {716, 454, 0},
      // Button3 (736, 455) 49x25.
      {736, 455, 3},
      {784, 479, 3},
      {785, 470, 0},
      {760, 480, 0},
      // Elsewhere: the list box, the picture, outside the window.
      {700, 200, 0},
      {320, 470, 0},
      {-5, 460, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(debug_button_at(c.x, c.y), c.want) << c.x << "," << c.y;
  }
}

TEST(ClientWidth, IsThePictureAloneUnlessDebugging) {
  EXPECT_EQ(client_width(false), 640);
  EXPECT_EQ(client_width(true), kListBox1.x + kListBox1.w);
  EXPECT_EQ(client_width(true), 792);
  for (const DebugControl& b : kDebugButtons) EXPECT_LE(b.x + b.w, client_width(true));
}

TEST(ClickDebugButton, CallsTheHandlerOfThatButton) {
  const struct {
    int button;
    int lines;
    const char* first;
  } cases[] = {
      {1, 60, "0 id 14 px 20 py 31"},
      {2, 102, "D0 P0 E0"},
      {3, 60, "0 id 3 px 5 py 6"},
      {0, 1, "kept"},
      {4, 1, "kept"},
  };
  for (const auto& c : cases) {
    auto g = std::make_unique<Game>();
    g->world.enemy_units[0] = TUnit{14, 20, 31, 10, 0, 0, 0, 1, 0};
    g->world.player_units[0] = TUnit{3, 5, 6, 10, 0, 0, 0, 1, 0};
    debug_append(*g, "kept");
    click_debug_button(*g, c.button);
    EXPECT_EQ(debug_line_count(*g), c.lines) << c.button;
    EXPECT_STREQ(debug_line(*g, 0), c.first) << c.button;
  }
}

TEST(DebugPanelPointer, AClickIsAReleaseOverTheButtonPressed) {
  const struct {
    int down_x, down_y, up_x, up_y, want;
  } cases[] = {
      {672, 468, 690, 470, 1},                           // moved within the button
      {760, 468, 760, 468, 3}, {716, 468, 760, 468, 0},  // pressed on NEAR, released on P_UNIT
      {700, 200, 672, 468, 0},                           // pressed on the list
      {716, 468, 716, 300, 0},                           // dragged off
  };
  for (const auto& c : cases) {
    DebugPanel panel;
    panel.press(c.down_x, c.down_y);
    EXPECT_EQ(panel.release(c.up_x, c.up_y), c.want) << c.down_x << " -> " << c.up_x;
    // The press is used up by its release.
    EXPECT_EQ(panel.release(c.up_x, c.up_y), 0);
  }
}

class DebugPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = SDL_CreateRGBSurfaceWithFormat(0, kDebugClientWidth, 480, 32, SDL_PIXELFORMAT_XRGB8888);
    ASSERT_NE(frame, nullptr) << SDL_GetError();
    // No fonts: the lines are laid out at their fallback height but no glyph is drawn.
    ASSERT_TRUE(panel.open(nullptr)) << SDL_GetError();
    ASSERT_GT(panel.rows(), 10);
  }
  void TearDown() override { SDL_FreeSurface(frame); }
  void append(int n) {
    for (int i = 0; i < n; ++i) debug_append(*g, ("line " + std::to_string(next++)).c_str());
  }
  std::string first_shown() {
    int first = 0, count = 0;
    panel.visible(*g, &first, &count);
    return count == 0 ? "" : debug_line(*g, first);
  }
  std::string last_shown() {
    int first = 0, count = 0;
    panel.visible(*g, &first, &count);
    return count == 0 ? "" : debug_line(*g, first + count - 1);
  }
  Uint32 pixel(int x, int y) const {
    return static_cast<const Uint32*>(frame->pixels)[y * frame->pitch / 4 + x] & 0xffffff;
  }

  std::unique_ptr<Game> g = std::make_unique<Game>();
  DebugPanel panel;
  SDL_Surface* frame = nullptr;
  int next = 0;
};

TEST_F(DebugPanelTest, ShowsTheNewestLinesAtTheBottomAndScrollsBackWithTheWheel) {
  const int rows = panel.rows();
  append(5);
  EXPECT_EQ(first_shown(), "line 0");
  EXPECT_EQ(last_shown(), "line 4");

  append(95);
  EXPECT_EQ(last_shown(), "line 99");
  EXPECT_EQ(first_shown(), "line " + std::to_string(100 - rows));

  panel.scroll(*g, 2);  // two notches towards older lines
  EXPECT_EQ(panel.scroll_offset(), 6);
  EXPECT_EQ(last_shown(), "line 93");

  panel.scroll(*g, 1000);  // no further than the oldest line at the top
  EXPECT_EQ(first_shown(), "line 0");
  EXPECT_EQ(panel.scroll_offset(), 100 - rows);

  panel.scroll(*g, -1000);
  EXPECT_EQ(panel.scroll_offset(), 0);
  EXPECT_EQ(last_shown(), "line 99");
}

TEST_F(DebugPanelTest, AScrolledViewStaysOnItsLinesWhileMoreAreAppended) {
  append(100);
  panel.draw(*g, frame);
  panel.scroll(*g, 1);
  const std::string before = last_shown();
  append(7);
  panel.draw(*g, frame);
  EXPECT_EQ(last_shown(), before);
  // At the bottom the view follows the newest line.
  panel.scroll_to_end();
  append(1);
  panel.draw(*g, frame);
  EXPECT_EQ(last_shown(), "line 107");
}

TEST_F(DebugPanelTest, DrawsRightOfThePictureOnlyAndShowsAPressedButton) {
  const Uint32 marker = 0x123456;
  SDL_FillRect(frame, nullptr, marker);
  panel.draw(*g, frame);
  EXPECT_EQ(pixel(639, 0), marker);
  EXPECT_EQ(pixel(639, 479), marker);
  EXPECT_EQ(pixel(0, 470), marker);
  EXPECT_NE(pixel(640, 0), marker);
  EXPECT_EQ(pixel(700, 200), 0xffffffu);  // inside the list box
  const Uint32 face = pixel(672, 470);
  EXPECT_NE(face, 0xffffffu);

  panel.press(672, 470);
  panel.draw(*g, frame);
  EXPECT_NE(pixel(672, 470), face);
  EXPECT_EQ(pixel(716, 470), face);  // the other buttons stay up
  panel.release(672, 470);
  panel.draw(*g, frame);
  EXPECT_EQ(pixel(672, 470), face);
}

}  // namespace
