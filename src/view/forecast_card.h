// The card beside an enemy in the target choice of assisted play: the chance to hit, the damage
// of a hit, the target's hit points after it and whether it falls.
#pragma once

#include "ui/surface.h"

struct Game;

constexpr int kForecastCardWidth = 160;
constexpr int kForecastCardHeight = 96;

// Where the card of a target on view pixel (px, py) goes: right of the cell, or left of it when
// the picture ends first, and held inside the picture.
Rect forecast_card_rect(int px, int py);

// The card of g.assist.forecast over the map; nothing while no forecast is shown.
void draw_forecast_card(Game& g);
