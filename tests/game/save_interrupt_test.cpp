// A save cut off by the end of the program (a crash, a power cut, a kill) between writing the new
// numbers and putting them in place: the old save stays whole, "Continue" reads it, and the next
// save works over the leftover temporary file.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "game/campaign.h"
#include "game/campaign_fixture.h"

namespace campaign_test {
namespace {

// Where the program dies: inside the rename, before it happens.
int die_before_renaming(const char*, const char*) {
  _exit(0);
}

// Runs a save of (stage, max) in a child process that dies at the rename, as the program would.
void interrupted_save(int32_t stage, int32_t max_stage) {
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    std::string error;
    write_progress_file(kSaveFileName, stage, max_stage, die_before_renaming, &error);
    _exit(1);  // not reached: the rename ends the child
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child did not die renaming";
}

TEST_F(InOwnFolder, ASaveInterruptedBeforeItsRenameLeavesTheOldSaveToContinueFrom) {
  write_file(dir_ / "SAVE.TXT", "4,6");
  interrupted_save(8, 9);
  EXPECT_EQ(save_text(), "4,6");
  EXPECT_EQ(read_file(dir_ / "SAVE.TXT.tmp"), "8,9") << "the new numbers were written first";

  g_->flow.stage_no = 0;
  g_->flow.max_stage = 0;
  EXPECT_TRUE(load_progress(*g_));
  EXPECT_EQ(g_->flow.stage_no, 4);
  EXPECT_EQ(g_->flow.max_stage, 6);

  g_->flow.stage_no = 5;
  EXPECT_TRUE(save_progress(*g_));
  EXPECT_EQ(save_text(), "5,6");
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT.tmp"));
  EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(InOwnFolder, AFirstSaveInterruptedLeavesNoSaveRatherThanAnEmptyOne) {
  interrupted_save(2, 2);
  EXPECT_FALSE(fs::exists(dir_ / "SAVE.TXT"));
  g_->flow.stage_no = 1;
  g_->flow.max_stage = 3;
  EXPECT_FALSE(load_progress(*g_));
  EXPECT_EQ(g_->flow.stage_no, 1);
  EXPECT_EQ(g_->flow.max_stage, 3);
  EXPECT_EQ(host_.boxes.size(), 1u);
}

// Whatever an earlier run left as SAVE.TXT.tmp is not written into: a link would carry the
// numbers to the file it points at, a folder holding files must stay as it is.
TEST_F(InOwnFolder, AStaleTemporaryFileIsRemovedBeforeTheNextSaveNeverWrittenThrough) {
  const fs::path temp = dir_ / "SAVE.TXT.tmp";
  const struct {
    const char* name;
    void (*leave)(const fs::path& dir, const fs::path& temp);
    bool saves;
  } cases[] = {
      {"numbers of a cut-off save", [](const fs::path&, const fs::path& t) { write_file(t, "9,"); },
       true},
      {"a link to another file",
       [](const fs::path& d, const fs::path& t) {
         write_file(d / "other.txt", "keep me");
         fs::create_symlink(d / "other.txt", t);
       },
       true},
      {"a link to nowhere",
       [](const fs::path& d, const fs::path& t) { fs::create_symlink(d / "nowhere", t); }, true},
      {"an empty folder", [](const fs::path&, const fs::path& t) { fs::create_directory(t); },
       true},
      {"a folder holding a file",
       [](const fs::path&, const fs::path& t) {
         fs::create_directory(t);
         write_file(t / "keep", "x");
       },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_file(dir_ / "SAVE.TXT", "4,6");
    c.leave(dir_, temp);
    host_.boxes.clear();
    g_->flow.stage_no = 5;
    g_->flow.max_stage = 7;
    EXPECT_EQ(save_progress(*g_), c.saves);
    EXPECT_EQ(save_text(), c.saves ? "5,7" : "4,6");
    EXPECT_EQ(host_.boxes.size(), c.saves ? 0u : 1u);
    if (fs::exists(dir_ / "other.txt")) {
      EXPECT_EQ(read_file(dir_ / "other.txt"), "keep me");
    }
    EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
    if (c.saves) {
      EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));
    } else {
      EXPECT_EQ(read_file(temp / "keep"), "x");
    }
    std::error_code ec;
    fs::remove_all(temp, ec);
    fs::remove(dir_ / "other.txt", ec);
  }
}

}  // namespace
}  // namespace campaign_test
