// Choosing a target, the pause after the attack, and what follows it: removal, capture, victory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "command_fixture.h"
#include "ui/popups.h"
#include "ui/ui_fixtures.h"
#include "world/roster_queries.h"

namespace {

using command_test::CommandTest;
using command_test::Sounds;

constexpr int kHq = 1;
constexpr int kTank = 9;  // range 5, accuracy 80
constexpr int kEnemyHqType = 12;
constexpr int kEnemyTank = 20;  // evasion 20

// A hit with no doubling, no bonus and no cut: 45 from a tank against a tank on plain.
const std::vector<int32_t> kPlainHit = {1, 0, 0, 0, 0, 99};

class AttackScenes : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    place_player(0, kHq, 40, 40);
    place_player(1, kTank, 8, 10);
    place_enemy(0, kEnemyHqType, 50, 50);
    place_enemy(1, kEnemyTank, 12, 10);  // four cells away
  }
  void TearDown() override { g->rng.script = nullptr; }

  void script(const std::vector<int32_t>& draws) {
    draws_ = draws;
    g->rng.script = draws_.data();
    g->rng.script_length = static_cast<int>(draws_.size());
    g->rng.script_pos = 0;
  }
  // "攻撃" of the tank: the targeting lists the enemies in range and opens the choice.
  void open_choice() {
    select(1);
    point(0, 0);
    buttons(false, false);
    pass_in(330);
    ASSERT_EQ(g->flow.scene, 371);
    quiet();
  }
  void click_cell(int x, int y) {
    point_at_cell(x, y);
    buttons(true, false);
    pass();
    buttons(false, false);
  }
  // Passes until the scene leaves the pause; returns how many ran.
  int wait_out_pause() {
    int n = 0;
    while (g->flow.scene == 372 && n < 100) {
      pass();
      ++n;
    }
    return n;
  }

  std::vector<int32_t> draws_;
};

TEST_F(AttackScenes, TheAttackPauseLastsThirtyOnePassesBeforeTheAftermath) {
  open_choice();
  script(kPlainHit);
  click_cell(12, 10);
  EXPECT_EQ(host.audio, Sounds{"sound 3"});
  EXPECT_EQ(g->flow.scene, 372);
  EXPECT_EQ(enemy(1).hp, 55);
  EXPECT_EQ(g->rng.script_pos, 6);
  EXPECT_EQ(g->rules.last_target, 1);
  for (int k = 1; k < 30; ++k) {
    pass();
    ASSERT_EQ(g->flow.scene, 372) << "pass " << k;
    ASSERT_EQ(player(1).ready, 1) << "pass " << k;
  }
  pass();  // the thirty-first pass of the pause, counting the click's
  EXPECT_EQ(player(1).ready, 0);
  EXPECT_EQ(g->flow.scene, 100);  // the HQ can still act
  EXPECT_EQ(host.audio, Sounds{"sound 3"});
}

struct OutcomeCase {
  const char* name;
  int target_hp;
  bool moved;
  std::vector<int32_t> draws;
  int hp_after_click;
  bool target_left;
};

TEST_F(AttackScenes, HitsMissesAndDestroyedTargets) {
  const OutcomeCase cases[] = {
      {"a hit", 100, false, kPlainHit, 55, false},
      {"missed on accuracy", 100, false, {1, 0, 0, 0, 81}, 100, false},
      {"dodged", 100, false, {1, 0, 0, 0, 0, 19}, 100, false},
      // The walk before the attack spoils the aim: 41 passes accuracy 80 but not 40.
      {"aim 41, standing", 100, false, {1, 0, 0, 0, 41, 99}, 55, false},
      {"aim 41, after a move", 100, true, {1, 0, 0, 0, 41}, 100, false},
      {"destroyed, removed only after the pause", 30, false, kPlainHit, 0, true},
  };
  for (const OutcomeCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    enemy(1).hp = c.target_hp;
    player(1).moved = c.moved ? 1 : 0;
    open_choice();
    script(c.draws);
    click_cell(12, 10);
    EXPECT_EQ(g->rng.script_pos, static_cast<int>(c.draws.size()));
    EXPECT_EQ(enemy(1).hp, c.hp_after_click);
    EXPECT_EQ(enemy(1).type, kEnemyTank);
    EXPECT_EQ(wait_out_pause(), 30);
    EXPECT_EQ(enemy(1).type, c.target_left ? 0 : kEnemyTank);
    EXPECT_EQ(player(1).ready, 0);
  }
}

