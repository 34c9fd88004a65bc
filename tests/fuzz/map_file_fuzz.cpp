// Fuzz target: a map file of any content loads into a consistent world, and the world's rules
// then run on it without a read or write out of bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fuzz/world_check.h"
#include "state/game.h"
#include "world/map_file.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world/tables.h"
#include "world/vision.h"

namespace {

[[noreturn]] void fault(const char* what, int a = 0, int b = 0) {
  std::fprintf(stderr, "map file fuzz: %s (%d, %d)\n", what, a, b);
  std::abort();
}

void check_heal_list(const Game& g) {
  if (g.world.heal_list[kHealEntries - 1].amount != kNone) fault("heal list lost its end marker");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Game* const g = [] {
    auto* game = new Game();
    init_tables(*game);
    build_sight_stencils(*game);
    game->world.player_start_sp = 50;
    game->world.enemy_start_sp = 100;
    return game;
  }();

  load_map_image(*g, data, size);
  recount_types(*g);
  rebuild_occupancy(*g);
  update_vision(*g, kSidePlayer);
  update_vision(*g, kSideEnemy);
  fuzz_world::check_world("map file", *g);

  // A turn's worth of the world's rules on whatever the file held.
  g->world.focus_slot = 0;
  focus_unit(*g, kSidePlayer, 0);
  focus_unit(*g, kSideEnemy, 1);
  if (g->view.view_x < 0 || g->view.view_x > 44 || g->view.view_y < 0 || g->view.view_y > 49) {
    fault("view off the map", g->view.view_x, g->view.view_y);
  }
  deploy_reserves(*g);
  for (int side : {kSidePlayer, kSideEnemy}) {
    repair_at_hqs(*g, side);
    check_heal_list(*g);
    refresh_side(*g, side);
  }
  (void)first_ready(*g, 0);
  (void)first_ready(*g, 3);

  // Destroy every third unit (HQs among them) and let the captures happen.
  int n = 0;
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      TUnit& u = (side == kSidePlayer ? g->world.player_units : g->world.enemy_units)[slot];
      if (u.type != 0 && n++ % 3 == 0) u.hp = 0;
    }
  }
  remove_destroyed(*g);
  rebuild_occupancy(*g);
  update_vision(*g, kSidePlayer);
  fuzz_world::check_world("map file", *g);

  // Production from the first player HQ, if there is one.
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& hq = g->world.player_units[slot];
    if (hq.type != kPlayerHq) continue;
    g->world.selected_slot = slot;
    g->world.selected_unit = hq;
    g->input.cursor_x = 32 * (hq.x - g->view.view_x) + 16;
    g->input.cursor_y = 32 * (hq.y - 1 - g->view.view_y) + 16;
    const int dir = deploy_dir_at(*g, hq.x, hq.y);
    if (dir >= kDeployUp && dir <= kDeployLeft) produce_unit(*g, 9, dir);
    break;
  }
  rebuild_occupancy(*g);
  fuzz_world::check_world("map file", *g);
  int counted[kUnitSpecRows] = {};
  for (const TUnit* roster : {g->world.player_units, g->world.enemy_units}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) counted[roster[slot].type] += 1;
  }
  recount_types(*g);
  for (int type = 1; type <= 25; ++type) {
    if (counted[type] != g->world.unit_specs[type].count) fault("count out of step", type);
  }
  return 0;
}
