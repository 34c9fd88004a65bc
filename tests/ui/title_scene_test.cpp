// The title scenes against the generated pictures, with a host that only records.
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/game_tick.h"
#include "game/scenes.h"
#include "support/fake_host.h"
#include "ui/screens.h"
#include "ui_fixtures.h"
#include "world/tables.h"

using namespace ui_test;

namespace {

// Runs in the folder of the generated pictures, as the game does.
class TitleScenes : public testing::Test {
 protected:
  void SetUp() override {
    char buf[4096];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    old_dir_ = buf;
    ASSERT_EQ(chdir(NEVALT_DATA_DIR), 0);
    g_ = std::make_unique<Game>();
    form_create(*g_, 1);
    g_->form.host = &host_;
    g_->form.fonts = fonts();
  }
  void TearDown() override {
    free_game_pictures(*g_);
    ASSERT_EQ(chdir(old_dir_.c_str()), 0);
  }
  void point(int x, int y, bool left) {
    g_->input.cursor_x = x;
    g_->input.cursor_y = y;
    g_->input.left_down = left;
  }

  std::string old_dir_;
  FakeHost host_;
  std::unique_ptr<Game> g_;
};

TEST_F(TitleScenes, SceneZeroLoadsThePicturesStartsTheMusicAndGoesToTheTitle) {
  scene_title_load(*g_);
  EXPECT_EQ(g_->flow.scene, 10);
  EXPECT_EQ(host_.audio, std::vector<std::string>{"music 1"});
  ASSERT_NE(g_->form.img_main.surface, nullptr);
  EXPECT_EQ(g_->form.img_main.surface->w, 640);
  EXPECT_EQ(g_->form.img_main.surface->h, 480);
  ASSERT_NE(g_->form.img_window.surface, nullptr);
  EXPECT_GE(g_->form.img_window.surface->w, 288);
  EXPECT_GE(g_->form.img_window.surface->h, 160);
  // The overlay is cleared with this pixel; the sprites are transparent in the same colour.
  EXPECT_EQ(read_pixel(g_->form.img_tile, 511, 511), kSpriteKeyColor);
  EXPECT_EQ(g_->form.img_main.fonts, fonts());
  EXPECT_NE(g_->form.ImageList1.surface, nullptr) << "the sprites are there before any map";
}

TEST_F(TitleScenes, FirstPassShowsTheTitleMenuOverTheTitlePicture) {
  point(300, 355, false);
  game_tick(*g_);
  EXPECT_EQ(g_->flow.scene, 10);
  EXPECT_EQ(g_->ui.hover_item, 2) << "scene 10 runs in the same pass as scene 0";

  Picture title;
  ASSERT_TRUE(load_picture(title, "Title.bmp"));
  const Picture& main = g_->form.img_main;
  // Outside the menu the title picture; the menu's corner is the skin's corner piece.
  EXPECT_EQ(read_pixel(main, 20, 20), read_pixel(title, 20, 20));
  EXPECT_EQ(read_pixel(main, 239, 330), read_pixel(title, 239, 330));
  EXPECT_EQ(read_pixel(main, 240, 320), read_pixel(g_->form.img_window, 0, 0));
  EXPECT_EQ(read_pixel(main, 399, 447), read_pixel(g_->form.img_window, 287, 31));
  EXPECT_GT(count_color(main, Rect{256, 336, 384, 363}, Rgb{255, 255, 255}), 10);
  free_picture(title);

  if (const char* dir = std::getenv("NEVALT_UI_SNAPSHOT_DIR")) {
    const std::string path = std::string(dir) + "/title.png";
    EXPECT_EQ(IMG_SavePNG(main.surface, path.c_str()), 0) << path;
  }
}

TEST_F(TitleScenes, StageSelectLeavesTheIntermissionMenuBesideIt) {
  scene_title_load(*g_);
  ASSERT_TRUE(load_form_picture(*g_, g_->form.img_main, "BG1.bmp"));
  point(500, 150, false);
  draw_intermission_menu(*g_);
  ASSERT_EQ(g_->ui.hover_item, 2);
  Picture before;
  ASSERT_TRUE(create_picture(before, 640, 480));
  copy_rect(before, 0, 0, g_->form.img_main, Rect{0, 0, 640, 480});

  g_->flow.max_stage = 3;
  point(100, 80, false);
  draw_stage_select(*g_);
  EXPECT_EQ(g_->ui.hover_item, 3);
  int changed_right = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 256; x < 640; ++x) {
      changed_right += !(read_pixel(before, x, y) == read_pixel(g_->form.img_main, x, y));
    }
  }
  EXPECT_EQ(changed_right, 0);
  free_picture(before);

  if (const char* dir = std::getenv("NEVALT_UI_SNAPSHOT_DIR")) {
    const std::string path = std::string(dir) + "/stage_select.png";
    EXPECT_EQ(IMG_SavePNG(g_->form.img_main.surface, path.c_str()), 0) << path;
  }
}

