#pragma once

#include <cstdint>

struct ViewState {
  int32_t view_x = 0;  // top-left cell of the 20x15 window, 0..44
  int32_t view_y = 0;  // 0..49
};
