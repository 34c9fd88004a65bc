#include "support/data_copy.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace test_files {

namespace fs = std::filesystem;

DataCopy::DataCopy(const char* prefix, Maps maps) {
  std::string tmpl = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (mkdtemp(tmpl.data()) == nullptr) return;
  dir_ = tmpl;
  for (const auto& entry : fs::directory_iterator(NEVALT_DATA_DIR)) {
    const std::string ext = entry.path().extension().string();
    const fs::path to = dir_ / entry.path().filename();
    if (ext == ".fmf") {
      if (maps == Maps::kCopied) {
        fs::copy_file(entry.path(), to);
      } else {
        fs::create_symlink(entry.path(), to);
      }
      maps_.push_back(entry.path());
    } else if (ext == ".bmp" || ext == ".mp3" || ext == ".wav") {
      fs::create_symlink(entry.path(), to);
    }
  }
}

DataCopy::~DataCopy() {
  std::error_code ec;
  if (!dir_.empty()) fs::remove_all(dir_, ec);
}

}  // namespace test_files
