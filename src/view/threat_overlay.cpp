#include "view/threat_overlay.h"

#include "state/game.h"
#include "view/map_view.h"

void draw_threat_overlay(Game& g, int vx, int vy) {
  const AssistState& a = g.assist;
  if (!a.threat_shown || !a.threat_valid) return;
  Picture& main = g.form.img_main;
  for (int j = 0; j < kViewRows; ++j) {
    for (int i = 0; i < kViewColumns; ++i) {
      if (a.threat.cells[vx + i][vy + j] == 0) continue;
      tint_rect(main, Rect{32 * i, 32 * j, 32 * i + 32, 32 * j + 32}, kThreatTint, kThreatAlpha);
    }
  }
  const Rgb pen = main.canvas.pen_color;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    if (a.threat.hq_in_danger[slot] == 0) continue;
    const TUnit& hq = g.world.player_units[slot];
    const int i = hq.x - vx;
    const int j = hq.y - vy;
    if (i < 0 || i >= kViewColumns || j < 0 || j >= kViewRows) continue;
    // Two frames, one inside the other, so it stands out from the one-pixel outlines.
    draw_cell_outline(g, 32 * i + 1, 32 * j + 1, 30, 30, kHqDangerFrame);
    draw_cell_outline(g, 32 * i + 2, 32 * j + 2, 28, 28, kHqDangerFrame);
  }
  set_pen_color(main, pen);
}
