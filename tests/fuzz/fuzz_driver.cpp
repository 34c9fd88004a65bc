// A stand-in for libFuzzer's main, so fuzz targets also build with g++ and run as smoke tests:
// every seed file once, then a fixed number of deterministic mutations of them.
//   <target>_fuzz_smoke [--mutations N] [--seed S] PATH...
// PATH is a seed file or a folder of seed files. A target that finds a fault aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

using Input = std::vector<uint8_t>;

// The driver's own generator: the same mutations on every machine and every run.
struct Lcg {
  uint64_t state;
  uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 33);
  }
  size_t below(size_t n) { return n == 0 ? 0 : next() % n; }
};

bool read_file(const std::filesystem::path& path, Input& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void mutate(Input& data, const std::vector<Input>& seeds, Lcg& rng) {
  static const uint8_t kInteresting[] = {0,  1,  2,  15, 16, 17, 26,  27,  47,  48,
                                         59, 60, 61, 62, 63, 64, 127, 128, 200, 255};
  const int steps = 1 + static_cast<int>(rng.below(4));
  for (int step = 0; step < steps; ++step) {
    switch (rng.below(7)) {
      case 0:  // flip one bit
        if (!data.empty()) data[rng.below(data.size())] ^= static_cast<uint8_t>(1u << rng.below(8));
        break;
      case 1:  // an interesting byte
        if (!data.empty()) {
          data[rng.below(data.size())] = kInteresting[rng.below(sizeof kInteresting)];
        }
        break;
      case 2:  // a run of one value
        if (!data.empty()) {
          const size_t at = rng.below(data.size());
          const size_t len = std::min(data.size() - at, 1 + rng.below(128));
          const uint8_t value = kInteresting[rng.below(sizeof kInteresting)];
          std::fill(data.begin() + static_cast<long>(at),
                    data.begin() + static_cast<long>(at + len), value);
        }
        break;
      case 3:  // cut short
        data.resize(rng.below(data.size() + 1));
        break;
      case 4:  // grow with random bytes
        for (size_t n = 1 + rng.below(64); n > 0; --n)
          data.push_back(static_cast<uint8_t>(rng.next()));
        break;
      case 5:  // a random byte anywhere
        if (!data.empty()) data[rng.below(data.size())] = static_cast<uint8_t>(rng.next());
        break;
      default: {  // a block of another seed at the same place
        const Input& other = seeds[rng.below(seeds.size())];
        if (other.empty() || data.empty()) break;
        const size_t at = rng.below(std::min(data.size(), other.size()));
        const size_t len = std::min({data.size() - at, other.size() - at, 1 + rng.below(512)});
        std::copy_n(other.begin() + static_cast<long>(at), len,
                    data.begin() + static_cast<long>(at));
        break;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  long mutations = 1000;
  uint64_t seed = 1;
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--mutations") == 0 && i + 1 < argc) {
      mutations = std::strtol(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else {
      const std::filesystem::path path(argv[i]);
      std::error_code ec;
      if (std::filesystem::is_directory(path, ec)) {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
          if (entry.is_regular_file()) found.push_back(entry.path());
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
      } else if (std::filesystem::is_regular_file(path, ec)) {
        files.push_back(path);
      } else {
        std::fprintf(stderr, "fuzz driver: no such seed file or folder: %s\n", argv[i]);
        return 2;
      }
    }
  }

  std::vector<Input> seeds;
  for (const auto& path : files) {
    Input data;
    if (!read_file(path, data)) {
      std::fprintf(stderr, "fuzz driver: cannot read %s\n", path.c_str());
      return 2;
    }
    LLVMFuzzerTestOneInput(data.data(), data.size());
    seeds.push_back(std::move(data));
  }
  if (seeds.empty()) seeds.emplace_back();

  Lcg rng{seed};
  for (long i = 0; i < mutations; ++i) {
    Input data = seeds[rng.below(seeds.size())];
    mutate(data, seeds, rng);
    LLVMFuzzerTestOneInput(data.data(), data.size());
  }
  std::printf("fuzz driver: %zu seed files and %ld mutations ran clean\n", files.size(), mutations);
  return 0;
}
