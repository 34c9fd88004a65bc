// The development aid beside the picture: ListBox1 with the unit listing and the three buttons
// that fill it. The window shows it only when opened for debugging; otherwise it does not
// exist and the window is exactly the picture.
#pragma once

#include "state/debug_state.h"
#include "ui/surface.h"

struct Game;
struct SDL_Surface;

// The window's controls in client pixels (the picture's own coordinates).
struct DebugControl {
  int x;
  int y;
  int w;
  int h;
  const char* caption;
};

constexpr DebugControl kListBox1{646, 0, 146, 402, nullptr};
// Button2 overlaps both of its neighbours by one pixel; the higher number lies on top.
constexpr DebugControl kDebugButtons[3] = {
    {648, 456, 49, 25, "E_UNIT"},
    {696, 455, 41, 25, "NEAR"},
    {736, 455, 49, 25, "P_UNIT"},
};
// The picture and, right of it, the list box out to its right edge.
constexpr int kDebugClientWidth = kListBox1.x + kListBox1.w;

// The window's client width in picture pixels, with or without the debug controls.
int client_width(bool debug);
// The button (1 to 3) under the client pixel (x, y), or 0.
int debug_button_at(int x, int y);
// Button1Click, Button2Click or Button3Click for button 1, 2 or 3; other numbers do nothing.
void click_debug_button(Game& g, int button);

class DebugPanel {
 public:
  DebugPanel() = default;
  ~DebugPanel();
  DebugPanel(const DebugPanel&) = delete;
  DebugPanel& operator=(const DebugPanel&) = delete;

  // Makes the panel's picture; the text is drawn in the game's fonts (none: no text). False
  // when SDL cannot make the picture.
  bool open(FontCache* fonts);

  // The left button went down or up at the client pixel (x, y). A release over the button it
  // was pressed on is a click: release() returns that button's number, else 0.
  void press(int x, int y);
  int release(int x, int y);
  // Wheel notches, positive away from the user, i.e. towards older lines.
  void scroll(const Game& g, int notches);
  // Back to the newest lines, as after a button fills the list anew.
  void scroll_to_end() { scroll_ = 0; }

  // Draws the list and the buttons into frame (client pixels, at least kDebugClientWidth wide).
  // The picture is redrawn only when what it shows has changed.
  void draw(const Game& g, SDL_Surface* frame);

  // Lines the list box shows at once.
  int rows() const { return rows_; }
  // How many lines the view stands above the newest one.
  int scroll_offset() const { return scroll_; }
  // Index (as debug_line) of the first line shown, and how many are shown.
  void visible(const Game& g, int* first, int* count) const;

 private:
  static constexpr int kMaxRows = 64;

  void layout(const Game& g);
  bool unchanged(const Game& g, int first, int count) const;
  void redraw(const Game& g, int first, int count);

  Picture picture_;
  int row_height_ = 14;
  int rows_ = 1;
  int scroll_ = 0;
  long last_total_ = 0;  // lines ever appended since the last clear, at the last draw
  int pressed_ = 0;

  // What the picture shows now.
  bool drawn_ = false;
  int drawn_pressed_ = 0;
  int drawn_count_ = 0;
  char drawn_lines_[kMaxRows][kDebugLineBytes] = {};
};
