// Assisted play in the destination choice: the way to the cell under the pointer.
#pragma once

struct Game;

// When the pointer is on a cell the selected unit can reach, traces the way there as the move
// will (reading the reach, changing nothing) and draws it. Only with --assist.
void show_path_preview(Game& g);
