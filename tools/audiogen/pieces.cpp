#include "audiogen/pieces.h"

namespace audiogen {

const char* track_file(Track track) {
  switch (track) {
    case Track::kTitle:
      return "tatsumakinotourai.mp3";
    case Track::kBattle:
      return "seisen.mp3";
    case Track::kIntermission:
      return "senka.mp3";
    case Track::kEnding:
      return "omegacentauri1.mp3";
  }
  return "";
}

const char* effect_file(Effect effect) {
  switch (effect) {
    case Effect::kConfirm:
      return "se01.wav";
    case Effect::kCancel:
      return "se02.wav";
    case Effect::kAttack:
      return "se03.wav";
  }
  return "";
}

Score compose_track(Track track) {
  switch (track) {
    case Track::kTitle:
      return compose_title();
    case Track::kBattle:
      return compose_battle();
    case Track::kIntermission:
      return compose_intermission();
    case Track::kEnding:
      return compose_ending();
  }
  return Score{};
}

Pcm render_track(Track track) {
  return render_loop(compose_track(track));
}

}  // namespace audiogen
