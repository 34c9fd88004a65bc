#include "platform/startup.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "state/game.h"

namespace {

void write_bmp(const std::filesystem::path& path, int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
  SDL_SaveBMP(s, path.string().c_str());
  SDL_FreeSurface(s);
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("nevalt-startup-" + std::to_string(getpid()) + "-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    make_pictures();
  }
  void make_pictures() {
    for (const char* f : {"Title.bmp", "BG1.bmp", "BG2.bmp"}) write_bmp(dir / f, 640, 480);
    write_bmp(dir / "Window.bmp", 320, 240);
    write_bmp(dir / "TileA.bmp", 512, 512);
  }
  void TearDown() override {
    std::filesystem::current_path(old_cwd);
    std::filesystem::remove_all(dir);
  }
  std::filesystem::path dir;
  std::filesystem::path old_cwd;
};

TEST_F(StartupTest, PicturesThatAreMissingBrokenOrTooSmallAreNamed) {
  std::string error;
  EXPECT_TRUE(check_pictures("DATA", &error)) << error;

  const struct {
    const char* file;
    const char* how;  // "missing", "broken" or a size
    int w, h;
    const char* expect;
  } cases[] = {
      {"Title.bmp", "missing", 0, 0, "Title.bmp"},
      {"BG2.bmp", "broken", 0, 0, "BG2.bmp"},
      {"Window.bmp", "missing", 0, 0, "Window.bmp"},
      {"BG1.bmp", "size", 320, 240, "BG1.bmp in the data folder DATA is 320x240"},
      {"TileA.bmp", "size", 511, 512, "TileA.bmp in the data folder DATA is 511x512"},
  };
  for (const auto& c : cases) {
    make_pictures();
    const std::string how = c.how;
    if (how == "missing") std::filesystem::remove(dir / c.file);
    if (how == "broken") std::filesystem::resize_file(dir / c.file, 30);
    if (how == "size") write_bmp(dir / c.file, c.w, c.h);
    EXPECT_FALSE(check_pictures("DATA", &error)) << c.file;
    EXPECT_NE(error.find(c.expect), std::string::npos) << error;
    EXPECT_NE(error.find("DATA"), std::string::npos) << error;
  }
}

TEST_F(StartupTest, DataFolderBesideTheProgramIsUsedWhenPresent) {
  EXPECT_EQ(default_data_dir(dir.string()), "");
  std::filesystem::create_directory(dir / "data");
  EXPECT_EQ(default_data_dir(dir.string()), (dir / "data").string());
  EXPECT_EQ(default_data_dir(""), "");
}

TEST_F(StartupTest, AnInstalledProgramFindsItsDataRelativeToItsOwnFolder) {
  // prefix/bin/nevalt with prefix/share/nevalt: wherever the prefix was moved or staged.
  const std::filesystem::path bin = dir / "stage" / "usr" / "bin";
  const std::filesystem::path share = dir / "stage" / "usr" / "share" / "nevalt";
  std::filesystem::create_directories(bin);
  EXPECT_EQ(default_data_dir(bin.string(), "../share/nevalt"), "") << "not installed yet";
  std::filesystem::create_directories(share);
  EXPECT_EQ(default_data_dir(bin.string(), "../share/nevalt"), share.string());
  // The build tree's data beside the program comes first.
  std::filesystem::create_directory(bin / "data");
  EXPECT_EQ(default_data_dir(bin.string(), "../share/nevalt"), (bin / "data").string());
}

TEST(JapaneseFont, IsFoundWithTheGlyphsTheGameNeeds) {
  ASSERT_EQ(TTF_Init(), 0);
  std::string error;
  const std::string file = find_japanese_font(&error);
  ASSERT_FALSE(file.empty()) << error;
  TTF_Font* font = TTF_OpenFont(file.c_str(), 10);
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(TTF_GlyphIsProvided32(font, U'ヴ'));
  TTF_CloseFont(font);
  TTF_Quit();
}

// Loaders standing in for the drawing surface's.
int fonts_closed = 0;
FontCache* fake_fonts() {
  static int token;
  return reinterpret_cast<FontCache*>(&token);
}
FontCache* open_ok(std::string*) {
  return fake_fonts();
}
FontCache* open_fails(std::string* error) {
  *error = "no IPAGothic";
  return nullptr;
}
void close_counted(FontCache*) {
  ++fonts_closed;
}
bool sheet_ok(SpriteSheet& s) {
  s.surface = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_ARGB8888);
  return s.surface != nullptr;
}
bool sheet_fails(SpriteSheet&) {
  return false;
}

TEST(FormAssets, OpensFontsAndSheetAndReleasesEverythingOnFailure) {
  const struct {
    FormAssets assets;
    bool ok;
    const char* expect;
    int closed;
  } cases[] = {
      {{open_ok, close_counted, sheet_ok}, true, "", 1},
      {{open_fails, close_counted, sheet_ok}, false, "cannot open the fonts: no IPAGothic", 0},
      {{open_ok, close_counted, sheet_fails}, false, "sprite sheet", 1},
      {{nullptr, nullptr, nullptr}, true, "", 0},
  };
  for (const auto& c : cases) {
    fonts_closed = 0;
    auto g = std::make_unique<Game>();
    std::string error;
    EXPECT_EQ(open_form_assets(*g, c.assets, &error), c.ok);
    if (c.ok) {
      EXPECT_EQ(g->form.fonts, c.assets.open_fonts ? fake_fonts() : nullptr);
      EXPECT_EQ(g->form.img_main.fonts, g->form.fonts);
      release_form_assets(*g, c.assets);
    } else {
      EXPECT_NE(error.find(c.expect), std::string::npos) << error;
    }
    EXPECT_EQ(g->form.fonts, nullptr);
    EXPECT_EQ(g->form.ImageList1.surface, nullptr);
    EXPECT_EQ(fonts_closed, c.closed);
  }
}

}  // namespace
