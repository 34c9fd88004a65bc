#include "platform/debug_panel.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/debug_list.h"
#include "state/game.h"

namespace {

constexpr int kPanelLeft = kScreenWidth;  // the panel picture starts right of the game's picture
constexpr int kPanelWidth = kDebugClientWidth - kPanelLeft;
constexpr int kFontPoints = 10;  // at 9 points the font loses its underscores
constexpr int kTextInset = 3;    // from the list box's border to its text
constexpr int kLinesPerNotch = 3;

constexpr Rgb kFace{240, 240, 240};
constexpr Rgb kListBack{255, 255, 255};
constexpr Rgb kListBorder{130, 135, 144};
constexpr Rgb kButtonFace{225, 225, 225};
constexpr Rgb kButtonBorder{173, 173, 173};
constexpr Rgb kPressedFace{204, 228, 247};
constexpr Rgb kPressedBorder{0, 84, 153};
constexpr Rgb kText{0, 0, 0};

bool inside(const DebugControl& c, int x, int y) {
  return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
}

// A control's rectangle in the panel picture.
Rect panel_rect(const DebugControl& c) {
  return Rect{c.x - kPanelLeft, c.y, c.x - kPanelLeft + c.w, c.y + c.h};
}

void frame_rect(Picture& p, Rect r, Rgb border, Rgb face) {
  set_brush_color(p, border);
  fill_rect(p, r);
  set_brush_color(p, face);
  fill_rect(p, Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
}

// Lines appended since the list was last cleared, the dropped ones included.
long total_lines(const Game& g) {
  return static_cast<long>(g.debug.dropped) + g.debug.count;
}

}  // namespace

int client_width(bool debug) {
  return debug ? kDebugClientWidth : kScreenWidth;
}

int debug_button_at(int x, int y) {
  for (int i = 2; i >= 0; --i) {
    if (inside(kDebugButtons[i], x, y)) return i + 1;
  }
  return 0;
}

void click_debug_button(Game& g, int button) {
  switch (button) {
    case 1:
      Button1Click(g);
      break;
    case 2:
      Button2Click(g);
      break;
    case 3:
      Button3Click(g);
      break;
    default:
      break;
  }
}

DebugPanel::~DebugPanel() {
  free_picture(picture_);
}

bool DebugPanel::open(FontCache* fonts) {
  if (!create_picture(picture_, kPanelWidth, kScreenHeight)) return false;
  picture_.fonts = fonts;
  set_font_size(picture_, kFontPoints);
  set_font_color(picture_, kText);
  const int h = text_extent(picture_, "0").y;
  if (h > 0) row_height_ = h;
  rows_ = std::clamp((kListBox1.h - 2 * 2) / row_height_, 1, kMaxRows);
  drawn_ = false;
  return true;
}

void DebugPanel::press(int x, int y) {
  pressed_ = debug_button_at(x, y);
}

int DebugPanel::release(int x, int y) {
  const int clicked = pressed_ != 0 && debug_button_at(x, y) == pressed_ ? pressed_ : 0;
  pressed_ = 0;
  return clicked;
}

void DebugPanel::scroll(const Game& g, int notches) {
  // The new offset counts from the lines held now.
  last_total_ = total_lines(g);
  const int most = std::max(0, debug_line_count(g) - rows_);
  scroll_ = std::clamp(scroll_ + notches * kLinesPerNotch, 0, most);
}

void DebugPanel::visible(const Game& g, int* first, int* count) const {
  const int n = debug_line_count(g);
  const int last = n - 1 - std::min(scroll_, std::max(0, n - rows_));
  *first = std::max(0, last - rows_ + 1);
  *count = last + 1 - *first;
}

bool DebugPanel::unchanged(const Game& g, int first, int count) const {
  if (!drawn_ || drawn_pressed_ != pressed_ || drawn_count_ != count) return false;
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(drawn_lines_[i], debug_line(g, first + i)) != 0) return false;
  }
  return true;
}

void DebugPanel::redraw(const Game& g, int first, int count) {
  Picture& p = picture_;
  set_brush_color(p, kFace);
  fill_rect(p, Rect{0, 0, kPanelWidth, kScreenHeight});

  frame_rect(p, panel_rect(kListBox1), kListBorder, kListBack);
  set_brush_clear(p);
  set_font_color(p, kText);
  const Rect list = panel_rect(kListBox1);
  for (int i = 0; i < count; ++i) {
    const char* line = debug_line(g, first + i);
    text_out(p, list.left + kTextInset, list.top + 2 + i * row_height_, line);
    std::snprintf(drawn_lines_[i], kDebugLineBytes, "%s", line);
  }

  // Drawn in order, so where two buttons overlap the higher number is on top, as it is for the
  // pointer.
  for (int i = 0; i < 3; ++i) {
    const DebugControl& b = kDebugButtons[i];
    const bool down = pressed_ == i + 1;
    const Rect r = panel_rect(b);
    frame_rect(p, r, down ? kPressedBorder : kButtonBorder, down ? kPressedFace : kButtonFace);
    set_brush_clear(p);
    const Point size = text_extent(p, b.caption);
    text_out(p, r.left + (b.w - size.x) / 2, r.top + (b.h - size.y) / 2, b.caption);
  }

  drawn_ = true;
  drawn_pressed_ = pressed_;
  drawn_count_ = count;
}

void DebugPanel::draw(const Game& g, SDL_Surface* frame) {
  if (picture_.surface == nullptr || frame == nullptr) return;
  // While the view stands above the newest line, it keeps showing the same lines as more are
  // appended below them.
  const long total = total_lines(g);
  if (scroll_ > 0 && total > last_total_) scroll_ += static_cast<int>(total - last_total_);
  last_total_ = total;
  scroll_ = std::clamp(scroll_, 0, std::max(0, debug_line_count(g) - rows_));

  int first = 0;
  int count = 0;
  visible(g, &first, &count);
  if (!unchanged(g, first, count)) redraw(g, first, count);

  SDL_Rect at{kPanelLeft, 0, kPanelWidth, kScreenHeight};
  SDL_BlitSurface(picture_.surface, nullptr, frame, &at);
}
