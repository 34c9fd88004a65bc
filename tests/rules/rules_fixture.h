// The movement and combat tests play on the bare game of the builder: the tables and the terrain,
// units in their slots and nowhere else.
#pragma once

#include "support/game_builder.h"
#include "world/tables.h"

namespace fixture = test_game::bare;
