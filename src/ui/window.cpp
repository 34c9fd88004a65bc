#include "ui/window.h"

#include "game/game.h"

void fill_highlight_colors(Game& g) {
  // One cycle of the hover bar: darker, lighter and back, one step every six passes.
  constexpr uint8_t kGrey[8] = {64, 70, 74, 80, 86, 80, 74, 70};
  for (int i = 0; i < 8; ++i) g.ui.highlight_colors[i] = Rgb{kGrey[i], kGrey[i], kGrey[i]};
}
