#include "game/game_tick.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "game/scenes.h"
#include "state/game.h"
#include "support/fake_host.h"

TEST(SceneIndex, CodesAreAscending) {
  for (int i = 1; i < kSceneBlockCount; ++i) {
    EXPECT_LT(kSceneBlocks[i - 1].code, kSceneBlocks[i].code);
  }
  EXPECT_EQ(kSceneBlockCount, 48);
}

TEST(SceneIndex, EveryNamedSceneHasItsBlockInPassOrder) {
  // The block table is written by hand beside the list of names; a scene named but left out of
  // the table, or listed out of order, would never run or run at the wrong point of a pass.
  ASSERT_EQ(kSceneBlockCount, kSceneCount);
  for (int i = 0; i < kSceneCount; ++i) {
    EXPECT_EQ(kSceneBlocks[i].code, kScenes[i]) << "entry " << i;
  }
}

namespace {

// Test blocks log that they ran and move the scene where the case says.
struct Trace {
  std::vector<int> ran;
  std::map<int, int> next;  // code -> scene it sets
  std::vector<bool> timer_seen;
};
Trace trace;

template <int Code>
void traced_block(Game& g) {
  trace.ran.push_back(Code);
  trace.timer_seen.push_back(g.flow.timer1_enabled);
  auto it = trace.next.find(Code);
  if (it != trace.next.end()) g.flow.scene = it->second;
}

const SceneBlock kTestBlocks[] = {
    {0, traced_block<0>},
    {10, traced_block<10>},
    {20, traced_block<20>},
    {100, traced_block<100>},
};
constexpr int kTestBlockCount = 4;

class PassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    trace = Trace{};
    g = std::make_unique<Game>();
    g->form.host = &host;
  }
  std::vector<int> pass() {
    trace.ran.clear();
    run_pass(*g, kTestBlocks, kTestBlockCount);
    return trace.ran;
  }
  FakeHost host;
  std::unique_ptr<Game> g;
};

struct FallThroughCase {
  const char* name;
  int start;
  std::map<int, int> next;
  std::vector<int> first_pass;
  int scene_after;
  std::vector<int> second_pass;
};

TEST_F(PassTest, BlocksRunInAscendingOrderAndFallThroughOnlyUpwards) {
  const FallThroughCase cases[] = {
      {"chain upwards in one pass", 0, {{0, 10}, {10, 20}}, {0, 10, 20}, 20, {20}},
      {"jump over a code", 0, {{0, 20}}, {0, 20}, 20, {20}},
      {"move down waits a pass", 20, {{20, 10}}, {20}, 10, {10}},
      {"back to the start waits a pass", 100, {{100, 0}}, {100}, 0, {0}},
      {"staying runs once per pass", 10, {}, {10}, 10, {10}},
      {"a code without a block runs nothing", 5, {}, {}, 5, {}},
  };
  for (const FallThroughCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    g->flow.scene = c.start;
    trace.next = c.next;
    EXPECT_EQ(pass(), c.first_pass);
    EXPECT_EQ(g->flow.scene, c.scene_after);
    // The second pass sees the moves made by the first; the table stays the same.
    EXPECT_EQ(pass(), c.second_pass);
  }
}

TEST_F(PassTest, Timer1IsOffWhileBlocksRunAndOnAfterwards) {
  g->flow.scene = 0;
  trace.next = {{0, 10}};
  pass();
  EXPECT_EQ(trace.timer_seen, (std::vector<bool>{false, false}));
  EXPECT_TRUE(g->flow.timer1_enabled);
}

TEST_F(PassTest, EscapeStartsThePassAtTheTitleAndKeepsTheCampaign) {
  g->flow.scene = 100;
  g->flow.stage_no = 4;
  g->flow.max_stage = 6;
  g->flow.turn_no = 12;
  g->view.view_x = 7;
  g->world.player_units[3].type = 5;
  trace.next = {{0, 10}};
  host.escape = true;
  EXPECT_EQ(pass(), (std::vector<int>{0, 10}));
  EXPECT_EQ(g->flow.scene, 10);
  EXPECT_EQ(g->flow.stage_no, 4);
  EXPECT_EQ(g->flow.max_stage, 6);
  EXPECT_EQ(g->flow.turn_no, 12);
  EXPECT_EQ(g->view.view_x, 7);
  EXPECT_EQ(g->world.player_units[3].type, 5);
  // Held down, it does the same on the next pass.
  EXPECT_EQ(pass(), (std::vector<int>{0, 10}));
  host.escape = false;
  EXPECT_EQ(pass(), (std::vector<int>{10}));
}

TEST_F(PassTest, CaptionNamesTheStageOnEveryPass) {
  const struct {
    int stage_no;
    const char* caption;
  } cases[] = {{0, "ネヴァルト Stage 1"}, {4, "ネヴァルト Stage 5"}, {9, "ネヴァルト Stage 10"}};
  for (const auto& c : cases) {
    g->flow.stage_no = c.stage_no;
    host.captions.clear();
    pass();
    ASSERT_EQ(host.captions.size(), 1u);
    EXPECT_EQ(host.captions[0], c.caption);
  }
}

TEST_F(PassTest, AnimationCountersCycleOverManyPasses) {
  // After k passes from zero: fast = k mod 6, scroll = k mod 3, slow = (k / 6) mod 8.
  const struct {
    int passes;
    int fast, slow, scroll;
  } checkpoints[] = {
      {1, 1, 0, 1},  {2, 2, 0, 2},  {3, 3, 0, 0},  {5, 5, 0, 2},   {6, 0, 1, 0},
      {7, 1, 1, 1},  {12, 0, 2, 0}, {41, 5, 6, 2}, {42, 0, 7, 0},  {47, 5, 7, 2},
      {48, 0, 0, 0}, {49, 1, 0, 1}, {96, 0, 0, 0}, {100, 4, 0, 1},
  };
  int done = 0;
  for (const auto& c : checkpoints) {
    while (done < c.passes) {
      pass();
      ++done;
      ASSERT_GE(g->flow.anim_fast, 0);
      ASSERT_LE(g->flow.anim_fast, 5);
      ASSERT_LE(g->flow.anim_slow, 7);
      ASSERT_LE(g->flow.anim_scroll, 2);
    }
    SCOPED_TRACE(c.passes);
    EXPECT_EQ(g->flow.anim_fast, c.fast);
    EXPECT_EQ(g->flow.anim_slow, c.slow);
    EXPECT_EQ(g->flow.anim_scroll, c.scroll);
  }
}

TEST_F(PassTest, SlowCounterOutOfRangeIsResetOnTheNextPass) {
  g->flow.anim_fast = 2;
  g->flow.anim_slow = 11;
  pass();
  EXPECT_EQ(g->flow.anim_fast, 3);
  EXPECT_EQ(g->flow.anim_slow, 0);
}

TEST(FormCreate, StartsAtTheTitleWithTheGivenSeed) {
  auto a = std::make_unique<Game>();
  auto b = std::make_unique<Game>();
  a->flow.scene = 100;
  form_create(*a, 1234);
  form_create(*b, 1234);
  EXPECT_EQ(a->flow.scene, 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a->rng.next(), b->rng.next());
}

}  // namespace
