#include "bot/pointer_plan.h"

namespace {

// Inside the frame, away from the picture's own edge.
constexpr int kFrameInLeft = 16;
constexpr int kFrameInRight = 624;
constexpr int kFrameInTop = 16;
constexpr int kFrameInBottom = 464;

constexpr int kScreenW = 640;

// Screen columns and rows of the view whose middle lies inside the map area.
constexpr int kFirstInner = 1;
constexpr int kLastInnerColumn = 18;
constexpr int kLastInnerRow = 13;

}  // namespace

Aim cell_centre(int x, int y, int vx, int vy) {
  return Aim{kCellPixels * (x - vx) + kCellPixels / 2, kCellPixels * (y - vy) + kCellPixels / 2};
}

bool cell_clickable(int x, int y, int vx, int vy) {
  const int c = x - vx;
  const int r = y - vy;
  return c >= kFirstInner && c <= kLastInnerColumn && r >= kFirstInner && r <= kLastInnerRow;
}

bool scroll_point(int x, int y, int vx, int vy, Aim* at) {
  const int c = x - vx;
  const int r = y - vy;
  int px = kScreenW / 2;
  int py = 240;
  bool any = false;
  if (c < kFirstInner && vx > 0) {
    px = kFrameInLeft;
    any = true;
  } else if (c > kLastInnerColumn && vx < kViewMaxX0) {
    px = kFrameInRight;
    any = true;
  }
  if (r < kFirstInner && vy > 0) {
    py = kFrameInTop;
    any = true;
  } else if (r > kLastInnerRow && vy < kViewMaxY0) {
    py = kFrameInBottom;
    any = true;
  }
  if (!any) return false;
  *at = Aim{px, py};
  return true;
}

Aim menu_row_point(int x0, int y0, int width, int k) {
  const int y = y0 + 32 * (k - 1) + 16;
  const int right = x0 + width;
  // Bands are open intervals: the point keeps one pixel off every edge.
  if (right >= kScreenW && x0 < kFrameInRight) return Aim{kFrameInRight, y};
  if (x0 <= 0 && right > kFrameInLeft) return Aim{kFrameInLeft, y};
  return Aim{x0 + width / 2, y};
}

Aim production_row_point(int x0, int k) {
  const int y = kProductionListY + 16 + 20 * (k - 1) + 10;
  const int right = x0 + kProductionListWidth;
  if (right >= kScreenW) return Aim{kFrameInRight, y};
  if (x0 <= 0) return Aim{kFrameInLeft, y};
  return Aim{x0 + kProductionListWidth / 2, y};
}

Aim unit_list_point(int slot) {
  const int column = slot / 20;
  const int row = slot % 20;
  return Aim{column == 0 ? 160 : 480, 80 + 20 * row + 10};
}

int unit_list_row_y_for(int slot) {
  // The map menu's first band spans y 101 to 131: rows (y - 80) / 20 = 1 and 2 of the list's
  // right column, slots 21 and 22.
  return slot == 22 ? 125 : 110;
}

int command_menu_left(int unit_x, int view_x) {
  return unit_x - view_x < 10 ? 480 : 0;
}

int production_list_x(int unit_x, int view_x) {
  return unit_x - view_x < 10 ? 320 : 0;
}
