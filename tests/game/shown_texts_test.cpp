// Every text the game draws or shows, in the game's Japanese and in English (--lang en): every
// menu, panel, banner, popup and notice drawn through the drawing surface, whose texts a watcher
// on img_main hears, and every message box and caption the host is handed. In English none of
// them holds a Japanese character; in either language every drawn text fits the window it is
// drawn in, clear of the frame and of the texts beside it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/audio.h"
#include "game/battle_file.h"
#include "game/battle_suspend.h"
#include "game/campaign.h"
#include "game/campaign_fixture.h"
#include "game/game_tick.h"
#include "game/input.h"
#include "game/scenes.h"
#include "platform/startup.h"
#include "state/scene.h"
#include "support/game_builder.h"
#include "support/japanese.h"
#include "ui/map_menu.h"
#include "ui/menu_layout.h"
#include "ui/popups.h"
#include "ui/production_list.h"
#include "ui/screens.h"
#include "view/command_menus.h"
#include "view/panels.h"
#include "world/map_file.h"
#include "world/text.h"
#include "world/unit_kinds.h"

namespace {

using campaign_test::InOwnFolder;
using campaign_test::write_file;
namespace fs = campaign_test::fs;

struct Drawn {
  int x;
  int y;
  Point size;
  std::string text;
};

class TextLog : public TextWatcher {
 public:
  std::vector<Drawn> drawn;
  void text_drawn(const Picture& picture, int x, int y, const char* utf8) override {
    drawn.push_back(Drawn{x, y, text_extent(picture, utf8), utf8});
  }
};

Rect window_rect(const MenuWindow& w) {
  return Rect{w.x, w.y, w.x + w.width, w.y + w.height};
}

// The frame's pieces are 32 pixels wide; texts keep half of that clear at the sides, as the
// menus' rows do. Where a line stands is the same in every language; only its width is not (the
// unit list's last line already reaches into the bottom frame).
constexpr int kFrameMargin = 16;

bool inside_frame(const Drawn& d, const Rect& window) {
  return d.x >= window.left + kFrameMargin && d.x + d.size.x <= window.right - kFrameMargin &&
         d.y >= window.top && d.y + d.size.y <= window.bottom;
}

// Two texts of the same line that run into each other (the lines of a list may touch: a line's
// box is taller than the rows are apart).
bool overlap(const Drawn& a, const Drawn& b) {
  return a.y == b.y && a.x < b.x + b.size.x && b.x < a.x + a.size.x;
}

// A picture the game draws: how to make it, and the windows its texts must fit in (none for the
// popups over the map, which stand where their cell is).
struct Screen {
  const char* name;
  std::function<void(Game&)> draw;
  std::vector<Rect> windows;
};

constexpr int kHqSlot = 0;
constexpr Point kHqCell{5, 5};  // in the left half of the view: menus open on the right

void select_slot(Game& g, int side, int slot) {
  const TUnit& unit = side == kSidePlayer ? g.world.player_units[slot] : g.world.enemy_units[slot];
  g.world.selected_unit = unit;
  g.world.selected_spec = g.world.unit_specs[unit.type];
  g.world.selected_slot = slot;
}

// The widest of the unit panels: a unit of `type` on terrain `terrain`, its status `status`.
void unit_panel(Game& g, int type, int terrain, int status) {
  test_game::place(g, type >= kEnemyHq ? kSideEnemy : kSidePlayer, 1, type, 6, 6);
  select_slot(g, type >= kEnemyHq ? kSideEnemy : kSidePlayer, 1);
  g.world.selected_unit.terrain = terrain;
  g.world.selected_unit.status = static_cast<uint8_t>(status);
  draw_unit_panel(g);
}

constexpr Rect kUnitPanelLow{0, 384, 640, 484};  // the pointer in the upper half
constexpr Rect kCommandWindow{480, 100, 640, 260};
constexpr Rect kHqWindow{480, 100, 640, 228};
constexpr Rect kProductionWindow{320, 100, 640, 356};

std::vector<Screen> screens() {
  std::vector<Screen> all = {
      {"title menu", draw_title_menu, {window_rect(kTitleMenu)}},
      {"intermission menu", draw_intermission_menu, {window_rect(kIntermissionMenu)}},
      {"stage select",
       [](Game& g) {
         g.flow.max_stage = kLastStage + 1;
         draw_stage_select(g);
       },
       {window_rect(kStageSelect)}},
      {"map menu", draw_map_menu, {window_rect(kMapMenu)}},
      {"victory condition", draw_victory_condition, {window_rect(kVictoryWindow)}},
      {"unit commands, moved",
       [](Game& g) {
         test_game::place(g, kSidePlayer, 1, kPlayerAntiAir, kHqCell.x, kHqCell.y + 1);
         select_slot(g, kSidePlayer, 1);
         g.world.selected_unit.moved = 1;
         draw_unit_commands(g);
       },
       {kUnitPanelLow, kCommandWindow}},
      {"HQ commands, production closed",
       [](Game& g) {
         for (int slot = 1; slot <= 20; ++slot) {
           test_game::place(g, kSidePlayer, slot, kPlayerScout, 1 + slot, 30);
         }
         select_slot(g, kSidePlayer, kHqSlot);
         draw_hq_commands(g);
       },
       {kUnitPanelLow, kHqWindow}},
      {"production list, aircraft withheld",
       [](Game& g) {
         g.world.unit_specs[kPlayerBomber].cost = NO_AIR;
         g.world.unit_specs[kPlayerFighter].cost = NO_AIR;
         // Three-figure prices in every row.
         for (int type = kPlayerScout; type <= kPlayerFighter; ++type) {
           g.world.unit_specs[type].count = 99;
         }
         select_slot(g, kSidePlayer, kHqSlot);
         draw_unit_panel(g);
         draw_production_list(g);
       },
       {kUnitPanelLow, kProductionWindow}},
      {"unit list, every type",
       [](Game& g) {
         for (int slot = 0; slot < kListedSlots; ++slot) {
           TUnit& unit = g.world.player_units[slot];
           unit = TUnit{};
           unit.type = 1 + slot % kLastUnitRow;
           unit.hp = 500;
         }
         g.world.player_units[39].type = 200;  // names no row
         draw_unit_list(g);
       },
       // Each column on its own: a text of the left one must not run into the right one.
       {Rect{0, 64, 320 + kFrameMargin * 2, 480}, Rect{320, 64, 640, 480}}},
      {"status panel",
       [](Game& g) {
         g.world.player_units[kHqSlot].sp = 100;
         g.flow.player_income = 99;
         g.flow.turn_no = 9999;
         draw_status_panel(g);
       },
       {Rect{0, 0, 640, 64}}},
      {"save notice", draw_save_notice, {Rect{32, 32, 288, 96}}},
      {"popups",
       [](Game& g) {
         draw_heal_popup(g, 3, 3, 0);
         draw_heal_popup(g, 5, 3, 20);
         draw_damage_popup(g, MISS, 3, 8);
         draw_damage_popup(g, 150, 6, 8);
       },
       {}},
  };
  for (int kind = kBannerPlayerTurn; kind <= kBannerGameOver; ++kind) {
    all.push_back({"banner", [kind](Game& g) { draw_banner(g, kind); }, {Rect{0, 176, 640, 304}}});
  }
  // Every unit row's name and model, and every terrain code's caption, in both statuses.
  for (int type = kPlayerHq; type <= kLastUnitRow; ++type) {
    all.push_back({"unit panel of a type",
                   [type](Game& g) { unit_panel(g, type, 8, type % 2); },
                   {kUnitPanelLow}});
  }
  for (int terrain = 0; terrain < kTerrainRows; ++terrain) {
    all.push_back({"unit panel on a terrain",
                   [terrain](Game& g) { unit_panel(g, kPlayerTank, terrain, 1); },
                   {kUnitPanelLow}});
  }
  return all;
}

// A game in a folder of its own, its title loaded (the skin with it), the player's HQ placed and
// the pointer in the upper half of the picture; English when the parameter says so.
class ShownTexts : public InOwnFolder, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    InOwnFolder::SetUp();
    if (english()) {
      std::string error;
      ASSERT_TRUE(use_language(*g_, NEVALT_DATA_DIR, "en", &error)) << error;
    }
    passes(1);
    ASSERT_EQ(g_->flow.scene, kSceneTitleMenu);
    test_game::make_battlefield(*g_);
    test_game::place(*g_, kSidePlayer, kHqSlot, kPlayerHq, kHqCell.x, kHqCell.y);
    input(100, 100, false);
  }

  bool english() const { return GetParam(); }

  // What the host was handed since the last look: captions and message boxes, text and caption.
  std::vector<std::string> shown() {
    std::vector<std::string> texts = host_.captions;
    for (const FakeHost::Box& box : host_.boxes) {
      texts.push_back(box.text);
      texts.push_back(box.caption);
    }
    host_.captions.clear();
    host_.boxes.clear();
    return texts;
  }
};