struct TitleChoice {
  const char* name;
  int x, y;
  bool left;
  int scene;
  int stage_no, max_stage;  // before: 3 and 5
  std::vector<std::string> audio;
  int closes;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const TitleChoice& c, std::ostream* os) {
  *os << c.name;
}

class TitleChoices : public TitleScenes, public testing::WithParamInterface<TitleChoice> {};

TEST_P(TitleChoices, RowAndLeftButtonDecide) {
  const TitleChoice& c = GetParam();
  scene_title_load(*g_);
  host_.audio.clear();
  g_->flow.stage_no = 3;
  g_->flow.max_stage = 5;
  point(c.x, c.y, c.left);
  scene_title_menu(*g_);
  EXPECT_EQ(g_->flow.scene, c.scene);
  EXPECT_EQ(g_->flow.stage_no, c.stage_no);
  EXPECT_EQ(g_->flow.max_stage, c.max_stage);
  EXPECT_EQ(host_.audio, c.audio);
  EXPECT_EQ(host_.closes, c.closes);
  EXPECT_EQ(g_->flow.closed, c.closes > 0);
  if (c.scene == 11) {
    Picture bg;
    ASSERT_TRUE(load_picture(bg, "BG1.bmp"));
    for (Point at : {Point{5, 5}, Point{320, 240}, Point{635, 475}}) {
      EXPECT_EQ(read_pixel(g_->form.img_main, at.x, at.y), read_pixel(bg, at.x, at.y));
    }
    free_picture(bg);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Title, TitleChoices,
    testing::Values(TitleChoice{"Start", 300, 340, true, 11, 0, 0, {"sound 1", "music 4"}, 0},
                    TitleChoice{"Continue", 300, 370, true, 11, 3, 5, {"sound 1", "music 4"}, 0},
                    TitleChoice{"Shutdown", 300, 400, true, 10, 3, 5, {"sound 1"}, 1},
                    TitleChoice{"HoverWithoutButton", 300, 340, false, 10, 3, 5, {}, 0},
                    TitleChoice{"ButtonOnBandEdge", 300, 352, true, 10, 3, 5, {}, 0},
                    TitleChoice{"ButtonOutsideMenu", 100, 100, true, 10, 3, 5, {}, 0}),
    [](const testing::TestParamInfo<TitleChoice>& info) { return info.param.name; });

TEST_F(TitleScenes, MissingPictureLeavesAUsableBlackScreen) {
  Picture& main = g_->form.img_main;
  EXPECT_FALSE(load_form_picture(*g_, main, "missing.bmp"));
  ASSERT_NE(main.surface, nullptr);
  EXPECT_EQ(main.surface->w, 640);
  EXPECT_EQ(read_pixel(main, 10, 10), (Rgb{0, 0, 0}));

  ASSERT_TRUE(load_form_picture(*g_, main, "BG2.bmp"));
  const Rgb before = read_pixel(main, 320, 100);
  EXPECT_FALSE(load_form_picture(*g_, main, "missing.bmp"));
  EXPECT_EQ(read_pixel(main, 320, 100), before) << "a failed load keeps the old picture";
}

}  // namespace
