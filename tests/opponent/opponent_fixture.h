// Small battlefields for the computer's turn: plain land, the tables as at start-up, and units
// put straight into their slots.
#pragma once

#include <memory>

#include "state/game.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/vision.h"

namespace opponent_test {

constexpr int kPlain = 8;
constexpr int kSea = 1;

inline std::unique_ptr<Game> make_game(int terrain = kPlain) {
  auto g = std::make_unique<Game>();
  init_tables(*g);
  build_sight_stencils(*g);
  for (auto& column : g->world.terrain_layer) {
    for (int8_t& cell : column) cell = static_cast<int8_t>(terrain);
  }
  g->world.player_start_sp = 100;
  g->world.enemy_start_sp = 100;
  rebuild_occupancy(*g);
  return g;
}

inline void paint(Game& g, int x, int y, int terrain) {
  g.world.terrain_layer[x][y] = static_cast<int8_t>(terrain);
}

// A full-strength, ready unit of `type` on (x, y) in `slot` of the side's roster; the type
// counts and the occupancy layer are brought up to date.
inline TUnit& place(Game& g, int side, int slot, int type, int x, int y) {
  TUnit& u = roster_of(g, side)[slot];
  u = TUnit{};
  u.type = type;
  u.x = x;
  u.y = y;
  u.hp = g.world.unit_specs[type].max_hp;
  u.sp = g.world.unit_specs[type].max_sp;
  u.status = 1;
  u.ready = 1;
  recount_types(g);
  rebuild_occupancy(g);
  return u;
}

}  // namespace opponent_test