TEST_P(ShownTexts, EveryDrawnTextIsInTheLanguageAndFitsItsWindow) {
  for (const Screen& screen : screens()) {
    SCOPED_TRACE(screen.name);
    Game& g = *g_;
    TextLog log;
    g.form.img_main.text_watcher = &log;
    screen.draw(g);
    g.form.img_main.text_watcher = nullptr;
    ASSERT_FALSE(log.drawn.empty());
    bool any_japanese = false;
    for (size_t i = 0; i < log.drawn.size(); ++i) {
      const Drawn& d = log.drawn[i];
      SCOPED_TRACE(d.text);
      ASSERT_GT(d.size.x, 0);
      any_japanese = any_japanese || test_text::has_japanese(d.text);
      if (english()) {
        EXPECT_FALSE(test_text::has_japanese(d.text));
      }
      if (screen.windows.empty()) continue;
      bool fits = false;
      for (const Rect& w : screen.windows) fits = fits || inside_frame(d, w);
      EXPECT_TRUE(fits) << "at (" << d.x << ", " << d.y << "), " << d.size.x << " by " << d.size.y;
      for (size_t j = 0; j < i; ++j) {
        EXPECT_FALSE(overlap(d, log.drawn[j])) << "runs into " << log.drawn[j].text;
      }
    }
    // The Japanese game draws its own texts here: the English one has really replaced them.
    const bool only_english_here =
        std::string(screen.name) == "title menu" || std::string(screen.name) == "stage select" ||
        std::string(screen.name) == "popups" || std::string(screen.name) == "banner";
    if (!english() && !only_english_here) {
      EXPECT_TRUE(any_japanese);
    }
  }
}

