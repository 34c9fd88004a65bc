#include "game/audio.h"

#include <string>

#include "state/game.h"

namespace {

constexpr const char* kAudioErrorCaption = "ネヴァルト";

}  // namespace

const char* music_file(int n) {
  switch (n) {
    case 1:
      return "tatsumakinotourai.mp3";
    case 2:
      return "seisen.mp3";
    case 4:
      return "senka.mp3";
    case 5:
      return "omegacentauri1.mp3";
    default:
      return nullptr;
  }
}

const char* sound_file(int n) {
  switch (n) {
    case 1:
      return "se01.wav";
    case 2:
      return "se02.wav";
    case 3:
      return "se03.wav";
    default:
      return nullptr;
  }
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
    host->message_box(text.c_str(), kAudioErrorCaption);
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
      host->message_box("コマンドが失敗した", kAudioErrorCaption);
      break;
    case MediaPlayer::Notify::kSuperseded:
    case MediaPlayer::Notify::kAborted:
      break;
  }
}
