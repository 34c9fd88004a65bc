// --lang through the real program: the English game plays pass for pass as the Japanese one, and
// only its texts differ, inside the windows that hold them and where the pictures have their
// words painted (the English pictures, or the Japanese ones where those are missing); its
// captions and message boxes hold no Japanese, whatever locale the user runs in; a language
// without a catalogue, or no language code at all, stops the program with a message, and "ja"
// is the game as it always was.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "e2e/screenshot.h"
#include "support/japanese.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameRun;
using e2e::run_game;
using e2e::RunPlan;

// Title "Start" (the intermission opens), "セーブ" on the intermission and its notice, then
// "出撃" (stage 1 from pass 70) and, once the turn's banner has gone, the map menu; the pointer
// rests on it, so the unit panel of whatever stands under it is not drawn.
constexpr const char* kSaveAndMapMenu =
    "0   0   0   0 0\n"
    "2   300 340 1 0   # Start\n"
    "3   300 340 0 0\n"
    "6   500 120 1 0   # セーブ\n"
    "7   500 120 0 0\n"
    "70  630 185 1 0   # 出撃\n"
    "71  630 185 0 0\n"
    "200 500 250 0 1   # the map menu\n"
    "201 500 250 0 0\n";
constexpr long kMapMenuShown = 210;

// The same, the menu's "勝利条件" chosen: the window with the victory condition.
const std::string kVictoryCondition = std::string(kSaveAndMapMenu) +
                                      "210 500 210 1 0   # 勝利条件\n"
                                      "211 500 210 0 0\n";
constexpr long kVictoryShown = 220;

GameRun play(const std::string& script, long ticks, const std::vector<std::string>& lang = {}) {
  RunPlan plan;
  plan.script = script;
  plan.ticks = ticks;
  plan.args = {"--seed", "7"};
  plan.args.insert(plan.args.end(), lang.begin(), lang.end());
  return run_game(plan);
}

struct Picture24 {
  int w = 0;
  int h = 0;
  std::vector<uint8_t> rgb;
};

Picture24 load_png(const fs::path& p) {
  Picture24 picture;
  SDL_Surface* loaded = IMG_Load(p.string().c_str());
  if (loaded == nullptr) return picture;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  picture.w = rgb->w;
  picture.h = rgb->h;
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
    picture.rgb.insert(picture.rgb.end(), row, row + rgb->w * 3);
  }
  SDL_FreeSurface(rgb);
  return picture;
}

struct Area {
  int left, top, right, bottom;
};

constexpr Area kIntermissionMenu{384, 100, 640, 228};
constexpr Area kMapMenuWindow{384, 100, 640, 292};
constexpr Area kVictoryWindow{0, 100, 640, 292};
constexpr Area kSaveNotice{32, 32, 288, 96};
// Where the pictures have their words painted: the title's name and the line under it, the
// intermission's caption in its upper left corner.
constexpr Area kTitleWords{100, 50, 540, 200};
constexpr Area kIntermissionCaption{0, 0, 240, 48};

// Where two pictures differ, as far as the areas are concerned: how many differing pixels lie in
// each area, and how many in none of them.
struct Difference {
  std::vector<int> inside;
  int outside = 0;
  Area outside_box{640, 480, 0, 0};
};

