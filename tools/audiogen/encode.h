// Writing rendered sound to the files the game plays.
#pragma once

#include <string>

#include "audiogen/synth.h"

namespace audiogen {

// MP3 through LAME, constant bit rate, joint stereo. The first frame carries the Xing/LAME
// tag with the encoder delay and padding, so decoders that honour it (mpg123, which SDL_mixer
// uses) give back exactly the rendered frames, without the encoder's leading silence.
// Returns an empty string on success, else what went wrong.
std::string write_mp3(const std::string& path, const Pcm& pcm, int kbps);

// 16-bit PCM WAV, stereo.
std::string write_wav(const std::string& path, const Pcm& pcm);

}  // namespace audiogen
