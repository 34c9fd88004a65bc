#include "support/game_builder.h"

#include "world/roster.h"
#include "world/tables.h"
#include "world/vision.h"

namespace test_game {

namespace {

void fill_terrain(Game& g, int terrain) {
  for (auto& column : g.world.terrain_layer) {
    for (int8_t& cell : column) cell = static_cast<int8_t>(terrain);
  }
}

}  // namespace

std::unique_ptr<Game> make_game(int terrain) {
  auto g = std::make_unique<Game>();
  make_battlefield(*g, terrain);
  return g;
}

void make_battlefield(Game& g, int terrain) {
  init_tables(g);
  build_sight_stencils(g);
  fill_terrain(g, terrain);
  g.world.player_start_sp = 100;
  g.world.enemy_start_sp = 100;
  rebuild_occupancy(g);
}

void paint(Game& g, int x, int y, int terrain) {
  g.world.terrain_layer[x][y] = static_cast<int8_t>(terrain);
}

TUnit& place(Game& g, int side, int slot, int type, int x, int y) {
  TUnit& u = bare::place(g, side, slot, type, x, y);
  recount_types(g);
  rebuild_occupancy(g);
  return u;
}

namespace bare {

std::unique_ptr<Game> make_game(int terrain) {
  auto g = std::make_unique<Game>();
  init_tables(*g);
  fill_terrain(*g, terrain);
  return g;
}

TUnit& place(Game& g, int side, int slot, int type, int x, int y) {
  TUnit& u = roster_of(g, side)[slot];
  u = TUnit{};
  u.type = type;
  u.x = x;
  u.y = y;
  u.hp = g.world.unit_specs[type].max_hp;
  u.sp = g.world.unit_specs[type].max_sp;
  u.status = 1;
  u.ready = 1;
  return u;
}

}  // namespace bare

}  // namespace test_game
