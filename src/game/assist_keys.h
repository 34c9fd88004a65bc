// The keys of assisted play, acted on at the start of a pass before the scene blocks: arrows
// scroll the view, Tab takes up the next unit that can act, T toggles the threat overlay, M and
// F11 toggle what the host does (muting, the full screen), Space held hurries the computer.
#pragma once

struct Game;

// The fastest pace of the computer's turn, in passes per tick.
constexpr int kHurriedEnemySpeed = 8;

// Acts on the presses of this pass and the keys held (only with --assist).
void assist_keys(Game& g);

// The passes per tick of the computer's turn: `chosen` (--enemy-speed), or the fastest while
// Space is held in assisted play. Each pass still runs whole.
int enemy_speed_now(const Game& g, int chosen);
