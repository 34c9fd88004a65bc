#pragma once

#include <cstdint>

struct OpponentState {
  uint8_t enemy_moved = 0;
};
