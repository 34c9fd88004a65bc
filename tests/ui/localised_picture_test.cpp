// A picture with words painted in it has a version of its own in a chosen language. The game
// takes it where it exists and can be used, and otherwise its own picture, as if the language
// had none: a missing version says nothing, a damaged one or one of another size is named on
// stderr, and neither ever leaves the screen without its picture.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "state/game.h"
#include "ui/screens.h"
#include "ui/surface.h"
#include "ui_fixtures.h"
#include "world/text.h"

using namespace ui_test;

namespace {

namespace fs = std::filesystem;

constexpr Rgb kOwn{40, 60, 90};
constexpr Rgb kEnglish{200, 30, 30};

void write_bmp(const fs::path& p, int w, int h, Rgb c) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
  ASSERT_NE(s, nullptr);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, c.r, c.g, c.b));
  ASSERT_EQ(SDL_SaveBMP(s, p.string().c_str()), 0);
  SDL_FreeSurface(s);
}

// A data folder of the test's own, the working folder while the test runs, as the game's data
// folder is; Title.bmp in it, and the English folder beside the catalogue's.
class LocalisedPicture : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "nevalt-pictures-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    old_dir_ = fs::current_path();
    fs::current_path(dir_);
    fs::create_directories("locale/en");
    write_bmp("Title.bmp", 64, 48, kOwn);
    g_ = std::make_unique<Game>();
    g_->text.translated = true;
    std::snprintf(g_->text.language, sizeof g_->text.language, "en");
  }
  void TearDown() override {
    free_picture(g_->form.img_main);
    fs::current_path(old_dir_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // Loads Title.bmp into the main picture and hands back what stderr was told meanwhile.
  std::string load(bool* loaded) {
    testing::internal::CaptureStderr();
    *loaded = load_form_picture(*g_, g_->form.img_main, "Title.bmp");
    return testing::internal::GetCapturedStderr();
  }

  fs::path dir_;
  fs::path old_dir_;
  std::unique_ptr<Game> g_;
};

TEST_F(LocalisedPicture, TheLanguagesOwnWhenUsableElseTheGamesOwn) {
  const struct {
    const char* name;
    std::function<void()> english;  // makes locale/en/Title.bmp, or not
    Rgb shown;
    bool named;  // stderr names the English file
  } cases[] = {
      {"the same size", [] { write_bmp("locale/en/Title.bmp", 64, 48, kEnglish); }, kEnglish,
       false},
      {"none", [] {}, kOwn, false},
      {"another size", [] { write_bmp("locale/en/Title.bmp", 640, 480, kEnglish); }, kOwn, true},
      {"cut short",
       [] {
         write_bmp("locale/en/Title.bmp", 64, 48, kEnglish);
         fs::resize_file("locale/en/Title.bmp", 300);
       },
       kOwn, true},
      {"not a picture", [] { std::ofstream("locale/en/Title.bmp") << "Title"; }, kOwn, true},
      {"a folder", [] { fs::create_directory("locale/en/Title.bmp"); }, kOwn, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("locale/en/Title.bmp");
    c.english();
    // What the screen held before: a failed load must not leave it.
    ASSERT_TRUE(create_picture(g_->form.img_main, 8, 8));
    bool loaded = false;
    const std::string said = load(&loaded);
    EXPECT_TRUE(loaded);
    ASSERT_NE(g_->form.img_main.surface, nullptr);
    EXPECT_EQ(g_->form.img_main.surface->w, 64);
    EXPECT_EQ(read_pixel(g_->form.img_main, 10, 10), c.shown);
    EXPECT_EQ(said.find("locale/en/Title.bmp") != std::string::npos, c.named) << said;
  }
}

TEST_F(LocalisedPicture, TheGamesOwnLanguageAndAnotherLanguageNeverTakeTheEnglishOne) {
  write_bmp("locale/en/Title.bmp", 64, 48, kEnglish);
  const struct {
    const char* name;
    bool translated;
    const char* language;
  } cases[] = {{"Japanese", false, ""}, {"German", true, "de"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_->text.translated = c.translated;
    std::snprintf(g_->text.language, sizeof g_->text.language, "%s", c.language);
    bool loaded = false;
    EXPECT_EQ(load(&loaded), "");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(read_pixel(g_->form.img_main, 10, 10), kOwn);
  }
}

// Without the game's own picture the language's one is still shown; without both the screen is
// the usual black one, and the message names the game's own file.
TEST_F(LocalisedPicture, WithoutTheGamesOwnPicture) {
  fs::remove("Title.bmp");
  write_bmp("locale/en/Title.bmp", 64, 48, kEnglish);
  bool loaded = false;
  load(&loaded);
  EXPECT_TRUE(loaded);
  EXPECT_EQ(read_pixel(g_->form.img_main, 10, 10), kEnglish);

  free_picture(g_->form.img_main);
  fs::remove("locale/en/Title.bmp");
  const std::string said = load(&loaded);
  EXPECT_FALSE(loaded);
  EXPECT_NE(said.find("Title.bmp"), std::string::npos) << said;
  ASSERT_NE(g_->form.img_main.surface, nullptr);
  EXPECT_EQ(g_->form.img_main.surface->w, kScreenWidth);
  EXPECT_EQ(read_pixel(g_->form.img_main, 10, 10), (Rgb{0, 0, 0}));
}

}  // namespace
