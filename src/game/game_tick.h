#pragma once

struct Game;
struct SceneBlock;

// Timer1Timer: one pass over the scene machine.
void game_tick(Game& g);
// The same pass over a given block table (ascending codes). game_tick uses kSceneBlocks; tests
// hand in blocks of their own to watch the order in which a pass reaches them.
void run_pass(Game& g, const SceneBlock* blocks, int count);
// Creating TForm1: fills the tables, seeds the generator, fills the highlight colours, builds
// the sight stencils, remembers the two anti-aircraft prices and sets the title-load scene.
void form_create(Game& g, unsigned seed);
