// Input sampling: the 10 ms input tick, the pointer moves over the picture and the version key.
#pragma once

#include "world/text.h"

struct Game;

constexpr const char* kVersionText = "Version 1.04";
constexpr const char* kVersionCaption = N_("バージョン番号");

// Timer2Timer: stores where the pointer is and whether each button is down right now, and the
// keys of assisted play (their presses add up until a pass uses them).
void input_tick(Game& g);
// A mouse move over img_unit, in picture pixels.
void img_unitMouseMove(Game& g, int x, int y);
// A key went down; ctrl tells whether Ctrl was held. Any key with Ctrl shows the version box.
void FormKeyDown(Game& g, int key, bool ctrl);
