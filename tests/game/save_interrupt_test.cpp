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

}  // namespace
}  // namespace campaign_test
