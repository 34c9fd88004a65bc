// The command menus of a player unit and of a player HQ, opened over the map on the side of the
// screen away from the unit, so the click that chose the unit cannot also choose a row.
#pragma once

struct Game;

// Left edge of the command menus (and of the production list and the skill panel): against the
// right edge of the screen while the selected unit stands in the left half of the view.
int command_menu_x(const Game& g);

// "移動", "攻撃", "スキル", "待機" over the unit panel; "移動" is grey and cannot be chosen once
// the unit has moved.
void draw_unit_commands(Game& g);
// "攻撃", "スキル", "待機" over the unit panel; "スキル" (production) is grey and cannot be chosen
// while the player already fields 20 units.
void draw_hq_commands(Game& g);
