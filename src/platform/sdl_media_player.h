// The two media players on SDL_mixer: music on the mixer's music stream, effects on one channel.
// A track played with a notification is repeated by the mixer itself, without a gap, and so
// never ends; the end of one played without is noticed on the audio thread, which only posts an
// SDL event, and the host turns events into MediaPlayer1Notify on the main thread between
// passes.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

#include "platform/sound_cache.h"
#include "state/host.h"

// Opens the mixer. With mute, or when no sound device answers, the silent dummy driver is used
// and *note says why. False when even that fails (the caller then runs without a mixer).
bool open_audio(bool mute, std::string* note);
void close_audio();

// A volume in percent (0 to 100, clamped) on the mixer's scale of 0 to MIX_MAX_VOLUME.
int mixer_volume(int percent);
// Sets the music stream and the effects channel to these volumes in percent. Both stay in force
// for every track and effect played afterwards.
void set_audio_volumes(int music_percent, int sound_percent);

class SdlMusicPlayer : public MediaPlayer {
 public:
  SdlMusicPlayer();
  ~SdlMusicPlayer() override;
  SdlMusicPlayer(const SdlMusicPlayer&) = delete;
  SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;

  bool open(const char* file_name) override;
  void play(bool notify) override;
  void rewind() override;
  std::string error_text() const override { return error_; }

  // The SDL event type of this player's notifications.
  static Uint32 event_type();
  // What a notification event means now: one about an earlier command than the last open or
  // play has been superseded.
  MediaPlayer::Notify decode(const SDL_Event& event) const;
  // False when the notification asks for nothing (play without notify).
  bool wants_notify() const { return notify_; }

 private:
  Mix_Music* music_ = nullptr;
  std::string error_;
  bool notify_ = false;
};

class SdlSoundPlayer : public MediaPlayer {
 public:
  SdlSoundPlayer() = default;
  ~SdlSoundPlayer() override;
  SdlSoundPlayer(const SdlSoundPlayer&) = delete;
  SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

  bool open(const char* file_name) override;
  void play(bool notify) override;
  void rewind() override {}
  std::string error_text() const override { return error_; }
  // Files read so far; each effect is read once, however often it plays.
  int loads() const { return cache_.loads(); }

 private:
  SoundCache cache_;
  Mix_Chunk* chunk_ = nullptr;  // the cache's; the effect opened last
  std::string error_;
};
