#include "platform/sound_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string refusal(const char* file_name, const std::string& why) {
  return std::string("cannot play the sound effect ") + file_name + ": " + why;
}

}  // namespace

SoundCache::~SoundCache() {
  for (int i = 0; i < used_; ++i) Mix_FreeChunk(slots_[i].chunk);
}

Mix_Chunk* SoundCache::get(const char* file_name, std::string* error, bool* first_refusal) {
  *first_refusal = false;
  for (int i = 0; i < used_; ++i) {
    Slot& slot = slots_[i];
    if (slot.name != file_name) continue;
    *error = slot.error;
    return slot.chunk;
  }
  if (used_ == kSlots) {
    *error = refusal(file_name, "more distinct effects than the game has");
    return nullptr;
  }
  Mix_Chunk* chunk = load(file_name, error);
  if (chunk == nullptr) *first_refusal = true;
  Slot& slot = slots_[used_++];
  slot.name = file_name;
  slot.chunk = chunk;
  slot.error = chunk == nullptr ? *error : std::string();
  return chunk;
}

Mix_Chunk* SoundCache::load(const char* file_name, std::string* error) {
  ++loads_;
  // Opened without waiting, so a FIFO cannot hold the game at the open.
  const int fd = ::open(file_name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = refusal(file_name, std::strerror(errno));
    return nullptr;
  }
  struct stat st {};
  std::string why;
  if (::fstat(fd, &st) != 0) {
    why = std::strerror(errno);
  } else if (!S_ISREG(st.st_mode)) {
    why = "not a regular file";
  } else if (static_cast<unsigned long long>(st.st_size) > kMaxEffectBytes) {
    why = "larger than " + std::to_string(kMaxEffectBytes / (1024 * 1024)) + " MB";
  }
  // Read whole into memory, never more than the size seen: the decoder then cannot read past it
  // even if the file grows meanwhile.
  std::vector<uint8_t> bytes;
  if (why.empty()) {
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) why = std::strerror(errno);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);
  }
  ::close(fd);
  if (!why.empty()) {
    *error = refusal(file_name, why);
    return nullptr;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  Mix_Chunk* chunk = rw != nullptr ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  if (chunk == nullptr) *error = refusal(file_name, Mix_GetError());
  return chunk;
}
