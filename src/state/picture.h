// The pictures a game holds: pixels owned through SDL surfaces, which only ui/ opens, and the
// canvas state each remembers between drawing calls. Plain data, so the state compiles without
// SDL's headers.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct FontCache;
class TextWatcher;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kSpriteSize = 32;
constexpr int kSpriteCount = 256;

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// Rectangles are (left, top, right, bottom) with right and bottom exclusive.
struct Rect {
  int left;
  int top;
  int right;
  int bottom;
};

struct Point {
  int x;
  int y;
};

enum class BrushStyle : uint8_t { kSolid, kClear };

// What a canvas remembers between drawing calls; a picture load resets it.
struct CanvasState {
  int font_size = 10;  // points at 96 DPI
  Rgb font_color{0, 0, 0};
  bool bold = false;
  Rgb brush_color{255, 255, 255};
  BrushStyle brush_style = BrushStyle::kSolid;
  Rgb pen_color{0, 0, 0};
};

// What a picture's drawing knows of its 32 by 32 blocks. Every drawing operation marks (at least)
// the blocks whose pixels it changed and forgets what they held; a new picture is marked all
// over. A picture larger than the blocks can say is marked all over and known nowhere.
struct ChangedBlocks {
  static constexpr int kBlock = 32;
  static constexpr int kColumns = 32;  // the bits of one row's mask
  static constexpr int kRows = 16;
  // The blocks that may differ from what the window last compared them with (bit c of rows[r]:
  // the block at (32 c, 32 r)). The window compares only those, then clears the marks.
  uint32_t rows[kRows] = {};
  bool all = true;
  // Plus one, the sprite whose opaque drawing the block holds exactly, as draw_image left it and
  // nothing has touched since; 0: not known. The map's terrain is drawn whole on every pass, and
  // a block already holding its cell's sprite needs no drawing at all.
  uint16_t sprite[kRows][kColumns] = {};
  const SDL_Surface* sprite_sheet = nullptr;  // the sheet those sprites came from
  void clear() {
    for (uint32_t& r : rows) r = 0;
    all = false;
  }
};

struct Picture {
  SDL_Surface* surface = nullptr;  // owned
  ChangedBlocks changed;
  CanvasState canvas;
  FontCache* fonts = nullptr;  // shared, owned by the form
  // While set, every drawing operation on the picture paints nothing and reading a pixel gives
  // black, as for a picture without pixels; see PaintLock.
  bool paint_held = false;
  // Told of every text written on the picture; the game itself sets none.
  TextWatcher* text_watcher = nullptr;
};

// What the checks of the shown texts (their language, whether they fit their windows) hear of
// the texts written on a picture: each one that text_out really draws, with its place, while the
// canvas still holds the font it is drawn in.
class TextWatcher {
 public:
  virtual void text_drawn(const Picture& picture, int x, int y, const char* utf8) = 0;

 protected:
  ~TextWatcher() = default;
};

// Holds the painting of a picture for the lifetime of the lock: the work around each drawing
// call (the occupancy layer, the vision) still runs, only the pixels stay as they were. Locks
// nest; the outermost one gives the painting back.
class PaintLock {
 public:
  explicit PaintLock(Picture& picture) : picture_(picture), was_held_(picture.paint_held) {
    picture_.paint_held = true;
  }
  ~PaintLock() { picture_.paint_held = was_held_; }
  PaintLock(const PaintLock&) = delete;
  PaintLock& operator=(const PaintLock&) = delete;

 private:
  Picture& picture_;
  bool was_held_;
};

// The sprite sheet ImageList1: 256 images of 32x32, each with its transparent colour.
struct SpriteSheet {
  SDL_Surface* surface = nullptr;  // 16x16 grid of sprites, owned, keyed on kSpriteKeyColor
  // The same pixels without the key, owned: a sprite with no transparent pixel (every terrain
  // tile) is copied from here row by row instead of testing each pixel against the key.
  SDL_Surface* opaque = nullptr;
  bool has_key_pixels[kSpriteCount] = {};  // by sprite index: must be drawn from the keyed surface
};

// Every sprite is transparent where it holds this colour; the asset generator paints nothing
// else in it.
constexpr Rgb kSpriteKeyColor{255, 0, 255};
