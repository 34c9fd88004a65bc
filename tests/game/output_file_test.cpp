// The outputs of a run (screenshot, state dump, recording): checked before the first pass, and
// every write checked, so a lost output is never reported as success.
#include "game/output_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class OutputPath : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "nevalt-output-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path dir;
};

TEST_F(OutputPath, APathIsWritableWhenItsFolderIsThereAndItIsNoFolderItself) {
  std::ofstream(dir / "old.png") << "x";
  fs::create_directory(dir / "sub");
  const struct {
    std::string path;
    bool ok;
    const char* said;
  } cases[] = {
      {(dir / "new.png").string(), true, ""},
      {(dir / "old.png").string(), true, ""},
      {"/dev/full", true, ""},  // writable; only the write will tell
      {(dir / "sub").string(), false, "it is a folder"},
      {(dir / "missing" / "x.png").string(), false, "does not exist"},
      {(dir / "old.png" / "x.png").string(), false, "does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string error;
    EXPECT_EQ(check_output_path(c.path, "screenshot", &error), c.ok) << error;
    if (c.ok) continue;
    EXPECT_EQ(error.rfind("cannot write the screenshot " + c.path, 0), 0u) << error;
    EXPECT_NE(error.find(c.said), std::string::npos) << error;
  }
}

TEST_F(OutputPath, AFailedWriteIsReportedAndLeavesNoFileCutShort) {
  const std::string text(100000, 'n');
  std::string error;
  ASSERT_TRUE(
      write_output_file((dir / "a.json").string(), text.data(), text.size(), "state dump", &error))
      << error;
  EXPECT_EQ(fs::file_size(dir / "a.json"), text.size());

  EXPECT_FALSE(write_output_file("/dev/full", text.data(), text.size(), "state dump", &error));
  EXPECT_EQ(error.rfind("cannot write the state dump /dev/full: ", 0), 0u) << error;
  EXPECT_TRUE(fs::exists("/dev/full")) << "a device is never removed";

  const std::string missing = (dir / "missing" / "a.json").string();
  EXPECT_FALSE(write_output_file(missing, text.data(), text.size(), "state dump", &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
}

}  // namespace
