#include "game/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

std::string failure(const char* what, const std::string& path, const std::string& why) {
  return std::string("cannot write the ") + what + " " + path + ": " + why;
}

}  // namespace

bool check_output_path(const std::string& path, const char* what, std::string* error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      *error = failure(what, path, "it is a folder");
      return false;
    }
    if (::access(path.c_str(), W_OK) != 0) {
      *error = failure(what, path, std::strerror(errno));
      return false;
    }
    return true;
  }
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  struct stat fst {};
  if (::stat(folder.c_str(), &fst) != 0 || !S_ISDIR(fst.st_mode)) {
    *error = failure(what, path, "the folder " + folder.string() + " does not exist");
    return false;
  }
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    *error = failure(
        what, path,
        "the folder " + folder.string() + " cannot be written to (" + std::strerror(errno) + ")");
    return false;
  }
  return true;
}

bool write_output_file(const std::string& path, const void* data, size_t size, const char* what,
                       std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = failure(what, path, std::strerror(errno));
    return false;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
  ok = std::fflush(file) == 0 && ok;
  int why = ok ? 0 : errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    why = errno;
  }
  if (ok) return true;
  *error = failure(what, path, std::strerror(why != 0 ? why : EIO));
  // A device such as /dev/full stays; a regular file cut short would only mislead.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) std::remove(path.c_str());
  return false;
}
