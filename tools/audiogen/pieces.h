// The game's four music tracks and three sound effects.
#pragma once

#include "audiogen/synth.h"

namespace audiogen {

enum class Track { kTitle, kBattle, kIntermission, kEnding };
enum class Effect { kConfirm, kCancel, kAttack };

inline constexpr Track kTracks[] = {Track::kTitle, Track::kBattle, Track::kIntermission,
                                    Track::kEnding};
inline constexpr Effect kEffects[] = {Effect::kConfirm, Effect::kCancel, Effect::kAttack};

// The file names the game opens.
const char* track_file(Track track);
const char* effect_file(Effect effect);

// The notes of a track (throws std::invalid_argument if a phrase is miscounted).
Score compose_track(Track track);
// The track as a seamless loop.
Pcm render_track(Track track);
// The effect, starting and ending in silence.
Pcm render_effect(Effect effect);

// The pieces, one per file.
Score compose_title();
Score compose_battle();
Score compose_intermission();
Score compose_ending();

}  // namespace audiogen
