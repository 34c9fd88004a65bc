#include "view/map_view.h"

#include <algorithm>

#include "state/game.h"
#include "state/scene.h"
#include "view/threat_overlay.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/unit_kinds.h"
#include "world/vision.h"

namespace {

constexpr int kFogSpriteOffset = 80;
constexpr int kActedSpriteOffset = 16;
constexpr int kEnemyHqImage = 48;

int clamp_int(int v, int lo, int hi) {
  return std::min(std::max(v, lo), hi);
}

// The sprite of a unit, or -1 for a slot whose type is outside the table.
int unit_sprite(const Game& g, const TUnit& unit) {
  if (!is_table_row(unit.type)) return -1;
  const int image = g.world.unit_specs[unit.type].image;
  return unit.ready == 1 ? image : image + kActedSpriteOffset;
}

void draw_markings(Game& g, int vx, int vy) {
  const int scene = g.flow.scene;
  if (scene != kSceneMoveTarget && scene != kSceneAttackTarget) return;
  for (int j = 0; j < kViewRows; ++j) {
    for (int i = 0; i < kViewColumns; ++i) {
      const int x = vx + i;
      const int y = vy + j;
      if (scene == kSceneMoveTarget) {
        if (g.rules.reach[x][y] <= g.world.selected_spec.move) {
          draw_cell_outline(g, 32 * i, 32 * j, 32, 32, kOutlineWhite);
        }
      } else if (g.rules.attack_range[x][y] == 0 && terrain_at(g, x, y) != 0) {
        draw_cell_outline(g, 32 * i, 32 * j, 32, 32, kOutlineRed);
      }
    }
  }
}

}  // namespace

void draw_map_view(Game& g, int vx, int vy) {
  rebuild_occupancy(g);
  update_vision(g, kSidePlayer);

  TForm1& form = g.form;
  set_brush_color(form.img_unit, read_pixel(form.img_tile, 511, 511));
  fill_rect(form.img_unit, Rect{0, 0, kScreenWidth, kScreenHeight + 1});

  vx = clamp_int(vx, 0, kViewMaxX);
  vy = clamp_int(vy, 0, kViewMaxY);
  const WorldState& w = g.world;
  for (int j = 0; j < kViewRows; ++j) {
    for (int i = 0; i < kViewColumns; ++i) {
      const int x = vx + i;
      const int y = vy + j;
      const bool seen = w.vision[kSidePlayer][x][y] == 1;
      const int terrain = terrain_at(g, x, y);
      draw_image(form.img_main, form.ImageList1, 32 * i, 32 * j,
                 seen ? terrain : terrain + kFogSpriteOffset);

      const int o = w.occupancy[x][y];
      if (o == kNoUnit) continue;
      if (o < kEnemyOccupancyBase) {
        if (o >= kRosterSlots) continue;
        // The player's own units are drawn in fog too.
        const int sprite = unit_sprite(g, w.player_units[o]);
        if (sprite >= 0) draw_image(form.img_main, form.ImageList1, 32 * i, 32 * j, sprite);
        continue;
      }
      if (o - kEnemyOccupancyBase >= kRosterSlots) continue;
      const TUnit& enemy = w.enemy_units[o - kEnemyOccupancyBase];
      if (!is_table_row(enemy.type)) continue;
      // Enemy HQs are known from the start of a stage; every other enemy hides in the fog.
      if (!seen && w.unit_specs[enemy.type].image != kEnemyHqImage) continue;
      draw_image(form.img_main, form.ImageList1, 32 * i, 32 * j, unit_sprite(g, enemy));
    }
  }
  // The threat is the player's to plan with: shown in the player's turn only.
  if (g.flow.assist && is_player_turn_scene(g.flow.scene)) draw_threat_overlay(g, vx, vy);
  draw_markings(g, vx, vy);
}

void redraw(Game& g) {
  draw_map_view(g, g.view.view_x, g.view.view_y);
}

void draw_cell_outline(Game& g, int px, int py, int w, int h, Rgb colour) {
  Picture& main = g.form.img_main;
  set_pen_color(main, colour);
  const Point corners[5] = {{px, py}, {px + w, py}, {px + w, py + h}, {px, py + h}, {px, py}};
  polyline(main, corners, 5);
}

int pointer_cell_x(const Game& g) {
  // A pointer left of the picture must not name a cell left of the map.
  return clamp_int(g.view.view_x + g.input.cursor_x / 32, 0, kMapSize - 1);
}

int pointer_cell_y(const Game& g) {
  return clamp_int(g.view.view_y + g.input.cursor_y / 32, 0, kMapSize - 1);
}

void select_at_pointer(Game& g) {
  WorldState& w = g.world;
  const int o = w.occupancy[pointer_cell_x(g)][pointer_cell_y(g)];
  const TUnit* unit = nullptr;
  int slot = -1;
  // A value that names no slot of either roster counts as an empty cell.
  if (o < kRosterSlots) {
    slot = o;
    unit = &w.player_units[slot];
  } else if (o >= kEnemyOccupancyBase && o - kEnemyOccupancyBase < kRosterSlots) {
    slot = o - kEnemyOccupancyBase;
    unit = &w.enemy_units[slot];
  }
  if (unit == nullptr || !is_table_row(unit->type)) {
    w.selected_spec = w.unit_specs[0];
    w.selected_unit = TUnit{};
    w.selected_slot = -1;
    return;
  }
  w.selected_spec = w.unit_specs[unit->type];
  w.selected_unit = *unit;
  w.selected_slot = slot;
}

void clamp_view(Game& g) {
  ViewState& v = g.view;
  if (v.view_x > kViewMaxX) v.view_x = kViewMaxX;
  if (v.view_y > kViewMaxY) v.view_y = kViewMaxY;
  if (v.view_x < 0) v.view_x = 0;
  if (v.view_y < 0) v.view_y = 0;
}

void edge_scroll(Game& g) {
  if (g.flow.anim_scroll != 0 || g.input.left_down == 0) return;
  const InputState& in = g.input;
  if (in.cursor_x >= 608) g.view.view_x += 1;
  if (in.cursor_x <= 32) g.view.view_x -= 1;
  if (in.cursor_y >= 448) g.view.view_y += 1;
  if (in.cursor_y <= 32) g.view.view_y -= 1;
  clamp_view(g);
}

bool inner_area(const Game& g) {
  const InputState& in = g.input;
  return in.cursor_x > 32 && in.cursor_x < 608 && in.cursor_y > 32 && in.cursor_y < 448;
}
