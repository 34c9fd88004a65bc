#include "bot/pointer_plan.h"

#include <algorithm>

namespace {

// Inside the frame, away from the picture's own edge.
constexpr int kFrameInLeft = 16;
constexpr int kFrameInRight = 624;
constexpr int kFrameInTop = 16;
constexpr int kFrameInBottom = 464;

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
  int px = kScreenWidth / 2;
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
  const Rect band = menu_row_band(x0, y0, width, k);
  const int y = band.top + kMenuRowHeight / 2;
  // Bands are open intervals: the point keeps one pixel off every edge.
  if (band.right >= kScreenWidth && x0 < kFrameInRight) return Aim{kFrameInRight, y};
  if (x0 <= 0 && band.right > kFrameInLeft) return Aim{kFrameInLeft, y};
  return Aim{x0 + width / 2, y};
}

Aim production_row_point(int x0, int k) {
  const Rect band = production_row_band(x0, k);
  const int y = band.top + kProductionRowHeight / 2;
  if (band.right >= kScreenWidth) return Aim{kFrameInRight, y};
  if (x0 <= 0) return Aim{kFrameInLeft, y};
  return Aim{x0 + kProductionListWidth / 2, y};
}

Aim unit_list_point(int slot) {
  const int column = slot / kListRowsPerColumn;
  const int row = slot % kListRowsPerColumn;
  return Aim{kUnitListColumnWidth * column + kUnitListColumnWidth / 2,
             kUnitListFirstRowY + kUnitListRowHeight * row + kUnitListRowHeight / 2};
}

int unit_list_row_y_for(int slot) {
  // The middle of the pixel rows that lie both in the map menu's first band and in the list's
  // row of `slot`: the band spans y 101 to 131, rows 1 and 2 of the list's right column, which
  // name slots 21 and 22.
  const Rect band = menu_row_band(kMapMenu, kRowUnitList);
  const int row_top = kUnitListFirstRowY + kUnitListRowHeight * (slot % kListRowsPerColumn);
  const int low = std::max(band.top + 1, row_top);
  const int high = std::min(band.bottom - 1, row_top + kUnitListRowHeight - 1);
  return (low + high) / 2;
}
