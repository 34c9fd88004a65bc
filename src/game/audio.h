// Background music (MediaPlayer1, looped) and sound effects (MediaPlayer2).
#pragma once

#include "state/host.h"

struct Game;

// The file of music track n (1, 2, 4, 5) or sound effect n (1 to 3); nullptr for other numbers.
const char* music_file(int n);
const char* sound_file(int n);

void play_music(Game& g, int n);
void play_sound(Game& g, int n);
// The host calls this between passes when MediaPlayer1 reports the end of a command.
void MediaPlayer1Notify(Game& g, MediaPlayer::Notify notify);
