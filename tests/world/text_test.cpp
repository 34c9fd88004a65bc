// Choosing the language of the texts, and the lookups that follow: nothing changes unless a
// language with a catalogue is chosen, a catalogue that is missing, not a file or not the game's
// is refused with its name, and the built English one has an entry for every text of the tables.
#include "world/text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "state/game.h"
#include "support/game_builder.h"
#include "support/japanese.h"
#include "world/tables.h"
#include "world/unit_kinds.h"

namespace {

namespace fs = std::filesystem;

struct CodeCase {
  const char* code;
  bool valid;
};

// Without it the test names carry the struct's raw bytes, a pointer among them, which differ
// from run to run.
void PrintTo(const CodeCase& c, std::ostream* os) {
  *os << testing::PrintToString(std::string(c.code)) << (c.valid ? " valid" : " invalid");
}

class LanguageCode : public testing::TestWithParam<CodeCase> {};

TEST_P(LanguageCode, TwoOrThreeSmallLettersAndMaybeACountry) {
  EXPECT_EQ(is_language_code(GetParam().code), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LanguageCode,
    testing::Values(CodeCase{"en", true}, CodeCase{"ja", true}, CodeCase{"fil", true},
                    CodeCase{"pt_BR", true}, CodeCase{"", false}, CodeCase{"e", false},
                    CodeCase{"engl", false}, CodeCase{"EN", false}, CodeCase{"en_us", false},
                    CodeCase{"en-US", false}, CodeCase{"pt_BRA", false}, CodeCase{"en_", false},
                    CodeCase{"../en", false}, CodeCase{"en/..", false}, CodeCase{"en\n", false}));

// A data folder of the test's own, removed with it.
class LanguageFolder : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "nevalt-lang-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  fs::path catalogue(const char* language) {
    const fs::path file = catalogue_file(dir_.string(), language);
    fs::create_directories(file.parent_path());
    return file;
  }

  fs::path dir_;
  Game g_;
};

TEST_F(LanguageFolder, TheGamesOwnLanguageNeedsNoCatalogueAndLooksNothingUp) {
  std::string error;
  ASSERT_TRUE(use_language(g_, dir_.string(), "ja", &error)) << error;
  EXPECT_FALSE(g_.text.translated);
  const char* text = "移動";
  EXPECT_EQ(tr(g_, text), text);
}

TEST_F(LanguageFolder, WhatIsNoCatalogueIsRefusedByNameAndChangesNothing) {
  const struct {
    const char* name;
    const char* language;
    void (*make)(const fs::path& file);
  } cases[] = {
      {"no language code", "../en", [](const fs::path&) {}},
      {"missing", "en", [](const fs::path&) {}},
      {"a folder", "it", [](const fs::path& file) { fs::create_directories(file); }},
      // gettext would wait at its opening for a writer that never comes.
      {"a FIFO", "es", [](const fs::path& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
      {"not a catalogue", "de",
       [](const fs::path& file) { std::ofstream(file) << "msgid \"移動\"\nmsgstr \"Move\"\n"; }},
      // A real catalogue, but of another program: none of the game's texts in it.
      {"another program's", "fr",
       [](const fs::path& file) {
         fs::copy_file(catalogue_file(NEVALT_DATA_DIR, "en"), file);
         std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
         f.seekp(0);
         f.write("\x00\x00\x00\x00", 4);  // the magic number gone
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = is_language_code(c.language) ? catalogue(c.language) : fs::path();
    if (!file.empty()) c.make(file);
    std::string error;
    EXPECT_FALSE(use_language(g_, dir_.string(), c.language, &error));
    EXPECT_FALSE(g_.text.translated);
    EXPECT_STREQ(g_.text.language, "");
    EXPECT_NE(error.find(file.empty() ? c.language : file.string()), std::string::npos) << error;
  }
}

class BuiltEnglish : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(use_language(*english_, NEVALT_DATA_DIR, "en", &error)) << error;
  }
  std::unique_ptr<Game> english_ = test_game::make_game();
  std::unique_ptr<Game> japanese_ = test_game::make_game();
};

TEST_F(BuiltEnglish, OnlyTheGameThatChoseItIsTranslated) {
  EXPECT_TRUE(english_->text.translated);
  EXPECT_STREQ(tr(*english_, "移動"), "Move");
  EXPECT_STREQ(tr(*english_, "司令部のSP %d (+%lld)"), "HQ SP %d (+%lld)");
  const char* text = "移動";
  EXPECT_EQ(tr(*japanese_, text), text);
  // Not the catalogue's header, which gettext gives for the empty text.
  EXPECT_STREQ(tr(*english_, ""), "");
  EXPECT_EQ(tr(*english_, nullptr), nullptr);
}

// A picture's own version in the chosen language stands beside the language's catalogue, named
// from the data folder as the game's own picture is; the game's own language has none, and a
// name that does not fit is no name at all.
TEST_F(BuiltEnglish, ThePictureOfTheLanguageStandsInItsFolder) {
  EXPECT_STREQ(english_->text.language, "en");
  char file[24] = "unchanged";
  EXPECT_TRUE(localised_file(*english_, "Title.bmp", file, sizeof file));
  EXPECT_STREQ(file, "locale/en/Title.bmp");
  EXPECT_TRUE(fs::exists(fs::path(NEVALT_DATA_DIR) / file)) << "the build draws it";

  std::snprintf(file, sizeof file, "unchanged");
  EXPECT_FALSE(localised_file(*japanese_, "Title.bmp", file, sizeof file));
  EXPECT_STREQ(file, "");

  // "locale/en/Title.bmp" and its end need 20 bytes.
  char small[19] = "unchanged";
  EXPECT_FALSE(localised_file(*english_, "Title.bmp", small, sizeof small));
  EXPECT_STREQ(small, "");
  char enough[20];
  EXPECT_TRUE(localised_file(*english_, "Title.bmp", enough, sizeof enough));
  EXPECT_FALSE(localised_file(*english_, nullptr, enough, sizeof enough));
}

// A text without an entry would be shown as it is, and looked for in the catalogue's files on
// every pass: every text of the tables has one, in English.
TEST_F(BuiltEnglish, EveryTextOfTheTablesHasAnEnglishEntry) {
  const WorldState& w = english_->world;
  for (int type = 0; type <= kLastUnitRow; ++type) {
    for (const char* text : {w.unit_specs[type].name, w.unit_specs[type].model}) {
      SCOPED_TRACE(text);
      const char* shown = tr(*english_, text);
      EXPECT_NE(shown, text);
      EXPECT_FALSE(test_text::has_japanese(shown)) << shown;
    }
  }
  for (const char* caption : terrain_names) {
    SCOPED_TRACE(caption);
    const char* shown = tr(*english_, caption);
    EXPECT_NE(shown, caption);
    EXPECT_FALSE(test_text::has_japanese(shown)) << shown;
  }
}

}  // namespace
