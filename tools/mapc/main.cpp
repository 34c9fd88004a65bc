// mapc: turns the readable map sources into the game's map files and back.
//   mapc compile SOURCE.txt MAP.fmf
//   mapc decompile MAP.fmf SOURCE.txt
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "map_text.h"

namespace {

bool read_file(const char* path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool write_file(const char* path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

int usage() {
  std::fprintf(stderr,
               "usage: mapc compile SOURCE.txt MAP.fmf\n"
               "       mapc decompile MAP.fmf SOURCE.txt\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return usage();
  const bool compile = std::strcmp(argv[1], "compile") == 0;
  if (!compile && std::strcmp(argv[1], "decompile") != 0) return usage();
  const char* in_path = argv[2];
  const char* out_path = argv[3];

  std::vector<uint8_t> input;
  if (!read_file(in_path, input)) {
    std::fprintf(stderr, "mapc: cannot read %s\n", in_path);
    return 1;
  }
  std::string error;
  if (compile) {
    std::vector<uint8_t> bytes;
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    if (!mapc::compile_map_text(text, in_path, bytes, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    if (!write_file(out_path, bytes.data(), bytes.size())) {
      std::fprintf(stderr, "mapc: cannot write %s\n", out_path);
      return 1;
    }
    return 0;
  }
  std::string text;
  if (!mapc::decompile_map(input, text, error)) {
    std::fprintf(stderr, "%s: %s\n", in_path, error.c_str());
    return 1;
  }
  if (!write_file(out_path, text.data(), text.size())) {
    std::fprintf(stderr, "mapc: cannot write %s\n", out_path);
    return 1;
  }
  return 0;
}
