// The keys of assisted play, acted on at the start of a pass before the scene blocks.
#pragma once

struct Game;

// Acts on the presses of this pass and the keys held (only with --assist).
void assist_keys(Game& g);
