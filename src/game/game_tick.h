#pragma once

struct Game;

// Timer1Timer: one pass over the scene machine.
void game_tick(Game& g);
// Creating TForm1: fills the tables, seeds the generator, fills the highlight colours, builds
// the sight stencils, remembers the two anti-aircraft prices and sets scene 0.
void form_create(Game& g, unsigned seed);