TEST_F(AttackScenes, OnlyAnEnemyInsideTheRangeCanBeChosen) {
  place_enemy(2, kEnemyTank, 18, 10);  // six cells away
  place_player(2, kTank, 9, 11);
  place_enemy(3, kEnemyTank, 4, 10);  // in range, but in view column 0 once the view moves
  struct Click {
    const char* name;
    int view_x;
    int x;
    int y;
  };
  const Click cases[] = {
      {"an empty cell in range", 0, 10, 10},
      {"an enemy out of range", 0, 18, 10},
      {"a player unit in range", 0, 9, 11},
      {"the attacker itself", 0, 8, 10},
      {"an enemy in range under the scroll frame", 4, 4, 10},
  };
  for (const Click& c : cases) {
    SCOPED_TRACE(c.name);
    g->view.view_x = c.view_x;
    open_choice();
    script(kPlainHit);
    g->flow.anim_scroll = 0;  // the pass moves it on to 1: no scrolling in this pass
    click_cell(c.x, c.y);
    EXPECT_EQ(g->flow.scene, 371);
    EXPECT_TRUE(host.audio.empty());
    EXPECT_EQ(g->rng.script_pos, 0);
    EXPECT_EQ(g->view.view_x, c.view_x);
    for (int e = 1; e <= 3; ++e) EXPECT_EQ(enemy(e).hp, 100);
  }
}

TEST_F(AttackScenes, AnyEnemyInRangeMayBeChosenNotOnlyTheNearest) {
  place_enemy(2, kEnemyTank, 11, 12);  // five cells away, farther than the other
  open_choice();
  EXPECT_EQ(g->rules.pair_list[0].e_slot, 1);
  script(kPlainHit);
  click_cell(11, 12);
  EXPECT_EQ(enemy(2).hp, 55);
  EXPECT_EQ(enemy(1).hp, 100);
  EXPECT_EQ(g->rules.last_target, 2);
}

