#include "game/save_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "state/game.h"

namespace {

std::string reason(const char* what, const char* path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

std::string save_folder_file(const Game& g, const char* name) {
  if (g.save.dir[0] == '\0') return name;
  return (std::filesystem::path(g.save.dir) / name).string();
}

bool make_save_folder(const Game& g, std::string* error) {
  if (g.save.dir[0] == '\0') return true;
  std::error_code ec;
  std::filesystem::create_directories(g.save.dir, ec);
  if (!ec) return true;
  *error = std::string("cannot create ") + g.save.dir + ": " + ec.message();
  return false;
}

bool replace_file(const char* path, const void* data, size_t size, RenameFn rename_fn,
                  std::string* error) {
  const std::string temp = std::string(path) + ".tmp";
  // A temporary file left by a save that never finished is stale; if it is a link, writing
  // through it would change whatever it points to, so the new file is always made afresh.
  if (std::remove(temp.c_str()) != 0 && errno != ENOENT) {
    *error = reason("cannot remove the old", temp.c_str());
    return false;
  }
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  std::FILE* file = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (file == nullptr) {
    *error = reason("cannot create", temp.c_str());
    if (fd >= 0) {
      ::close(fd);
      std::remove(temp.c_str());
    }
    return false;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
  // On the disk before it takes the old file's place, so a crash leaves one or the other.
  ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  if (!ok) *error = reason("cannot write", temp.c_str());
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    *error = reason("cannot write", temp.c_str());
  }
  if (ok && rename_fn(temp.c_str(), path) != 0) {
    ok = false;
    *error = reason("cannot replace", path);
  }
  if (!ok) std::remove(temp.c_str());
  return ok;
}

void tell_save_problem(Game& g, const char* headline, const std::string& detail) {
  const std::string text = std::string(tr(g, headline)) + "\n" + detail;
  if (g.form.host != nullptr) {
    g.form.host->message_box(text.c_str(), tr(g, kSaveCaption));
  } else {
    std::fprintf(stderr, "nevalt: %s\n", text.c_str());
  }
}
