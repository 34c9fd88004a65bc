// Window frames from the skin, outlined text and the menu hover protocol.
#pragma once

struct Game;

void fill_highlight_colors(Game& g);
