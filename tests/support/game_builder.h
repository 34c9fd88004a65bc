// The small games of the unit tests: the start-up tables, every cell one terrain, units put
// straight into their slots. Every folder's fixture starts from here.
#pragma once

#include <memory>

#include "state/game.h"

namespace test_game {

constexpr int kPlain = 8;
constexpr int kSea = 1;

// A field the game can play on: the start-up tables, every cell `terrain`, the sight stencils,
// 100 SP a side, and no unit on the occupancy layer (a zeroed one reads as player slot 0
// everywhere).
std::unique_ptr<Game> make_game(int terrain = kPlain);
// The same for a game made elsewhere (one that already has its pictures, say).
void make_battlefield(Game& g, int terrain = kPlain);

void paint(Game& g, int x, int y, int terrain);

// A full-strength, ready unit of `type` on (x, y) in `slot` of the side's roster; the type
// counts and the occupancy layer are brought up to date.
TUnit& place(Game& g, int side, int slot, int type, int x, int y);

// What the rules' tests play on: only the tables and the terrain, the other layers as a new Game
// has them, and units written into their slots and nowhere else, so a test sees exactly what a
// rule reads.
namespace bare {
using test_game::kPlain;
using test_game::kSea;
using test_game::paint;
std::unique_ptr<Game> make_game(int terrain = kPlain);
TUnit& place(Game& g, int side, int slot, int type, int x, int y);
}  // namespace bare

}  // namespace test_game
