#include "view/threat_overlay.h"

#include <gtest/gtest.h>

#include "state/scene.h"
#include "view/map_view.h"
#include "view_fixture.h"

using namespace view_test;

namespace {

// A map drawn at origin (10, 20) with a threat over three cells and, when asked, an HQ in
// danger on a fourth; everything else plain.
struct Drawn {
  std::unique_ptr<Game> g = make_map_game();
  Drawn(bool assist, bool shown, int scene, bool hq_danger = false) {
    g->flow.assist = assist;
    g->flow.scene = scene;
    g->assist.threat_shown = shown;
    g->assist.threat_valid = true;
    for (const auto& c : {Point{12, 22}, Point{13, 22}, Point{29, 34}}) {
      g->assist.threat.cells[c.x][c.y] = 1;
    }
    test_game::place(*g, kSidePlayer, 3, kPlayerHq, 15, 25);
    g->assist.threat.hq_in_danger[3] = hq_danger;
    draw_map_view(*g, 10, 20);
  }
  ~Drawn() { ui_test::free_game_pictures(*g); }
  const Picture& picture() const { return g->form.img_main; }
};

Rect cell(int i, int j) {
  return Rect{32 * i, 32 * j, 32 * i + 32, 32 * j + 32};
}

TEST(ThreatOverlay, TintsTheThreatenedCellsInThePlayersTurn) {
  const Drawn plain(true, false, kSceneMap);
  const Drawn tinted(true, true, kSceneMap);
  const int threatened[][2] = {{2, 2}, {3, 2}, {19, 14}};
  int in_cells = 0;
  for (const auto& c : threatened) {
    const Rect r = cell(c[0], c[1]);
    EXPECT_EQ(differing_pixels(plain.picture(), tinted.picture(), r), 32 * 32);
    in_cells += differing_pixels(plain.picture(), tinted.picture(), r);
    // Redder than before, and no more of the other colours.
    const Rgb before = read_pixel(plain.picture(), r.left + 5, r.top + 5);
    const Rgb after = read_pixel(tinted.picture(), r.left + 5, r.top + 5);
    EXPECT_GE(after.r, before.r);
    EXPECT_LT(after.g, before.g);
  }
  EXPECT_EQ(differing_pixels(plain.picture(), tinted.picture()), in_cells);
}

TEST(ThreatOverlay, NotInTheComputersTurnNorWithoutAssistNorWhenOff) {
  const Drawn reference(true, false, kSceneMap);
  const struct {
    const char* name;
    bool assist, shown;
    int scene;
  } cases[] = {
      {"the computer's turn", true, true, kSceneEnemyWalk},
      {"the hand-back to the player", true, true, kScenePlayerBannerPause},
      {"a stage starting", true, true, kSceneStageStart},
      {"without --assist", false, true, kSceneMap},
      {"switched off", true, false, kSceneUnitMenu},
  };
  for (const auto& c : cases) {
    const Drawn d(c.assist, c.shown, c.scene);
    EXPECT_EQ(differing_pixels(reference.picture(), d.picture()), 0) << c.name;
  }
}

TEST(ThreatOverlay, FramesAnHqInDangerInYellow) {
  const Drawn safe(true, true, kSceneMap, false);
  const Drawn danger(true, true, kSceneMap, true);
  const Rect hq = cell(5, 5);
  EXPECT_EQ(ui_test::count_color(danger.picture(), hq, kHqDangerFrame), 2 * (30 + 30 + 28 + 28));
  EXPECT_EQ(ui_test::count_color(safe.picture(), hq, kHqDangerFrame), 0);
  EXPECT_EQ(differing_pixels(safe.picture(), danger.picture()),
            differing_pixels(safe.picture(), danger.picture(), hq));
}

}  // namespace
