#pragma once

#include <cstdint>

#include "state/picture.h"

struct UiState {
  int32_t hover_item = 0;
  Rgb highlight_colors[8];
};