Difference difference(const fs::path& a, const fs::path& b, const std::vector<Area>& areas) {
  const Picture24 x = load_png(a);
  const Picture24 y = load_png(b);
  Difference d;
  d.inside.assign(areas.size(), 0);
  EXPECT_TRUE(x.w == 640 && x.h == 480 && y.w == 640 && y.h == 480);
  if (x.rgb.size() != y.rgb.size()) {
    d.outside = 1;
    return d;
  }
  for (int py = 0; py < x.h; ++py) {
    for (int px = 0; px < x.w; ++px) {
      const size_t i = 3 * (static_cast<size_t>(py) * x.w + px);
      if (x.rgb[i] == y.rgb[i] && x.rgb[i + 1] == y.rgb[i + 1] && x.rgb[i + 2] == y.rgb[i + 2]) {
        continue;
      }
      bool in_one = false;
      for (size_t k = 0; k < areas.size(); ++k) {
        const Area& r = areas[k];
        if (px >= r.left && px < r.right && py >= r.top && py < r.bottom) {
          ++d.inside[k];
          in_one = true;
          break;
        }
      }
      if (in_one) continue;
      ++d.outside;
      Area& box = d.outside_box;
      box = Area{std::min(box.left, px), std::min(box.top, py), std::max(box.right, px + 1),
                 std::max(box.bottom, py + 1)};
    }
  }
  return d;
}

// The inside of a window, clear of its frame: where its texts are written.
Area inner(const Area& window) {
  constexpr int kFrame = 16;
  return Area{window.left + kFrame, window.top + kFrame, window.right - kFrame,
              window.bottom - kFrame};
}

// The pictures differ in every area given, and nowhere else.
void expect_differ_only_inside(const fs::path& a, const fs::path& b,
                               const std::vector<Area>& areas) {
  const Difference d = difference(a, b, areas);
  for (size_t k = 0; k < areas.size(); ++k) EXPECT_GT(d.inside[k], 0) << "window " << k;
  EXPECT_EQ(d.outside, 0) << "differing pixels outside the windows' texts, within ("
                          << d.outside_box.left << ", " << d.outside_box.top << ")-("
                          << d.outside_box.right << ", " << d.outside_box.bottom << ")";
}

// The pictures differ in the text area of every window given, and nowhere else.
void expect_texts_differ_only_inside(const fs::path& a, const fs::path& b,
                                     const std::vector<Area>& windows) {
  std::vector<Area> areas;
  for (const Area& w : windows) areas.push_back(inner(w));
  expect_differ_only_inside(a, b, areas);
}

bool same_pictures(const fs::path& a, const fs::path& b) {
  const Difference d = difference(a, b, {});
  return d.outside == 0;
}

// Every text a dump says the player was shown: the window's caption and each message box.
std::vector<std::string> shown_texts(const nlohmann::json& dump) {
  std::vector<std::string> texts = {dump["caption"].get<std::string>()};
  for (const auto& m : dump["messages"]) {
    texts.push_back(m["text"]);
    texts.push_back(m["caption"]);
  }
  return texts;
}

// The dump without what the player reads.
nlohmann::json without_texts(nlohmann::json dump) {
  dump.erase("caption");
  for (auto& m : dump["messages"]) {
    m.erase("text");
    m.erase("caption");
  }
  return dump;
}

class EnglishGame : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    japanese_ = new GameRun(play(kSaveAndMapMenu, kMapMenuShown));
    english_ = new GameRun(play(kSaveAndMapMenu, kMapMenuShown, {"--lang", "en"}));
  }
  static void TearDownTestSuite() {
    delete japanese_;
    delete english_;
  }
  static GameRun* japanese_;
  static GameRun* english_;
};
GameRun* EnglishGame::japanese_ = nullptr;
GameRun* EnglishGame::english_ = nullptr;

TEST_F(EnglishGame, PlaysAsTheJapaneseOneAndOnlyTheMenusTextsDiffer) {
  ASSERT_EQ(japanese_->exit_code, 0) << japanese_->err;
  ASSERT_EQ(english_->exit_code, 0) << english_->err;
  EXPECT_EQ(english_->dump["scene"], 390) << "the map menu";
  EXPECT_EQ(without_texts(english_->dump), without_texts(japanese_->dump));
  EXPECT_EQ(english_->dump["caption"], "Nevalt Stage 1");
  EXPECT_EQ(japanese_->dump["caption"], "ネヴァルト Stage 1");
  expect_texts_differ_only_inside(japanese_->png, english_->png, {kMapMenuWindow});
}

