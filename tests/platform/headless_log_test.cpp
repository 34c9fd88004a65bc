// A headless run that writes no state dump keeps no log: a long session (the built-in player
// through whole campaigns) must not grow with every track and effect it starts.
#include <gtest/gtest.h>

#include <memory>

#include "game/audio.h"
#include "game/game_tick.h"
#include "platform/headless_host.h"
#include "state/game.h"

namespace {

TEST(HeadlessLog, KeptOnlyWhenAsked) {
  for (bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    auto g = std::make_unique<Game>();
    form_create(*g, 1);
    g->flow.scene = 375;  // the ending waits for a click and draws nothing
    HeadlessHost host(*g, keep);
    host.run(InputScript{}, 4);
    for (int i = 0; i < 1000; ++i) play_sound(*g, 1 + i % 3);
    play_music(*g, 4);  // no such file in the test's folder: a message box
    host.run(InputScript{}, 9);
    EXPECT_EQ(host.pass_number(), 9);
    EXPECT_EQ(host.log().audio.size(), keep ? 1001u : 0u);
    EXPECT_EQ(host.log().messages.size(), keep ? 1u : 0u);
    EXPECT_EQ(host.log().caption, "ネヴァルト Stage 1") << "the caption is always known";
  }
}

}  // namespace
