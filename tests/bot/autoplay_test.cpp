// The built-in player as the game sees it: one pointer sample per pass, presses that last one
// pass and are released before anything else, hands off the buttons in the release gates, and
// the screens between battles played through the real scenes.
#include "bot/autoplay.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/campaign_fixture.h"
#include "game/scenes.h"

namespace {

bool no_save() {
  return false;
}
bool a_save() {
  return true;
}

TEST(AutoplayGestures, AClickRestsThenPressesForOnePassThenReleases) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  for (int dwell : {0, 1, 3}) {
    for (bool saved : {false, true}) {
      AutoplayOptions o;
      o.dwell = dwell;
      o.save_exists = saved ? a_save : no_save;
      Autoplay bot(o);
      g->flow.scene = 10;
      std::vector<PointerSample> s;
      for (int i = 0; i < dwell + 2; ++i) s.push_back(bot.next_sample(*g));
      const Aim row = menu_row_point(kTitleMenu.x, kTitleMenu.y, kTitleMenu.width,
                                     saved ? kRowContinue : kRowStart);
      for (int i = 0; i < dwell + 2; ++i) {
        EXPECT_EQ(s[i].x, row.x) << "dwell " << dwell << " pass " << i;
        EXPECT_EQ(s[i].y, row.y) << "dwell " << dwell << " pass " << i;
        EXPECT_EQ(s[i].left, i == dwell) << "dwell " << dwell << " pass " << i;
        EXPECT_FALSE(s[i].right);
      }
    }
  }
}

TEST(AutoplayGestures, HandsOffTheButtonsInGatesPausesAndTheComputersTurn) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  AutoplayOptions o;
  o.save_exists = no_save;
  Autoplay bot(o);
  // A press on the title first, so there is a button to let go of.
  g->flow.scene = 10;
  bot.next_sample(*g);
  ASSERT_TRUE(bot.next_sample(*g).left);
  for (int scene : {120, 140, 160, 300, 320,  370,  372,  373,  380,  391,
                    400, 401, 12,  374, 5000, 5020, 5040, 5060, 6020, 6040}) {
    g->flow.scene = scene;
    for (int i = 0; i < 3; ++i) {
      const PointerSample s = bot.next_sample(*g);
      // The release of the title click may still be under way; nothing new is pressed.
      EXPECT_FALSE(s.left) << "scene " << scene;
      EXPECT_FALSE(s.right) << "scene " << scene;
    }
  }
}

TEST(AutoplayGestures, CancelsWithTheRightButtonWhereNothingIsWanted) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  for (int scene : {13, 310, 340, 360, 390, 410, 420}) {
    AutoplayOptions o;
    o.dwell = 1;
    Autoplay bot(o);
    g->flow.scene = scene;
    const PointerSample aim = bot.next_sample(*g);
    const PointerSample press = bot.next_sample(*g);
    const PointerSample release = bot.next_sample(*g);
    EXPECT_FALSE(aim.left || aim.right) << scene;
    EXPECT_TRUE(press.right && !press.left) << scene;
    EXPECT_FALSE(release.left || release.right) << scene;
    // Inside the map area, where the map's right button is heard as well.
    EXPECT_GT(press.x, 32);
    EXPECT_LT(press.x, 608);
    EXPECT_GT(press.y, 32);
    EXPECT_LT(press.y, 448);
  }
}

class AutoplayScreens : public campaign_test::InOwnFolder {
 protected:
  // Runs passes with the bot at the mouse until `done` or the limit; the number of passes run.
  template <typename Done>
  int play(Autoplay& bot, int limit, Done done) {
    for (int i = 0; i < limit; ++i) {
      if (done()) return i;
      const PointerSample s = bot.next_sample(*g_);
      input(s.x, s.y, s.left, s.right);
      passes(1);
    }
    return limit;
  }
};

