#include "game/audio.h"

#include <string>

#include "state/game.h"
#include "world/text.h"

namespace {

constexpr const char* kAudioErrorCaption = N_("ネヴァルト");

}  // namespace

// No default: a track or sound added to its enum without a file here stops the build (-Wswitch).
const char* music_file(int n) {
  switch (static_cast<Track>(n)) {
    case Track::kTitle:
      return "tatsumakinotourai.mp3";
    case Track::kBattle:
      return "seisen.mp3";
    case Track::kIntermission:
      return "senka.mp3";
    case Track::kEnding:
      return "omegacentauri1.mp3";
  }
  return nullptr;
}

const char* sound_file(int n) {
  switch (static_cast<Sound>(n)) {
    case Sound::kConfirm:
      return "se01.wav";
    case Sound::kCancel:
      return "se02.wav";
    case Sound::kAttack:
      return "se03.wav";
  }
  return nullptr;
}

void play_music(Game& g, int n) {
  Host* host = g.form.host;
  if (host == nullptr) return;
  host->audio_event("music", n);
  const char* file = music_file(n);
  MediaPlayer& player = host->music_player();
  if (file == nullptr || !player.open(file)) {
    // The previous track has stopped either way; the game goes on without music.
    const std::string text = file == nullptr ? "No such track" : player.error_text();
    host->message_box(text.c_str(), tr(g, kAudioErrorCaption));
    return;
  }
  player.play(true);
}

void play_sound(Game& g, int n) {
  Host* host = g.form.host;
  if (host == nullptr) return;
  host->audio_event("sound", n);
  const char* file = sound_file(n);
  MediaPlayer& player = host->sound_player();
  // An effect that cannot be opened is simply not heard.
  if (file == nullptr || !player.open(file)) return;
  player.play(false);
}

void MediaPlayer1Notify(Game& g, MediaPlayer::Notify notify) {
  Host* host = g.form.host;
  if (host == nullptr) return;
  switch (notify) {
    case MediaPlayer::Notify::kCompleted:
      host->music_player().rewind();
      host->music_player().play(true);
      break;
    case MediaPlayer::Notify::kFailed:
      host->message_box(tr(g, "コマンドが失敗した"), tr(g, kAudioErrorCaption));
      break;
    case MediaPlayer::Notify::kSuperseded:
    case MediaPlayer::Notify::kAborted:
      break;
  }
}
