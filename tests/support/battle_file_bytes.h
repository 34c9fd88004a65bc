// The header of a battle file put right for whatever its payload holds, the way the game writes
// it: the magic, the format, the length and the CRC-32 of the payload. The CRC is computed bit by
// bit here, apart from the game's own table, so a test can check the game's sum and reach the
// checks that lie behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/battle_file.h"

namespace battle_bytes {

// The CRC-32 of zip and PNG.
inline uint32_t reference_crc32(const uint8_t* bytes, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    c ^= bytes[i];
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

inline void put_u32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

// `file` holds kBattleFileBytes.
inline void seal(uint8_t* file) {
  std::memcpy(file, "NVBATTLE", kBattleMagicBytes);
  put_u32(file + 8, kBattleFormat);
  put_u32(file + 12, static_cast<uint32_t>(kBattleFileBytes));
  put_u32(file + 16, reference_crc32(file + kBattleHeaderBytes, kBattlePayloadBytes));
}

}  // namespace battle_bytes
