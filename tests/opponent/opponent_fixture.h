// The computer's turn plays on the builder's battlefield.
#pragma once

#include "support/game_builder.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/vision.h"

namespace opponent_test = test_game;
