#pragma once

#include <cstdint>

#include "ui/surface.h"

struct UiState {
  int32_t hover_item = 0;
  Rgb highlight_colors[8];
};
