// A private folder of the game's files for one test or one long run, removed with it: the
// pictures, music and sounds are linked from the build's data folder, the maps copied (a run may
// damage them) or linked, and whatever the game writes (SAVE.TXT) stays in it.
#pragma once

#include <filesystem>
#include <vector>

namespace test_files {

class DataCopy {
 public:
  enum class Maps { kCopied, kLinked };

  // `prefix` names the folder in the temporary directory, for whoever finds one left behind.
  explicit DataCopy(const char* prefix, Maps maps = Maps::kCopied);
  ~DataCopy();
  DataCopy(const DataCopy&) = delete;
  DataCopy& operator=(const DataCopy&) = delete;

  // Empty when the folder could not be made.
  const std::filesystem::path& dir() const { return dir_; }
  // The originals of the maps, in the build's data folder.
  const std::vector<std::filesystem::path>& maps() const { return maps_; }

 private:
  std::filesystem::path dir_;
  std::vector<std::filesystem::path> maps_;
};

}  // namespace test_files
