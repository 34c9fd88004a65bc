// Where an installed game keeps its save: the user's folder, made on the first save, with a save
// an older game left in the data folder still read until then.
#include <gtest/gtest.h>

#include <string>

#include "game/campaign.h"
#include "game/campaign_fixture.h"
#include "platform/startup.h"

namespace {

using campaign_test::InOwnFolder;
using campaign_test::read_file;
using campaign_test::write_file;
using campaign_test::fs::path;
namespace fs = campaign_test::fs;

class SaveLocation : public InOwnFolder {
 protected:
  void SetUp() override {
    InOwnFolder::SetUp();
    user_ = dir_ / "home" / ".local" / "share" / "nevalt";
    legacy_ = dir_ / "data";
    fs::create_directories(legacy_);
    ASSERT_TRUE(set_save_location(*g_, user_.string(), legacy_.string()));
  }

  path user_;
  path legacy_;
};

TEST_F(SaveLocation, ContinueReadsTheUserSaveElseTheOldOneInTheDataFolder) {
  const struct {
    const char* user;    // nullptr: no save in the user's folder
    const char* legacy;  // nullptr: none in the data folder
    bool ok;
    int32_t stage_no, max_stage;  // from 3, 5
  } cases[] = {
      {"2,4", "7,8", true, 2, 4},    // the user's own save wins
      {nullptr, "7,8", true, 7, 8},  // upgraded: the old progress is not lost
      {nullptr, nullptr, false, 3, 5},
      // A damaged save of the user's is reported, not quietly swapped for older progress.
      {"junk", "7,8", false, 3, 5},
  };
  for (const auto& c : cases) {
    std::error_code ec;
    fs::remove_all(user_, ec);
    fs::remove(legacy_ / "SAVE.TXT", ec);
    if (c.user != nullptr) {
      fs::create_directories(user_);
      write_file(user_ / "SAVE.TXT", c.user);
    }
    if (c.legacy != nullptr) write_file(legacy_ / "SAVE.TXT", c.legacy);
    host_.boxes.clear();
    g_->flow.stage_no = 3;
    g_->flow.max_stage = 5;
    const std::string what =
        std::string(c.user ? c.user : "-") + " / " + (c.legacy ? c.legacy : "-");
    EXPECT_EQ(load_progress(*g_), c.ok) << what;
    EXPECT_EQ(g_->flow.stage_no, c.stage_no) << what;
    EXPECT_EQ(g_->flow.max_stage, c.max_stage) << what;
    EXPECT_EQ(host_.boxes.size(), c.ok ? 0u : 1u) << what;
    if (c.legacy != nullptr) {
      EXPECT_EQ(read_file(legacy_ / "SAVE.TXT"), c.legacy) << what;
    }
  }
}

TEST_F(SaveLocation, TheFirstSaveMakesTheUserFolderAndLeavesTheOldSaveAlone) {
  write_file(legacy_ / "SAVE.TXT", "7,8");
  g_->flow.stage_no = 4;
  g_->flow.max_stage = 6;
  ASSERT_TRUE(save_progress(*g_));
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(read_file(user_ / "SAVE.TXT"), "4,6");
  EXPECT_EQ(read_file(legacy_ / "SAVE.TXT"), "7,8");
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT")) << "nothing in the working folder";

  // From now on the new save is the one read.
  g_->flow.stage_no = 0;
  g_->flow.max_stage = 0;
  ASSERT_TRUE(load_progress(*g_));
  EXPECT_EQ(g_->flow.stage_no, 4);
  EXPECT_EQ(g_->flow.max_stage, 6);
}

TEST_F(SaveLocation, AFolderThatCannotBeMadeOrWrittenIsReportedAndTheOldSaveKept) {
  const struct {
    const char* name;
    void (*block)(const path& user);
  } cases[] = {
      // A file where a folder of the path should be: no one, not even root, can make it.
      {"file in the way of a parent",
       [](const path& user) {
         fs::create_directories(user.parent_path().parent_path());
         write_file(user.parent_path(), "x");
       }},
      {"folder in the way of the save",
       [](const path& user) { fs::create_directories(user / "SAVE.TXT"); }},
  };
  for (const auto& c : cases) {
    std::error_code ec;
    fs::remove_all(dir_ / "home", ec);
    c.block(user_);
    write_file(legacy_ / "SAVE.TXT", "7,8");
    host_.boxes.clear();
    g_->flow.stage_no = 1;
    g_->flow.max_stage = 1;
    EXPECT_FALSE(save_progress(*g_)) << c.name;
    ASSERT_EQ(host_.boxes.size(), 1u) << c.name;
    EXPECT_EQ(host_.boxes[0].text.rfind(kSaveFailedText, 0), 0u) << host_.boxes[0].text;
    EXPECT_NE(host_.boxes[0].text.find(user_.parent_path().string()), std::string::npos)
        << host_.boxes[0].text;
    EXPECT_EQ(read_file(legacy_ / "SAVE.TXT"), "7,8") << c.name;
    EXPECT_FALSE(fs::exists(user_ / "SAVE.TXT.tmp", ec)) << c.name;
  }
}

TEST_F(SaveLocation, WithoutAUserFolderTheWorkingFolderIsUsedAsBefore) {
  ASSERT_TRUE(set_save_location(*g_, "", ""));
  EXPECT_EQ(progress_file(*g_), "SAVE.TXT");
  EXPECT_EQ(progress_file_to_read(*g_), "SAVE.TXT");
  g_->flow.stage_no = 2;
  g_->flow.max_stage = 3;
  ASSERT_TRUE(save_progress(*g_));
  EXPECT_EQ(save_text(), "2,3");
}

TEST_F(SaveLocation, ANameTooLongToKeepIsRefusedAndNothingChanges) {
  EXPECT_FALSE(set_save_location(*g_, std::string(kSaveDirMax, 'a'), ""));
  EXPECT_FALSE(set_save_location(*g_, "", std::string(kSaveDirMax, 'a')));
  EXPECT_EQ(progress_file(*g_), (user_ / "SAVE.TXT").string());
}

TEST(UserSaveDir, FollowsXdgDataHomeElseTheHomeFolder) {
  const struct {
    const char* xdg;
    const char* home;
    const char* expect;
  } cases[] = {
      {"/x/data", "/home/p", "/x/data/nevalt"},
      {nullptr, "/home/p", "/home/p/.local/share/nevalt"},
      {"", "/home/p", "/home/p/.local/share/nevalt"},
      // A relative XDG_DATA_HOME is to be ignored, and a relative home would save wherever the
      // game happened to be started.
      {"rel/data", "/home/p", "/home/p/.local/share/nevalt"},
      {nullptr, "rel", ""},
      {nullptr, nullptr, ""},
      {"/x/data", nullptr, "/x/data/nevalt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(user_save_dir(c.xdg, c.home), c.expect)
        << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

}  // namespace