// Each way the game tells the player something outside the picture.
struct Told {
  const char* name;
  std::function<void(Game&, const fs::path& dir)> cause;
};

const Told kTold[] = {
    {"caption", [](Game& g, const fs::path&) { run_pass(g, nullptr, 0); }},
    {"version box", [](Game& g, const fs::path&) { FormKeyDown(g, 'v', true); }},
    {"map missing",
     [](Game& g, const fs::path& dir) {
       fs::remove(dir / stage_map_file(0));
       EXPECT_FALSE(load_stage_map(g, 0));
     }},
    {"map short",
     [](Game& g, const fs::path& dir) {
       fs::remove(dir / stage_map_file(1));
       write_file(dir / stage_map_file(1), "short");
       EXPECT_FALSE(load_stage_map(g, 1));
     }},
    {"save failed",
     [](Game& g, const fs::path& dir) {
       write_file(dir / "blocker", "x");
       set_save_location(g, (dir / "blocker" / "saves").string(), "");
       EXPECT_FALSE(save_progress(g));
     }},
    {"load failed", [](Game& g, const fs::path&) { EXPECT_FALSE(load_progress(g)); }},
    {"battle not kept",
     [](Game& g, const fs::path& dir) {
       g.flow.assist = true;
       write_file(dir / "blocker", "x");
       set_save_location(g, (dir / "blocker" / "saves").string(), "");
       EXPECT_FALSE(suspend_battle(g));
     }},
    {"battle not resumed",
     [](Game& g, const fs::path& dir) {
       g.flow.assist = true;
       write_file(dir / kBattleFileName, "NVBATTLE but nothing more");
       EXPECT_FALSE(resume_battle(g));
     }},
    {"battle not removed",
     [](Game& g, const fs::path& dir) {
       g.flow.assist = true;
       fs::remove(dir / kBattleFileName);
       fs::create_directories(dir / kBattleFileName / "in the way");
       discard_battle(g);
     }},
    {"music failed",
     [](Game& g, const fs::path&) { MediaPlayer1Notify(g, MediaPlayer::Notify::kFailed); }},
};

TEST_P(ShownTexts, EveryMessageBoxAndCaptionIsInTheLanguage) {
  shown();
  for (const Told& told : kTold) {
    SCOPED_TRACE(told.name);
    told.cause(*g_, dir_);
    const std::vector<std::string> texts = shown();
    ASSERT_FALSE(texts.empty());
    bool any_japanese = false;
    for (const std::string& text : texts) {
      any_japanese = any_japanese || test_text::has_japanese(text);
      if (english()) {
        EXPECT_FALSE(test_text::has_japanese(text)) << text;
      }
    }
    if (!english()) {
      EXPECT_TRUE(any_japanese);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShownTexts, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "English" : "Japanese";
                         });

}  // namespace
