// The part of every pass that assisted play (--assist) adds before the scene blocks run.
#pragma once

struct Game;

// Takes down what the last pass showed; the scene blocks of this pass put up what still holds.
void assist_before_scenes(Game& g);
