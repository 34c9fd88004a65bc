// The unit card of assisted play in the unit panel, and the panel beside the production list.
#include "view/unit_card.h"

#include <gtest/gtest.h>

#include "ui/menu_layout.h"
#include "ui/production_list.h"
#include "view/panels.h"
#include "view_fixture.h"
#include "world/roster.h"

using namespace view_test;

namespace {

constexpr int kForest = 5;         // cover 20
constexpr int kRockyMountain = 2;  // cover 50, the most there is; only aircraft stand there

// The places of the card in a panel whose top is y0: under the level, under the SP and under the
// terrain caption, each down to the frame's lower edge.
constexpr Rect kCardPlaces[] = {{96, 38, 190, 80}, {368, 60, 490, 80}, {496, 38, 624, 80}};

bool in_card_place(int x, int y, int y0) {
  for (const Rect& r : kCardPlaces) {
    if (x >= r.left && x < r.right && y >= y0 + r.top && y < y0 + r.bottom) return true;
  }
  return false;
}

struct PanelGame {
  std::unique_ptr<Game> g = make_map_game();
  ~PanelGame() { ui_test::free_game_pictures(*g); }
  // The panel of the unit in player or enemy `slot`, pointer in the upper half (panel below).
  void draw_panel_of(int side, int slot, bool assist) {
    const TUnit& unit = roster_of(*g, side)[slot];
    g->world.selected_unit = unit;
    g->world.selected_spec = g->world.unit_specs[unit.type];
    g->world.selected_slot = slot;
    g->input.mouse_y = 100;
    g->flow.assist = assist;
    ui_test::fill_all(g->form.img_main, kSentinel);
    draw_unit_panel(*g);
  }
};

// Every type, on the cell with the most cover it can stand on: the card adds text in its own
// places only, inside the frame, and leaves the rest of the panel as it was.
TEST(UnitCard, FitsThePanelForEveryType) {
  for (int type = 1; type <= 25; ++type) {
    SCOPED_TRACE("type " + std::to_string(type));
    PanelGame plain;
    PanelGame assisted;
    const int side = type <= 11 ? kSidePlayer : kSideEnemy;
    for (PanelGame* p : {&plain, &assisted}) {
      const bool flies = p->g->world.unit_specs[type].air == 1;
      test_game::paint(*p->g, 10, 10, flies ? kRockyMountain : 10);
      test_game::place(*p->g, side, 0, type, 10, 10);
    }
    plain.draw_panel_of(side, 0, false);
    assisted.draw_panel_of(side, 0, true);
    const int y0 = 384;
    int added = 0;
    int astray = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
      for (int x = 0; x < kScreenWidth; ++x) {
        if (read_pixel(plain.g->form.img_main, x, y) == read_pixel(assisted.g->form.img_main, x, y))
          continue;
        ++added;
        astray += !in_card_place(x, y, y0);
      }
    }
    EXPECT_GT(added, 300) << "the card shows";
    EXPECT_EQ(astray, 0) << "pixels of the card outside its places";
  }
}

// The ground defence carries the cover of the unit's cell; nothing else on the card changes.
TEST(UnitCard, TheDefenceCarriesTheCoverOfTheCell) {
  PanelGame on_plain;
  PanelGame in_forest;
  test_game::paint(*in_forest.g, 10, 10, kForest);
  for (PanelGame* p : {&on_plain, &in_forest}) {
    test_game::place(*p->g, kSidePlayer, 0, 9, 10, 10).terrain = 8;  // same caption in both
    p->draw_panel_of(kSidePlayer, 0, true);
  }
  const Picture& a = on_plain.g->form.img_main;
  const Picture& b = in_forest.g->form.img_main;
  const int y0 = 384;
  const Rect defence{496, y0 + 38, 624, y0 + 56};
  EXPECT_GT(differing_pixels(a, b, defence), 0);
  EXPECT_EQ(differing_pixels(a, b), differing_pixels(a, b, defence));
}

class ProductionPanel : public testing::Test {
 protected:
  void SetUp() override {
    test_game::place(*game.g, kSidePlayer, 0, kPlayerHq, 3,
                     10);  // left half: the list on the right
    game.draw_panel_of(kSidePlayer, 0, true);
    g().input.mouse_y = 300;  // the panel at the top, clear of the list
  }
  Game& g() { return *game.g; }
  void point_at_row(int k) {
    const Rect band = production_row_band(production_list_x0(g()), k);
    g().input.cursor_x = band.left + 40;
    g().input.cursor_y = band.top + 10;
  }
  // What draw_production_panel drew, against a panel of `stats` drawn on a second game.
  int differs_from(const TUnitSpec& stats, const TUnit& unit, bool on_map) {
    ui_test::fill_all(g().form.img_main, kSentinel);
    draw_production_panel(g());
    PanelGame ref;
    ref.g->input = g().input;
    ref.g->flow.assist = g().flow.assist;
    draw_unit_panel_of(*ref.g, stats, unit, on_map);
    return differing_pixels(g().form.img_main, ref.g->form.img_main);
  }
  PanelGame game;
};

TEST_F(ProductionPanel, ShowsTheTypeOfTheRowUnderThePointerAsANewUnit) {
  point_at_row(8);  // the tank
  TUnit fresh{};
  fresh.type = 9;
  fresh.hp = 100;
  fresh.sp = 30;
  fresh.status = 1;
  EXPECT_EQ(differs_from(g().world.unit_specs[9], fresh, false), 0);
}

TEST_F(ProductionPanel, ShowsTheHqOffTheRowsAndWithoutAssist) {
  const TUnit hq = g().world.selected_unit;
  const TUnitSpec& hq_stats = g().world.unit_specs[kPlayerHq];
  g().input.cursor_x = production_list_x0(g()) + 40;
  g().input.cursor_y = kProductionListY + 4;  // above the first row
  EXPECT_EQ(differs_from(hq_stats, hq, true), 0);
  point_at_row(8);
  g().flow.assist = false;
  EXPECT_EQ(differs_from(hq_stats, hq, true), 0);
}

}  // namespace
