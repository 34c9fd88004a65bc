// The sound effects, each read once and kept for the whole run. An effect plays again and again,
// and a file in its place that is no plain file of a sane size (a link to /dev/zero, a FIFO, a
// huge file) is refused before a byte of it is read, so a click can never hang the game or fill
// the memory.
#pragma once

#include <SDL_mixer.h>

#include <cstddef>
#include <string>

class SoundCache {
 public:
  // The game's effects are a few hundred kilobytes; a file past this is no effect of ours.
  static constexpr size_t kMaxEffectBytes = 16u * 1024u * 1024u;
  // Distinct files the cache remembers; the game has three effects.
  static constexpr int kSlots = 8;

  SoundCache() = default;
  ~SoundCache();
  SoundCache(const SoundCache&) = delete;
  SoundCache& operator=(const SoundCache&) = delete;

  // The effect of the file, read and decoded on its first use. nullptr when it cannot be played,
  // with the reason (naming the file) in *error; a file refused once is not tried again, and
  // *first_refusal says whether this call is the one that found it out.
  Mix_Chunk* get(const char* file_name, std::string* error, bool* first_refusal);

  // How many files were actually read: each at most once.
  int loads() const { return loads_; }

 private:
  struct Slot {
    std::string name;
    Mix_Chunk* chunk = nullptr;
    std::string error;  // empty while the chunk is good
  };

  // Reads and decodes the file, or says why not.
  Mix_Chunk* load(const char* file_name, std::string* error);

  Slot slots_[kSlots];
  int used_ = 0;
  int loads_ = 0;
};