TEST_F(EnglishGame, SavedAsTheJapaneseOneWithNoJapaneseShown) {
  // The save's folder is the data copy's: the same file in both.
  EXPECT_EQ(e2e::read_text(english_->data / "SAVE.TXT"), "0,0");
  EXPECT_EQ(e2e::read_text(japanese_->data / "SAVE.TXT"), "0,0");
  for (const std::string& text : shown_texts(english_->dump)) {
    EXPECT_FALSE(test_text::has_japanese(text)) << text;
  }
}

// The title "Start" (at pass 2) leads to; the pointer stays on the menu.
constexpr const char* kStart =
    "0   0   0   0 0\n"
    "2   300 340 1 0   # Start\n"
    "3   300 340 0 0\n";

// Windows over the map and over the intermission, and the screens whose pictures have words
// painted in them: the English pictures are the same art, their words in English where the
// Japanese ones are, so that the English screen differs only there and in its windows' texts.
TEST(EnglishScreens, DifferOnlyInTheirWindowsTextsAndTheirPicturesWords) {
  const struct {
    const char* name;
    std::string script;
    long ticks;
    std::vector<Area> areas;
    int least_differing;  // pixels: words painted anew, not a few pixels touched
  } cases[] = {
      {"victory condition", kVictoryCondition, kVictoryShown, {inner(kVictoryWindow)}, 100},
      // The notice stays 61 passes over the intermission, whose menu stays beside it.
      {"save notice",
       kSaveAndMapMenu,
       20,
       {inner(kSaveNotice), inner(kIntermissionMenu), kIntermissionCaption},
       1000},
      {"title", "0 0 0 0 0\n", 2, {kTitleWords}, 10000},
      {"intermission", kStart, 5, {kIntermissionCaption, inner(kIntermissionMenu)}, 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GameRun japanese = play(c.script, c.ticks);
    const GameRun english = play(c.script, c.ticks, {"--lang", "en"});
    ASSERT_EQ(english.exit_code, 0) << english.err;
    EXPECT_EQ(english.err, "");
    EXPECT_EQ(without_texts(english.dump), without_texts(japanese.dump));
    expect_differ_only_inside(japanese.png, english.png, c.areas);
    EXPECT_GT(difference(japanese.png, english.png, {}).outside, c.least_differing);
    e2e::keep_snapshot(english, (std::string("english ") + c.name).c_str());
  }
}

// A data folder whose English title is missing or cannot be used still starts, in English, on
// the Japanese title picture; only a file that is there but unusable is named.
TEST(EnglishPictures, WithoutAUsableEnglishTitleTheJapaneseOneIsShown) {
  const GameRun japanese = play("0 0 0 0 0\n", 2);
  const struct {
    const char* name;
    std::function<void(const fs::path&)> prepare;
    bool named;
  } cases[] = {
      {"missing", [](const fs::path& data) { fs::remove(data / "locale/en/Title.bmp"); }, false},
      {"cut short",
       [](const fs::path& data) { fs::resize_file(data / "locale/en/Title.bmp", 4000); }, true},
      {"another size",
       [](const fs::path& data) { e2e::write_blank_bmp(data / "locale/en/Title.bmp", 320, 240); },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunPlan plan;
    plan.script = "0 0 0 0 0\n";
    plan.ticks = 2;
    plan.args = {"--seed", "7", "--lang", "en"};
    plan.prepare = c.prepare;
    const GameRun run = run_game(plan);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.dump["scene"], japanese.dump["scene"]);
    EXPECT_TRUE(same_pictures(japanese.png, run.png));
    EXPECT_EQ(run.err.find("locale/en/Title.bmp") != std::string::npos, c.named) << run.err;
  }
}

// Sets an environment variable (or removes it, for nullptr) for the programs the test starts,
// and puts it back.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const char* value) : name_(name) {
    const char* old = getenv(name);
    if (old != nullptr) old_ = old;
    if (value == nullptr) {
      unsetenv(name);
    } else {
      setenv(name, value, 1);
    }
  }
  ~EnvironmentVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct Locale {
  const char* name;
  const char* lang;
  const char* lc_all;
  const char* language;
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const Locale& c, std::ostream* os) {
  *os << c.name;
}

