#include "game/input.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/game_tick.h"
#include "state/game.h"
#include "support/fake_host.h"
#include "ui/ui_fixtures.h"

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override { g->form.host = &host; }
  // A pass loads the title's pictures and the sprite sheet.
  void TearDown() override { ui_test::free_game_pictures(*g); }
  FakeHost host;
  std::unique_ptr<Game> g = std::make_unique<Game>();
};

TEST_F(InputTest, InputTickStoresThePointerAndButtonLevels) {
  const PointerSample samples[] = {
      {100, 200, false, false}, {639, 479, true, false},  {-5, 30, true, true},
      {700, -12, false, true},  {-640, 960, true, false},
  };
  for (const PointerSample& s : samples) {
    host.pointer = s;
    input_tick(*g);
    EXPECT_EQ(g->input.cursor_x, s.x);
    EXPECT_EQ(g->input.cursor_y, s.y);
    EXPECT_EQ(g->input.left_down, s.left ? 1 : 0);
    EXPECT_EQ(g->input.right_down, s.right ? 1 : 0);
  }
}

// The input tick runs several times between two passes: the keys held follow the last sample,
// the presses gather until a pass uses them.
TEST_F(InputTest, KeyPressesGatherUntilAPassUsesThem) {
  host.keys = {kKeySpace, kKeyTab};
  input_tick(*g);
  host.keys = {0, kKeyM};
  input_tick(*g);
  input_tick(*g);
  EXPECT_EQ(g->input.keys_held, 0);
  EXPECT_EQ(g->input.keys_pressed, kKeyTab | kKeyM);
  game_tick(*g);
  EXPECT_EQ(g->input.keys_pressed, 0);
}

TEST_F(InputTest, MouseMoveIsKeptWhileThePointerIsElsewhere) {
  img_unitMouseMove(*g, 120, 300);
  host.pointer = PointerSample{-40, 900, false, false};
  input_tick(*g);
  EXPECT_EQ(g->input.mouse_x, 120);
  EXPECT_EQ(g->input.mouse_y, 300);
  EXPECT_EQ(g->input.cursor_y, 900);
}

TEST_F(InputTest, CtrlWithAnyKeyShowsTheVersionAndNothingElseDoes) {
  const struct {
    int key;
    bool ctrl;
    bool box;
  } cases[] = {
      {'a', true, true},   {0x400000E0 /* Ctrl itself */, true, true},
      {'a', false, false}, {27, false, false},
      {'z', true, true},
  };
  for (const auto& c : cases) {
    host.boxes.clear();
    FormKeyDown(*g, c.key, c.ctrl);
    if (!c.box) {
      EXPECT_TRUE(host.boxes.empty()) << c.key;
      continue;
    }
    ASSERT_EQ(host.boxes.size(), 1u) << c.key;
    EXPECT_EQ(host.boxes[0].text, "Version 1.04");
    EXPECT_EQ(host.boxes[0].caption, "バージョン番号");
  }
}

}  // namespace
