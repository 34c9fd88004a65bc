// The player's choice of the cell for a new unit beside an HQ.
#pragma once

struct Game;

// Outlines in white the free cells beside the HQ at (x, y) and sets deploy_dir from the
// pointer: 1 to 4 for the free cell above, right, below or left that holds the pointer, 0 when
// it is on none, 5 when the HQ has no free cell beside it at all.
void pick_deploy_cell(Game& g, int x, int y);
