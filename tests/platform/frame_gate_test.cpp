#include "platform/frame_gate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ui/surface.h"
#include "ui/ui_fixtures.h"

namespace {

void dot(Picture& p, int x, int y, Uint8 r) {
  set_brush_color(p, Rgb{r, 0, 0});
  fill_rect(p, Rect{x, y, x + 1, y + 1});
}

TEST(FrameGate, LetsThroughTheFirstPictureAndEveryChangeButNotARepeat) {
  Picture f;
  ASSERT_TRUE(create_picture(f, 64, 48));
  FrameGate gate(64, 48, 4);
  EXPECT_TRUE(gate.changed(f)) << "nothing shown yet";
  EXPECT_FALSE(gate.changed(f));
  // A change in the last pixel, then one in the first row: each is seen once.
  dot(f, 63, 47, 200);
  EXPECT_TRUE(gate.changed(f));
  EXPECT_FALSE(gate.changed(f));
  dot(f, 0, 0, 9);
  EXPECT_TRUE(gate.changed(f));
  // Changed and changed back between two looks: the screen already holds it.
  dot(f, 10, 10, 1);
  dot(f, 10, 10, 0);
  EXPECT_FALSE(gate.changed(f));
  gate.invalidate();
  EXPECT_TRUE(gate.changed(f)) << "a lost screen is given the picture again";
  EXPECT_FALSE(gate.changed(f));
  // Another picture in its place is compared whole, whatever its marks say.
  Picture other;
  ASSERT_TRUE(create_picture(other, 64, 48));
  dot(other, 30, 30, 5);
  other.changed.clear();
  EXPECT_TRUE(gate.changed(other));
  free_picture(other);
  free_picture(f);
}

TEST(FrameGate, APictureOfAnotherShapeAlwaysGoesThrough) {
  Picture f;
  Picture narrow;
  ASSERT_TRUE(create_picture(f, 64, 48));
  ASSERT_TRUE(create_picture(narrow, 32, 48));
  Picture packed;
  packed.surface = SDL_CreateRGBSurfaceWithFormat(0, 64, 48, 24, SDL_PIXELFORMAT_RGB24);
  SDL_FillRect(packed.surface, nullptr, 0);
  Picture none;
  FrameGate gate(64, 48, 4);
  EXPECT_TRUE(gate.changed(f));
  for (Picture* other : {&narrow, &narrow, &packed, &packed, &none}) {
    EXPECT_TRUE(gate.changed(*other));
  }
  EXPECT_TRUE(gate.changed(f)) << "after a picture it could not keep";
  EXPECT_FALSE(gate.changed(f));
  free_picture(packed);
  free_picture(narrow);
  free_picture(f);
}

// The gate compares only the blocks the drawing marked, and a block known to hold a terrain sprite
// is not drawn again. Whatever is drawn, wherever (over block borders, half off the picture, one
// pixel or many, a sprite over a block something else touched since), the picture holds what
// drawing every sprite afresh gives, and the gate answers exactly what a comparison of the whole
// picture with the last one let through answers.
TEST(FrameGate, SeesEveryChangeAnyDrawingMakesAndNothingElse) {
  ASSERT_NE(ui_test::fonts(), nullptr);
  SpriteSheet sprites;
  ASSERT_TRUE(load_sprite_sheet(sprites)) << SDL_GetError();
  Picture skin;
  ui_test::make_skin(skin);
  Picture p;
  ASSERT_TRUE(create_picture(p, kScreenWidth, kScreenHeight));
  p.fonts = ui_test::fonts();
  // Drawn the same, but made to forget what its blocks hold before every drawing.
  Picture fresh;
  ASSERT_TRUE(create_picture(fresh, kScreenWidth, kScreenHeight));
  fresh.fonts = ui_test::fonts();
  FrameGate gate(kScreenWidth, kScreenHeight, 4);
  const size_t bytes = static_cast<size_t>(p.surface->pitch) * p.surface->h;
  std::vector<uint8_t> last(bytes);
  ASSERT_TRUE(gate.changed(p));
  std::memcpy(last.data(), p.surface->pixels, bytes);

  std::srand(7);
  const auto any = [](int low, int high) { return low + std::rand() % (high - low); };
  int changes = 0;
  int repeats = 0;
  for (int step = 0; step < 600; ++step) {
    SCOPED_TRACE(step);
    // Mostly small things near the edges of blocks and of the picture, or over a few cells that
    // sprites are drawn on again and again; now and then nothing.
    const Point cells[] = {{0, 0}, {32, 0}, {608, 448}, {320, 224}, {0, 448}, {608, 32}};
    const Point cell = cells[any(0, 6)];
    const bool near_cell = step % 2 == 0;
    const int x = near_cell ? cell.x + any(-3, 35) : any(-40, kScreenWidth + 8);
    const int y = near_cell ? cell.y + any(-3, 35) : any(-40, kScreenHeight + 8);
    const int w = any(1, step % 7 == 0 ? 200 : 3);
    const int h = any(1, step % 5 == 0 ? 120 : 3);
    const Rgb c{static_cast<uint8_t>(any(0, 4) * 80), static_cast<uint8_t>(any(0, 2) * 200), 7};
    // Every random choice is made once, before drawing the same on both pictures.
    const int kind = any(0, 9);
    const int sprite = near_cell ? any(0, 3) : any(0, 12);
    const int unit = 16 + any(0, 16);
    const int alpha = any(0, 300);
    const Rect from{any(-8, 280), any(-8, 30), any(0, 290), any(0, 40)};
    const auto draw = [&](Picture& q) {
      switch (kind) {
        case 0:
          set_brush_color(q, c);
          fill_rect(q, Rect{x, y, x + w, y + h});
          break;
        case 1: {
          set_pen_color(q, c);
          const Point line[3] = {{x, y}, {x + w, y + h}, {x + w, y}};
          polyline(q, line, 3);
          break;
        }
        case 2:
          tint_rect(q, Rect{x, y, x + w, y + h}, c, alpha);
          break;
        case 3:  // terrain: no transparent pixel, on a whole cell or anywhere
          if (near_cell) {
            draw_image(q, sprites, cell.x, cell.y, sprite);
          } else {
            draw_image(q, sprites, x, y, sprite);
          }
          break;
        case 4:  // a unit: drawn with its key
          draw_image(q, sprites, x, y, unit);
          break;
        case 5:
          copy_rect(q, x, y, skin, from);
          break;
        case 6:
          set_font_color(q, c);
          if (step % 2 == 0) {
            set_brush_clear(q);
          } else {
            set_brush_color(q, Rgb{c.b, c.r, c.g});
          }
          text_out(q, x, y, step % 3 == 0 ? "出撃" : "Stage 1");
          break;
        case 7:  // the same again changes nothing
          draw_image(q, sprites, cell.x, cell.y, 3);
          draw_image(q, sprites, cell.x, cell.y, 3);
          break;
        default:
          break;
      }
    };
    draw(p);
    for (auto& row : fresh.changed.sprite) {
      for (uint16_t& known : row) known = 0;
    }
    draw(fresh);
    ASSERT_EQ(std::memcmp(p.surface->pixels, fresh.surface->pixels, bytes), 0);
    const bool differs = std::memcmp(last.data(), p.surface->pixels, bytes) != 0;
    EXPECT_EQ(gate.changed(p), differs);
    changes += differs;
    repeats += !differs;
    std::memcpy(last.data(), p.surface->pixels, bytes);
  }
  EXPECT_GT(changes, 200);
  EXPECT_GT(repeats, 100);
  free_picture(fresh);
  free_picture(p);
  free_picture(skin);
  free_sprite_sheet(sprites);
}

}  // namespace
