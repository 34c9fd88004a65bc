#include "audiogen/encode.h"

#include <lame/lame.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace audiogen {

namespace {

struct LameCloser {
  void operator()(lame_global_flags* l) const { lame_close(l); }
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
  // Written under a temporary name first, so an interrupted build leaves no half file that
  // looks up to date.
  const std::string temp = path + ".part";
  {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(temp.c_str(), "wb"));
    if (!f) return "cannot create " + temp + ": " + std::strerror(errno);
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
      return "cannot write " + temp;
    }
    if (std::fflush(f.get()) != 0) return "cannot write " + temp;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) return "cannot rename " + temp;
  return {};
}

void put_u16(std::vector<unsigned char>& out, uint16_t v) {
  out.push_back(static_cast<unsigned char>(v & 0xff));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void put_u32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xff));
}

int16_t to_s16(float x) {
  const float scaled = std::round(std::clamp(x, -1.0f, 1.0f) * 32767.0f);
  return static_cast<int16_t>(scaled);
}

}  // namespace

std::string write_mp3(const std::string& path, const Pcm& pcm, int kbps) {
  std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
  if (!lame) return "lame_init failed";
  lame_set_in_samplerate(lame.get(), kSampleRate);
  lame_set_out_samplerate(lame.get(), kSampleRate);
  lame_set_num_channels(lame.get(), 2);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_brate(lame.get(), kbps);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_quality(lame.get(), 5);
  lame_set_bWriteVbrTag(lame.get(), 1);
  if (lame_init_params(lame.get()) < 0) return "lame_init_params failed";

  const int chunk = 8192;
  std::vector<unsigned char> buffer(static_cast<size_t>(1.25 * chunk + 7200));
  std::vector<unsigned char> mp3;
  for (size_t at = 0; at < pcm.frames(); at += chunk) {
    const int n = static_cast<int>(std::min<size_t>(chunk, pcm.frames() - at));
    const int bytes =
        lame_encode_buffer_ieee_float(lame.get(), pcm.left.data() + at, pcm.right.data() + at, n,
                                      buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0) return "lame_encode_buffer_ieee_float failed (" + std::to_string(bytes) + ")";
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
  }
  const int tail = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
  if (tail < 0) return "lame_encode_flush failed";
  mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + tail);

  // LAME left an empty first frame for the tag; fill it in now that the lengths are known.
  unsigned char tag[2880];
  const size_t tag_bytes = lame_get_lametag_frame(lame.get(), tag, sizeof tag);
  if (tag_bytes == 0 || tag_bytes > sizeof tag || tag_bytes > mp3.size()) {
    return "no LAME tag frame";
  }
  std::copy(tag, tag + tag_bytes, mp3.begin());
  return write_file(path, mp3);
}

std::string write_wav(const std::string& path, const Pcm& pcm) {
  const uint32_t data_bytes = static_cast<uint32_t>(pcm.frames() * 4);
  std::vector<unsigned char> wav;
  wav.reserve(44 + data_bytes);
  for (char ch : std::string("RIFF")) wav.push_back(static_cast<unsigned char>(ch));
  put_u32(wav, 36 + data_bytes);
  for (char ch : std::string("WAVEfmt ")) wav.push_back(static_cast<unsigned char>(ch));
  put_u32(wav, 16);
  put_u16(wav, 1);  // PCM
  put_u16(wav, 2);
  put_u32(wav, kSampleRate);
  put_u32(wav, kSampleRate * 4);
  put_u16(wav, 4);
  put_u16(wav, 16);
  for (char ch : std::string("data")) wav.push_back(static_cast<unsigned char>(ch));
  put_u32(wav, data_bytes);
  for (size_t i = 0; i < pcm.frames(); ++i) {
    put_u16(wav, static_cast<uint16_t>(to_s16(pcm.left[i])));
    put_u16(wav, static_cast<uint16_t>(to_s16(pcm.right[i])));
  }
  return write_file(path, wav);
}

}  // namespace audiogen
