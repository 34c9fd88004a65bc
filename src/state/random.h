// The game's own random generator: the classic linear congruential one with values 0..32767,
// so a seed replays the same battle on every machine.
#pragma once

#include <cstdint>

struct Random {
  uint32_t state = 1;
  // Tests replace the draws with a fixed sequence to check rules that depend on them.
  const int32_t* script = nullptr;
  int script_length = 0;
  int script_pos = 0;

  void seed(uint32_t s) { state = s; }
  int32_t next() {
    if (script != nullptr && script_pos < script_length) return script[script_pos++];
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7fff);
  }
};
