#include "platform/sdl_media_player.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <cstdio>

namespace {

// SDL_mixer's end-of-music hook takes no argument, so what it needs lives here. Both are only
// ever written on the main thread and read from the hook.
std::atomic<Uint32> g_music_event{0};
// Counts open and play commands; a notification carries the count it was raised under.
std::atomic<uintptr_t> g_music_command{0};

constexpr int kEffectChannel = 0;

void post_music_notify(MediaPlayer::Notify kind) {
  const Uint32 type = g_music_event.load();
  if (type == 0) return;
  SDL_Event event{};
  event.type = type;
  event.user.code = static_cast<Sint32>(kind);
  event.user.data1 = reinterpret_cast<void*>(g_music_command.load());
  SDL_PushEvent(&event);
}

// Runs on the audio thread at the end of a track, and on the main thread inside Mix_HaltMusic.
void SDLCALL music_finished() {
  post_music_notify(MediaPlayer::Notify::kCompleted);
}

}  // namespace

bool open_audio(bool mute, std::string* note) {
  if (!mute) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
      if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) == 0) {
        Mix_Init(MIX_INIT_MP3);
        return true;
      }
      *note = std::string("no sound device (") + Mix_GetError() + "); running silent";
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
      *note = std::string("no sound device (") + SDL_GetError() + "); running silent";
    }
  }
  // The dummy driver plays in real time into nothing, so tracks still end and loop.
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_Init(MIX_INIT_MP3);
  return true;
}

void close_audio() {
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int mixer_volume(int percent) {
  const int p = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
  return (p * MIX_MAX_VOLUME + 50) / 100;
}

void set_audio_volumes(int music_percent, int sound_percent) {
  Mix_VolumeMusic(mixer_volume(music_percent));
  Mix_Volume(kEffectChannel, mixer_volume(sound_percent));
}

SdlMusicPlayer::SdlMusicPlayer() {
  if (g_music_event.load() == 0) {
    const Uint32 type = SDL_RegisterEvents(1);
    if (type != static_cast<Uint32>(-1)) g_music_event.store(type);
  }
  Mix_HookMusicFinished(music_finished);
}

SdlMusicPlayer::~SdlMusicPlayer() {
  Mix_HookMusicFinished(nullptr);
  Mix_HaltMusic();
  Mix_FreeMusic(music_);
}

Uint32 SdlMusicPlayer::event_type() {
  return g_music_event.load();
}

MediaPlayer::Notify SdlMusicPlayer::decode(const SDL_Event& event) const {
  const auto command = reinterpret_cast<uintptr_t>(event.user.data1);
  if (command != g_music_command.load()) return Notify::kSuperseded;
  return static_cast<Notify>(event.user.code);
}

bool SdlMusicPlayer::open(const char* file_name) {
  // Halting reports under the old command, which the new one then supersedes.
  Mix_HaltMusic();
  g_music_command.fetch_add(1);
  Mix_FreeMusic(music_);
  music_ = nullptr;
  // A track is streamed, so any length of file is fine; but a device, a FIFO or a folder in its
  // place would hold the decoder (and with it the game) for ever, still searching for a frame.
  struct stat st {};
  if (::stat(file_name, &st) == 0 && !S_ISREG(st.st_mode)) {
    error_ = std::string("cannot play the music ") + file_name + ": not a regular file";
    return false;
  }
  music_ = Mix_LoadMUS(file_name);
  if (music_ == nullptr) {
    error_ = Mix_GetError();
    return false;
  }
  error_.clear();
  return true;
}

void SdlMusicPlayer::play(bool notify) {
  if (Mix_PlayingMusic()) Mix_HaltMusic();
  g_music_command.fetch_add(1);
  notify_ = notify;
  // The game answers the end of a track it asked to hear of with a rewind and a new play
  // (MediaPlayer1Notify), so such a track is handed to the mixer to repeat by itself: it starts
  // again inside the same audio callback, with no gap at the joint. An answer from the main
  // thread came a pass later, after the rest of the mixer's buffer had gone out silent.
  const int loops = notify ? -1 : 1;
  if (music_ == nullptr || Mix_PlayMusic(music_, loops) != 0) {
    error_ = music_ == nullptr ? "no file is open" : Mix_GetError();
    post_music_notify(Notify::kFailed);
  }
}

void SdlMusicPlayer::rewind() {
  if (music_ != nullptr) Mix_RewindMusic();
}

SdlSoundPlayer::~SdlSoundPlayer() {
  // The channel lets go of its chunk before the cache frees it.
  Mix_HaltChannel(kEffectChannel);
}

bool SdlSoundPlayer::open(const char* file_name) {
  // A new effect cuts the one still sounding.
  Mix_HaltChannel(kEffectChannel);
  bool first_refusal = false;
  chunk_ = cache_.get(file_name, &error_, &first_refusal);
  if (chunk_ == nullptr) {
    // Said once; the effect then stays silent for the rest of the run.
    if (first_refusal) std::fprintf(stderr, "nevalt: %s\n", error_.c_str());
    return false;
  }
  error_.clear();
  return true;
}

void SdlSoundPlayer::play(bool notify) {
  (void)notify;
  if (chunk_ != nullptr && Mix_PlayChannel(kEffectChannel, chunk_, 0) < 0) error_ = Mix_GetError();
}
