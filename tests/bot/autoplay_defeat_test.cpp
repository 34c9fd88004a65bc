// A lost battle is one battle: the 61 passes of the "Game over" banner that end it do not each
// begin and lose another, which would also use up a --autoplay-battles limit at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "bot/autoplay.h"
#include "game/game_tick.h"
#include "state/game.h"

namespace {

bool no_save() {
  return false;
}

TEST(AutoplayRecords, ADefeatAndItsBannerCountAsOneBattle) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  AutoplayOptions o;
  o.battles = 2;
  o.save_exists = no_save;
  Autoplay bot(o);
  for (int battle = 0; battle < 2; ++battle) {
    SCOPED_TRACE(battle);
    g->flow.scene = 100;
    bot.next_sample(*g);
    g->flow.scene = 5040;
    bot.next_sample(*g);
    g->flow.scene = 5070;
    for (int pass = 0; pass < 61; ++pass) bot.next_sample(*g);
    g->flow.scene = 0;
    bot.next_sample(*g);
    g->flow.scene = 10;
    bot.next_sample(*g);
    ASSERT_EQ(bot.battle_count(), battle + 1);
    EXPECT_EQ(bot.battle(battle).outcome, BattleRecord::kDefeat);
    // The limit of two battles is reached only by the second defeat.
    EXPECT_EQ(bot.finished(), battle == 1);
  }
}

// A damaged save may hold any stage number; the record counts stages from one without
// overflowing at the largest.
TEST(AutoplayRecords, ABattleOnTheLargestStageNumberIsRecordedWithoutOverflow) {
  auto g = std::make_unique<Game>();
  form_create(*g, 1);
  AutoplayOptions o;
  o.save_exists = no_save;
  for (const int32_t stage_no : {0, 9, INT32_MAX - 1, INT32_MAX}) {
    SCOPED_TRACE(stage_no);
    Autoplay bot(o);
    g->flow.stage_no = stage_no;
    g->flow.scene = 100;
    bot.next_sample(*g);
    ASSERT_EQ(bot.battle_count(), 1);
    EXPECT_EQ(bot.battle(0).stage, stage_no == INT32_MAX ? INT32_MAX : stage_no + 1);
  }
}

}  // namespace
