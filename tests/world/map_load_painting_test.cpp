// Loading a stage places its units without painting each placement: the stage start paints the
// whole map right after, and that first frame must be the one the painting placements gave.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game_tick.h"
#include "support/invariants.h"
#include "ui/ui_fixtures.h"
#include "view/map_view.h"
#include "world/map_file.h"
#include "world/roster.h"
#include "world/tables.h"

namespace {

// Sand with a few forests and a road, and a dozen units of both sides around (10, 6).
std::vector<uint8_t> busy_map() {
  std::vector<uint8_t> bytes(kMapFileBytes, 0);
  for (int y = 1; y < kMapSize - 1; ++y) {
    for (int x = 1; x < kMapSize - 1; ++x) {
      bytes[kTerrainLayerOffset + 64 * y + x] = (x * 7 + y * 3) % 11 == 0 ? 5 : (y == 6 ? 9 : 7);
    }
  }
  const int codes[] = {16, 17, 18, 19, 20, 24, 48, 49, 50, 51, 56, 59};
  int i = 0;
  for (int code : codes) {
    bytes[kObjectLayerOffset + 64 * (3 + i % 4) + 5 + 3 * i] = static_cast<uint8_t>(code);
    ++i;
  }
  return bytes;
}

std::unique_ptr<Game> drawing_game() {
  auto g = ui_test::make_drawing_game();
  form_create(*g, 3);
  EXPECT_TRUE(load_sprite_sheet(g->form.ImageList1));
  g->world.player_start_sp = 50;
  g->world.enemy_start_sp = 50;
  return g;
}

TEST(MapLoad, PlacesEveryUnitWithOccupancyAndVisionCurrentButPaintsNothing) {
  auto g = drawing_game();
  const std::vector<uint8_t> map = busy_map();
  SDL_Surface* const picture = g->form.img_main.surface;
  load_map_image(*g, map.data(), map.size());
  recount_types(*g);

  EXPECT_EQ(g->form.img_main.surface, picture) << "the picture came back";
  EXPECT_EQ(ui_test::count_color(g->form.img_main, Rect{0, 0, 640, 480}, ui_test::kSentinel),
            640 * 480);
  int placed = 0;
  for (const TUnit& u : g->world.player_units) placed += u.type != 0;
  for (const TUnit& u : g->world.enemy_units) placed += u.type != 0;
  EXPECT_EQ(placed, 12);
  std::string why;
  EXPECT_TRUE(check_invariants(*g, OccupancyCheck::kCurrent, &why)) << why;
  EXPECT_EQ(g->world.vision[kSidePlayer][5][3], 1) << "the player's vision is current";
  ui_test::free_game_pictures(*g);
}

TEST(MapLoad, TheFirstFrameIsTheOnePaintingEveryPlacementGave) {
  const std::vector<uint8_t> map = busy_map();

  // As the load once did it: every placement painted the map, then the stage start painted it.
  auto painted = drawing_game();
  load_map_image(*painted, map.data(), map.size());
  clear_rosters(*painted);
  for (int y = 1; y < kMapSize - 1; ++y) {
    for (int x = 1; x < kMapSize - 1; ++x) {
      int side = 0;
      const int type = object_unit_type(map[kObjectLayerOffset + 64 * y + x], &side);
      if (type != 0) add_unit(*painted, x, y, type, side, default_hp);
    }
  }
  recount_types(*painted);
  draw_map_view(*painted, 0, 0);

  auto loaded = drawing_game();
  load_map_image(*loaded, map.data(), map.size());
  recount_types(*loaded);
  draw_map_view(*loaded, 0, 0);

  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      differing +=
          !(read_pixel(painted->form.img_main, x, y) == read_pixel(loaded->form.img_main, x, y));
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(std::memcmp(painted->world.occupancy, loaded->world.occupancy,
                        sizeof loaded->world.occupancy),
            0);
  ui_test::free_game_pictures(*painted);
  ui_test::free_game_pictures(*loaded);
}

}  // namespace