class EnglishInAnyLocale : public testing::TestWithParam<Locale> {};

// gettext follows the user's locale; the English of --lang must not. A missing or unusable map
// gives the message box, Ctrl the version box.
TEST_P(EnglishInAnyLocale, CaptionAndMessageBoxesAreEnglish) {
  const Locale& l = GetParam();
  const EnvironmentVariable lang("LANG", l.lang);
  const EnvironmentVariable lc_all("LC_ALL", l.lc_all);
  const EnvironmentVariable lc_messages("LC_MESSAGES", nullptr);
  const EnvironmentVariable language("LANGUAGE", l.language);
  RunPlan plan;
  plan.script =
      "0   0   0   0 0\n"
      "1   0   0   0 0 0 1   # Ctrl: the version box\n"
      "2   300 340 1 0       # Start\n"
      "3   300 340 0 0\n"
      "6   630 185 1 0       # 出撃, but the map is gone\n"
      "7   630 185 0 0\n";
  plan.ticks = 10;
  plan.args = {"--lang", "en"};
  plan.prepare = [](const fs::path& data) { fs::remove(data / "map001.fmf"); };
  const GameRun run = run_game(plan);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.dump["caption"], "Nevalt Stage 1");
  ASSERT_EQ(run.dump["messages"].size(), 2u) << run.dump["messages"];
  EXPECT_EQ(run.dump["messages"][0]["text"], "Version 1.04");
  EXPECT_EQ(run.dump["messages"][0]["caption"], "Version");
  EXPECT_EQ(run.dump["messages"][1]["text"], "File not found\n");
  EXPECT_EQ(run.dump["messages"][1]["caption"], "Nevalt");
}

INSTANTIATE_TEST_SUITE_P(Locales, EnglishInAnyLocale,
                         testing::Values(Locale{"C", "C", nullptr, nullptr},
                                         Locale{"POSIX", nullptr, "POSIX", nullptr},
                                         Locale{"none", nullptr, nullptr, nullptr},
                                         Locale{"Japanese", "ja_JP.UTF-8", "ja_JP.UTF-8", "ja"},
                                         Locale{"German", "de_DE.UTF-8", nullptr, "de:fr"},
                                         Locale{"C.UTF-8", nullptr, "C.UTF-8", "en_GB"}),
                         [](const testing::TestParamInfo<Locale>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (c == '.' || c == '-') c = '_';
                           }
                           return name;
                         });

TEST(LangOption, WithoutACatalogueOrACodeTheProgramStopsAndJaChangesNothing) {
  RunPlan plan;
  plan.ticks = 5;
  plan.args = {"--lang", "xx"};
  const GameRun missing = run_game(plan);
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("locale/xx/LC_MESSAGES/nevalt.mo"), std::string::npos) << missing.err;
  EXPECT_TRUE(missing.dump.is_null()) << "no pass was run";

  for (const char* code : {"../en", "EN", ""}) {
    plan.args = {"--lang", code};
    const GameRun refused = run_game(plan);
    EXPECT_NE(refused.exit_code, 0) << code;
    EXPECT_NE(refused.err.find("--lang"), std::string::npos) << refused.err;
  }

  const GameRun japanese = play(kSaveAndMapMenu, kMapMenuShown, {"--lang", "ja"});
  const GameRun plain = play(kSaveAndMapMenu, kMapMenuShown);
  EXPECT_EQ(japanese.dump, plain.dump);
  EXPECT_TRUE(same_pictures(japanese.png, plain.png));
}

}  // namespace
