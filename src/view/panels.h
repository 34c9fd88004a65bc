// The information panels drawn over the map: the unit under the pointer, the player's roster,
// the status line and the empty panel of the skill command.
#pragma once

#include "state/world_state.h"
#include "ui/menu_layout.h"
#include "ui/surface.h"

struct Game;

// The unit limit the status panel shows; nothing enforces it.
constexpr int unit_cap = 40;

// The area of the window skin holding the portrait of a unit type's image; false for the images
// that have none (defensive positions, squads) and for any image no unit type uses.
bool portrait_area(int image, Rect* area);

// Top of the unit panel: the panel keeps to the half of the picture the pointer is not in.
int unit_panel_top(const Game& g);

// The selected unit (selected_spec, selected_unit) with portrait, level, name, model, status,
// HP, SP and terrain; nothing for an empty selection ("ダミー").
void draw_unit_panel(Game& g);
// The same panel for any unit: `on_map` false describes a type not yet on the map (a row of the
// production list), with no terrain. With --assist the panel also shows the unit card.
void draw_unit_panel_of(Game& g, const TUnitSpec& stats, const TUnit& unit, bool on_map);

// The unit panel beside the production list: the HQ's; with --assist, while the pointer is on a
// row, the type that row offers, as a new unit of it would be.
void draw_production_panel(Game& g);

// Player slots 0 to 39 in two columns; hover_item becomes the slot under the pointer plus one.
void draw_unit_list(Game& g);

// HQ supply with its income per turn, the unit count against unit_cap and the turn number.
void draw_status_panel(Game& g);

// The frame of the skill command, on the side of the view away from the selected unit.
void draw_skill_panel(Game& g);
