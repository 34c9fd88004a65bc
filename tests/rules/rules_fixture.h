// Small arrangements of the map and the rosters for the movement and combat tests.
#pragma once

#include <memory>

#include "state/game.h"
#include "world/tables.h"

namespace fixture {

constexpr int kPlain = 8;

// A fresh game with the initial tables and every cell painted `terrain`.
inline std::unique_ptr<Game> make_game(int terrain = kPlain) {
  auto g = std::make_unique<Game>();
  init_tables(*g);
  for (auto& column : g->world.terrain_layer) {
    for (int8_t& cell : column) cell = static_cast<int8_t>(terrain);
  }
  return g;
}

inline void paint(Game& g, int x, int y, int terrain) {
  g.world.terrain_layer[x][y] = static_cast<int8_t>(terrain);
}

// Puts a full-strength, ready unit of `type` on (x, y) in `slot` of the side's roster.
inline TUnit& place(Game& g, int side, int slot, int type, int x, int y) {
  TUnit& u = side == kSidePlayer ? g.world.player_units[slot] : g.world.enemy_units[slot];
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

}  // namespace fixture
