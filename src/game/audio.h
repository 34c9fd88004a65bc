// Background music (MediaPlayer1, looped) and sound effects (MediaPlayer2).
#pragma once

#include <cstdint>

#include "state/host.h"

struct Game;

// The tracks by what they accompany. The numbers are the ones the audio log records; there is
// no track 3.
enum class Track : int32_t {
  kTitle = 1,         // the title screen
  kBattle = 2,        // every stage, through both sides' turns
  kIntermission = 4,  // between stages
  kEnding = 5,        // the ending picture after the last stage
};

// The sound effects by the action they answer.
enum class Sound : int32_t {
  kConfirm = 1,  // a menu row chosen, a unit selected, a cell clicked, the map menu opened
  kCancel = 2,   // a right click that goes back
  kAttack = 3,   // an attack of either side
};

// The file of music track n (1, 2, 4, 5) or sound effect n (1 to 3); nullptr for other numbers.
const char* music_file(int n);
const char* sound_file(int n);

// By number, as the audio log records them; a number that names no file is reported (music) or
// not heard (sound).
void play_music(Game& g, int n);
void play_sound(Game& g, int n);

inline void play_music(Game& g, Track track) {
  play_music(g, static_cast<int>(track));
}
inline void play_sound(Game& g, Sound sound) {
  play_sound(g, static_cast<int>(sound));
}
// The host calls this between passes when MediaPlayer1 reports the end of a command.
void MediaPlayer1Notify(Game& g, MediaPlayer::Notify notify);