// Both buttons on an enemy in range: the attack spends the action, so the right button does not
// send the unit back to its menu; the pause and the aftermath follow as for the left alone.
// Both buttons anywhere else still cancel the choice.
TEST_F(AttackScenes, BothButtonsOnAnEnemyAttackOnceAndSpendTheAction) {
  struct Case {
    const char* name;
    int x;
    int y;
    int scene_after_click;
    bool attacked;
  };
  const Case cases[] = {
      {"an enemy in range", 12, 10, 372, true},
      {"an empty cell in range", 10, 10, 401, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    enemy(1).hp = 30;  // a hit destroys it
    open_choice();
    script(kPlainHit);
    point_at_cell(c.x, c.y);
    buttons(true, true);
    pass();
    EXPECT_EQ(g->flow.scene, c.scene_after_click);
    EXPECT_EQ(enemy(1).hp, c.attacked ? 0 : 30);
    EXPECT_EQ(host.audio, c.attacked ? Sounds{"sound 3"} : Sounds{});
    if (!c.attacked) {
      EXPECT_EQ(player(1).ready, 1);
      continue;
    }
    // The buttons stay down through the pause: nothing may cut it short or attack again.
    for (int k = 1; k < 30; ++k) {
      pass();
      ASSERT_EQ(g->flow.scene, 372) << "pass " << k;
    }
    pass();
    EXPECT_EQ(g->flow.scene, 100);  // the HQ can still act
    EXPECT_EQ(player(1).ready, 0);
    EXPECT_EQ(enemy(1).type, 0);
    EXPECT_EQ(host.audio, Sounds{"sound 3"});
    EXPECT_EQ(g->rng.script_pos, static_cast<int>(kPlainHit.size()));
  }
}

TEST_F(AttackScenes, AnAttackerWithoutASlotAttacksNobody) {
  open_choice();
  for (int slot : {-1, 60}) {
    g->world.selected_slot = slot;
    script(kPlainHit);
    click_cell(12, 10);
    EXPECT_EQ(g->flow.scene, 371);
    EXPECT_EQ(enemy(1).hp, 100);
    EXPECT_EQ(g->rng.script_pos, 0);
  }
}

// The aftermath on a drawn picture, so the banner can be seen.
class Aftermath : public AttackScenes {
 protected:
  void SetUp() override {
    AttackScenes::SetUp();
    g->form.fonts = ui_test::fonts();
    ASSERT_TRUE(create_picture(g->form.img_main, kScreenWidth, kScreenHeight));
    g->form.img_main.fonts = g->form.fonts;
    ui_test::make_skin(g->form.img_window);
  }
  void TearDown() override {
    ui_test::free_game_pictures(*g);
    AttackScenes::TearDown();
  }
  bool banner_shown() const {
    // The banner's frame starts with the skin's top-left corner at (0, 176).
    return read_pixel(g->form.img_main, 0, 176) == ui_test::skin_pixel(0, 0, 0) &&
           ui_test::count_color(g->form.img_main, Rect{16, 192, 624, 290}, Rgb{255, 255, 255}) > 0;
  }
};

struct AftermathCase {
  const char* name;
  int enemy_hqs;  // at (11, 10) and, for two, (50, 50)
  bool player_hq_ready;
  int scene_after;
  int wait_after;
  bool victory;
};

TEST_F(Aftermath, TakingTheComputersLastHqWinsTheStage) {
  const AftermathCase cases[] = {
      {"the last enemy HQ falls", 1, true, 374, 60, true},
      {"one of two enemy HQs falls; the captured HQ may act", 2, false, 100, 0, false},
  };
  for (const AftermathCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    enemy(1) = TUnit{};
    if (c.enemy_hqs == 1) enemy(0) = TUnit{};
    place_enemy(2, kEnemyHqType, 11, 10);
    enemy(2).hp = 1;
    player(0).ready = c.player_hq_ready ? 1 : 0;
    open_choice();
    script(kPlainHit);
    click_cell(11, 10);
    EXPECT_EQ(enemy(2).hp, 0);
    EXPECT_TRUE(g->form.img_main.canvas.bold);
    EXPECT_EQ(wait_out_pause(), 30);

    // The HQ changed sides before the stage was judged.
    EXPECT_EQ(enemy(2).type, 0);
    EXPECT_EQ(count_units(*g, kCountPlayerHqs), 2);
    EXPECT_EQ(count_units(*g, kCountEnemyHqs), c.enemy_hqs - 1);
    EXPECT_EQ(player(1).ready, 0);
    EXPECT_EQ(g->flow.scene, c.scene_after);
    EXPECT_EQ(g->flow.wait_ticks, c.wait_after);
    EXPECT_EQ(banner_shown(), c.victory);
    // The banner sets no style of its own: the popup's bold is still on the canvas.
    EXPECT_TRUE(g->form.img_main.canvas.bold);
  }
}

TEST_F(Aftermath, TheLastReadyUnitsAttackEndsTheTurn) {
  player(0).ready = 0;
  open_choice();
  script(kPlainHit);
  click_cell(12, 10);
  EXPECT_EQ(wait_out_pause(), 30);
  EXPECT_EQ(g->flow.scene, 5000);
  EXPECT_EQ(g->flow.wait_ticks, 30);
  EXPECT_FALSE(banner_shown());
}

TEST_F(Aftermath, VictoryPausesSixtyOnePassesThenOpensTheNextStagesIntermission) {
  char old_dir[4096];
  ASSERT_NE(getcwd(old_dir, sizeof old_dir), nullptr);
  ASSERT_EQ(chdir(NEVALT_DATA_DIR), 0);  // where the intermission's picture is
  enemy(1) = TUnit{};
  enemy(0).x = 11;
  enemy(0).y = 10;
  enemy(0).hp = 1;
  open_choice();
  script(kPlainHit);
  point_at_cell(11, 10);
  buttons(true, false);
  game_tick(*g);  // the whole pass from here on, with the scenes that follow a victory
  buttons(false, false);
  for (int k = 1; k < 30; ++k) game_tick(*g);
  EXPECT_EQ(g->flow.scene, 372);
  game_tick(*g);
  EXPECT_EQ(g->flow.scene, 374);
  EXPECT_TRUE(banner_shown());
  quiet();
  for (int k = 1; k < 60; ++k) game_tick(*g);
  EXPECT_EQ(g->flow.scene, 374);
  EXPECT_TRUE(banner_shown()) << "nothing redraws while the banner stays";
  EXPECT_TRUE(host.audio.empty());
  game_tick(*g);  // the sixty-first pass of the pause, counting the attack's aftermath
  EXPECT_EQ(g->flow.scene, 11);
  EXPECT_EQ(g->flow.stage_no, 1);
  EXPECT_EQ(g->flow.max_stage, 1);
  EXPECT_EQ(host.audio, Sounds{"music 4"});
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_EQ(chdir(old_dir), 0);
}

}  // namespace