TEST_F(AutoplayScreens, SavesAtTheIntermissionThenSortiesFromStart) {
  AutoplayOptions o;
  Autoplay bot(o);
  const int n = play(bot, 400, [&] { return g_->flow.scene >= 100; });
  ASSERT_LT(n, 400) << "scene " << g_->flow.scene;
  // "Start", "セーブ" with the notice's pause, "出撃": the first stage, saved before it.
  EXPECT_EQ(save_text(), "0,0");
  EXPECT_EQ(g_->flow.stage_no, 0);
  EXPECT_GT(n, 60);
  int own_units = 0;
  for (const TUnit& u : g_->world.player_units) own_units += u.type != 0;
  EXPECT_GT(own_units, 0);
  EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(AutoplayScreens, ContinuesASavedCampaignAtItsStage) {
  campaign_test::write_file(dir_ / "SAVE.TXT", "4,6");
  AutoplayOptions o;
  Autoplay bot(o);
  const int n = play(bot, 400, [&] { return g_->flow.scene >= 100; });
  ASSERT_LT(n, 400) << "scene " << g_->flow.scene;
  EXPECT_EQ(g_->flow.stage_no, 4);
  EXPECT_EQ(g_->flow.max_stage, 6);
  // Saved again before the sortie: the same numbers.
  EXPECT_EQ(save_text(), "4,6");
  bot.next_sample(*g_);  // the bot looks at the map the sortie opened
  ASSERT_EQ(bot.battle_count(), 1);
  EXPECT_EQ(bot.battle(0).stage, 5);
}

TEST_F(AutoplayScreens, LeavesTheEndingWithAClickAndStopsAtTheIntermission) {
  scene_title_load(*g_);
  g_->flow.scene = 375;
  g_->flow.stage_no = 9;
  g_->flow.max_stage = 9;
  AutoplayOptions o;
  Autoplay bot(o);
  const int n = play(bot, 200, [&] { return bot.finished(); });
  ASSERT_LT(n, 200);
  EXPECT_EQ(g_->flow.scene, 11);
  // Nothing more is chosen there: no save, no sortie.
  const int scene = g_->flow.scene;
  play(bot, 100, [] { return false; });
  EXPECT_EQ(g_->flow.scene, scene);
  EXPECT_FALSE(campaign_test::fs::exists(dir_ / "SAVE.TXT"));
}

TEST_F(AutoplayScreens, RecordsWhatEachBattleCostAndHowItEnded) {
  AutoplayOptions o;
  o.battles = 1;
  Autoplay bot(o);
  ASSERT_LT(play(bot, 400, [&] { return g_->flow.scene >= 100; }), 400);
  bot.next_sample(*g_);
  // The battle as the bot sees it between passes: a unit of ours gone, an enemy destroyed and
  // an enemy HQ turned ours, two turns later.
  int ours = -1;
  int theirs = -1;
  int their_hq = -1;
  for (int s = 0; s < kRosterSlots; ++s) {
    const int t = g_->world.player_units[s].type;
    if (ours < 0 && t >= 2 && t <= 11) ours = s;
    const int e = g_->world.enemy_units[s].type;
    if (theirs < 0 && e > kEnemyHq) theirs = s;
    if (their_hq < 0 && e == kEnemyHq) their_hq = s;
  }
  ASSERT_GE(ours, 0);
  ASSERT_GE(theirs, 0);
  ASSERT_GE(their_hq, 0);
  g_->flow.scene = 5040;
  g_->world.player_units[ours] = TUnit{};
  bot.next_sample(*g_);
  g_->world.enemy_units[theirs] = TUnit{};
  g_->world.enemy_units[their_hq] = TUnit{};
  int free_slot = 0;
  while (g_->world.player_units[free_slot].type != 0) ++free_slot;
  g_->world.player_units[free_slot].type = kPlayerHq;
  g_->flow.turn_no += 4;
  g_->flow.scene = 374;
  bot.next_sample(*g_);
  ASSERT_EQ(bot.battle_count(), 1);
  const BattleRecord& r = bot.battle(0);
  EXPECT_EQ(r.outcome, BattleRecord::kVictory);
  EXPECT_EQ(r.units_lost, 1);
  EXPECT_EQ(r.enemies_destroyed, 1);
  EXPECT_EQ(r.hqs_taken, 1);
  EXPECT_EQ(r.units_built, 0);
  EXPECT_EQ(r.turns, 3);
  EXPECT_FALSE(bot.finished());
  // The battle limit is reached: the bot stops where the outcome shows.
  g_->flow.scene = 11;
  bot.next_sample(*g_);
  EXPECT_TRUE(bot.finished());
}

}  // namespace
