// The three screens with words painted in them (the title, the intermission, the ending), as the
// scenes load them: in English when English is chosen, the very picture the build drew for it,
// and the game's own otherwise.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "campaign_fixture.h"
#include "game/campaign.h"
#include "game/scenes.h"
#include "world/text.h"

namespace {

namespace fs = std::filesystem;
using campaign_test::InOwnFolder;

// Pixels in which two pictures of the screen's size differ.
int differing_pixels(const Picture& a, const Picture& b) {
  int n = 0;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) n += !(read_pixel(a, x, y) == read_pixel(b, x, y));
  }
  return n;
}

// The game's data folder with the English pictures beside the English catalogue.
class ScreenPictures : public InOwnFolder, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    InOwnFolder::SetUp();
    fs::create_symlink(fs::path(NEVALT_DATA_DIR) / "locale", dir_ / "locale");
    if (english()) {
      std::string error;
      ASSERT_TRUE(use_language(*g_, dir_.string(), "en", &error)) << error;
    }
  }
  bool english() const { return GetParam(); }
};

TEST_P(ScreenPictures, EachSceneLoadsThePictureOfTheLanguage) {
  Game& g = *g_;
  const struct {
    const char* name;
    std::function<void()> enter;
    const char* file;
  } cases[] = {
      {"title", [&g] { scene_title_load(g); }, "Title.bmp"},
      {"intermission",
       [&g] {
         g.flow.stage_no = 1;
         g.flow.scene = kSceneVictoryPause;
         g.flow.wait_ticks = 0;
         scene_victory_pause(g);
       },
       "BG1.bmp"},
      {"ending",
       [&g] {
         g.flow.stage_no = kLastStage;
         g.flow.scene = kSceneVictoryPause;
         g.flow.wait_ticks = 0;
         scene_victory_pause(g);
       },
       "BG2.bmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.enter();
    Picture own;
    Picture translated;
    ASSERT_TRUE(load_picture(own, c.file));
    ASSERT_TRUE(load_picture(translated, (std::string("locale/en/") + c.file).c_str()));
    // The same art: most of the picture is the same, only the words differ.
    const int words = differing_pixels(own, translated);
    EXPECT_GT(words, 1000);
    EXPECT_LT(words, kScreenWidth * kScreenHeight / 8);
    EXPECT_EQ(differing_pixels(g.form.img_main, english() ? translated : own), 0);
    free_picture(own);
    free_picture(translated);
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ScreenPictures, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "English" : "Japanese";
                         });

}  // namespace
