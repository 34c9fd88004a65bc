// Assisted play in the target choice: the forecast of the attack the pointer is on.
#pragma once

struct Game;

// Works out what the selected unit's attack on enemy slot `e` would come to and shows its card,
// when the player can see the target. Only with --assist.
void show_attack_forecast(Game& g, int e);
