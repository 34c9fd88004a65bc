#include "platform/headless_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/audio.h"
#include "game/game_tick.h"
#include "state/game.h"
#include "ui/surface.h"

namespace {

InputScript script_of(const std::string& text) {
  InputScript s;
  std::string error;
  EXPECT_TRUE(parse_input_script(text, &s, &error)) << error;
  return s;
}

class HeadlessHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_create(*g, 1);
    // The host is under test, not the title: the ending picture draws nothing and waits.
    g->flow.scene = 375;
  }
  // Escape leads to the title, which gives the form its pictures (blank ones where the files
  // are missing) and its sprite sheet.
  void TearDown() override {
    free_picture(g->form.img_main);
    free_picture(g->form.img_window);
    free_picture(g->form.img_tile);
    free_sprite_sheet(g->form.ImageList1);
  }
  std::unique_ptr<Game> g = std::make_unique<Game>();
};

TEST_F(HeadlessHostTest, RunsTheGivenNumberOfPassesAndSetsTheCaption) {
  HeadlessHost host(*g);
  EXPECT_EQ(g->form.host, &host);
  host.run(InputScript{}, 7);
  EXPECT_EQ(host.pass_number(), 7);
  EXPECT_EQ(host.log().caption, "ネヴァルト Stage 1");
  // Seven passes moved the counters on seven times.
  EXPECT_EQ(g->flow.anim_fast, 1);
  EXPECT_EQ(g->flow.anim_slow, 1);
  EXPECT_EQ(g->flow.anim_scroll, 1);
}

TEST_F(HeadlessHostTest, EachPassSamplesTheScriptBeforeItRuns) {
  HeadlessHost host(*g);
  const InputScript s = script_of(
      "0 10 20 0 0\n"
      "2 -30 700 1 1\n"
      "3 600 470 0 1\n");
  const struct {
    long passes;
    int cx, cy, left, right, mx, my;
  } steps[] = {
      {1, 10, 20, 0, 0, 10, 20},
      {2, 10, 20, 0, 0, 10, 20},
      // Outside the picture: the cursor follows, the last move over the picture stays.
      {3, -30, 700, 1, 1, 10, 20},
      {4, 600, 470, 0, 1, 600, 470},
  };
  for (const auto& st : steps) {
    host.run(s, st.passes);
    SCOPED_TRACE(st.passes);
    EXPECT_EQ(g->input.cursor_x, st.cx);
    EXPECT_EQ(g->input.cursor_y, st.cy);
    EXPECT_EQ(g->input.left_down, st.left);
    EXPECT_EQ(g->input.right_down, st.right);
    EXPECT_EQ(g->input.mouse_x, st.mx);
    EXPECT_EQ(g->input.mouse_y, st.my);
  }
}

TEST_F(HeadlessHostTest, CtrlInTheScriptLogsTheVersionBoxWithItsPass) {
  HeadlessHost host(*g);
  host.run(script_of("3 0 0 0 0 0 1\n4 0 0 0 0\n9 5 5 0 0 0 1\n"), 12);
  ASSERT_EQ(host.log().messages.size(), 2u);
  EXPECT_EQ(host.log().messages[0].pass, 3);
  EXPECT_EQ(host.log().messages[0].text, "Version 1.04");
  EXPECT_EQ(host.log().messages[0].caption, "バージョン番号");
  EXPECT_EQ(host.log().messages[1].pass, 9);
}

TEST_F(HeadlessHostTest, EscapeHeldFromAPassForcesSceneZero) {
  HeadlessHost host(*g);
  g->flow.scene = 420;
  const InputScript s = script_of("2 0 0 0 0 1\n");
  host.run(s, 2);
  EXPECT_EQ(g->flow.scene, 420);
  host.run(s, 3);
  EXPECT_NE(g->flow.scene, 420);
}

TEST_F(HeadlessHostTest, AudioIsLoggedWithThePassItStartedIn) {
  HeadlessHost host(*g);
  host.run(InputScript{}, 2);
  play_music(*g, 1);
  play_sound(*g, 3);
  host.run(InputScript{}, 5);
  play_music(*g, 2);
  ASSERT_EQ(host.log().audio.size(), 3u);
  EXPECT_EQ(host.log().audio[0].pass, 2);
  EXPECT_EQ(host.log().audio[0].kind, "music");
  EXPECT_EQ(host.log().audio[0].n, 1);
  EXPECT_EQ(host.log().audio[1].kind, "sound");
  EXPECT_EQ(host.log().audio[1].n, 3);
  EXPECT_EQ(host.log().audio[2].pass, 5);
}

TEST_F(HeadlessHostTest, MissingMusicFileIsReportedInABox) {
  // The working folder of the tests has no music: the open fails as it would in the window.
  HeadlessHost host(*g);
  play_music(*g, 4);
  ASSERT_EQ(host.log().messages.size(), 1u);
  EXPECT_NE(host.log().messages[0].text.find("senka.mp3"), std::string::npos);
}

TEST_F(HeadlessHostTest, StopsAfterThePassThatClosedTheForm) {
  HeadlessHost host(*g);
  host.run(InputScript{}, 3);
  host.close_main_form();
  host.run(InputScript{}, 10);
  EXPECT_EQ(host.pass_number(), 3);
  EXPECT_TRUE(g->flow.closed);
}

}  // namespace
