// The BMP header is looked at before a picture is loaded: a file that claims far more pixels than
// it holds, or a size no picture of the game has, is refused with a reason instead of making the
// loader allocate gigabytes.
#include "ui/bmp_check.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/startup.h"
#include "ui/surface.h"

namespace {

namespace fs = std::filesystem;

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  put16(b, at, v & 0xffff);
  put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte header and its pixel rows, as a writer of BMP files makes it.
std::vector<uint8_t> bmp(int32_t w, int32_t h, uint32_t depth = 24, uint32_t compression = 0) {
  const uint32_t palette = depth <= 8 ? 4u << depth : 0;
  const uint32_t offset = 54 + palette;
  const int32_t rows = h < 0 ? -h : h;
  const uint64_t row = (static_cast<uint64_t>(w < 0 ? 0 : w) * depth + 31) / 32 * 4;
  const uint64_t data = compression == 0 && rows <= 4096 && w <= 4096 ? row * rows : 16;
  std::vector<uint8_t> b(offset + data, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, static_cast<uint32_t>(b.size()));
  put32(b, 10, offset);
  put32(b, 14, 40);
  put32(b, 18, static_cast<uint32_t>(w));
  put32(b, 22, static_cast<uint32_t>(h));
  put16(b, 26, 1);
  put16(b, 28, depth);
  put32(b, 30, compression);
  return b;
}

template <typename Edit>
std::vector<uint8_t> edited(std::vector<uint8_t> b, Edit edit) {
  edit(b);
  return b;
}

TEST(BmpHeader, RefusesWhatTheLoaderWouldBelieveAndAcceptsRealPictures) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ok;
  } cases[] = {
      {"640x480, 24 bits", bmp(640, 480), true},
      {"512x512, 32 bits", bmp(512, 512, 32), true},
      {"stored top row first", bmp(3, -2), true},
      {"8 bits with a palette", bmp(5, 5, 8), true},
      {"1 bit", bmp(17, 3, 1), true},
      {"the largest side", bmp(4096, 1), true},
      {"30000x30000 in 54 bytes",
       edited(bmp(1, 1),
              [](auto& b) {
                put32(b, 18, 30000);
                put32(b, 22, 30000);
                b.resize(54);
              }),
       false},
      {"one side too many", bmp(4097, 1), false},
      {"a height too many, top row first", bmp(1, -4097), false},
      {"the most negative height", edited(bmp(1, 1), [](auto& b) { put32(b, 22, 0x80000000u); }),
       false},
      {"zero width", bmp(0, 4), false},
      {"pixels cut short by one byte", edited(bmp(10, 10), [](auto& b) { b.pop_back(); }), false},
      {"pixels said to start past the end",
       edited(bmp(2, 2), [](auto& b) { put32(b, 10, 100000); }), false},
      {"pixels said to start inside the header",
       edited(bmp(2, 2), [](auto& b) { put32(b, 10, 20); }), false},
      {"no BM mark", edited(bmp(2, 2), [](auto& b) { b[0] = 'X'; }), false},
      {"an unknown header size", edited(bmp(2, 2), [](auto& b) { put32(b, 14, 20); }), false},
      {"an unknown depth", edited(bmp(2, 2), [](auto& b) { put16(b, 28, 7); }), false},
      {"two planes", edited(bmp(2, 2), [](auto& b) { put16(b, 26, 2); }), false},
      {"an unknown compression", bmp(2, 2, 24, 9), false},
      {"run lengths of 8 bits", bmp(64, 64, 8, 1), true},
      {"run lengths at 24 bits", bmp(64, 64, 24, 1), false},
      {"only the file header", std::vector<uint8_t>{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       false},
      {"empty", {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    EXPECT_EQ(check_bmp_header(c.bytes.data(), c.bytes.size(), c.bytes.size(), &why), c.ok) << why;
    if (!c.ok) {
      EXPECT_FALSE(why.empty());
    }
  }
}

// The size a sound header claims is handed back, so that a picture can be matched to the one it
// stands in for; a refused header hands back nothing.
TEST(BmpHeader, TellsTheSizeOfASoundPictureOnly) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    BmpSize size;
  } cases[] = {
      {"640x480", bmp(640, 480), {640, 480}},
      {"top row first", bmp(3, -2), {3, 2}},
      {"run lengths", bmp(64, 32, 8, 1), {64, 32}},
      {"zero width", bmp(0, 4), {-1, -1}},
      {"pixels cut short", edited(bmp(10, 10), [](auto& b) { b.pop_back(); }), {-1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    BmpSize size{-1, -1};
    check_bmp_header(c.bytes.data(), c.bytes.size(), c.bytes.size(), &why, &size);
    EXPECT_EQ(size.width, c.size.width);
    EXPECT_EQ(size.height, c.size.height);
  }
}

// The game's own pictures and every language's version of them.
TEST(BmpHeader, EveryPictureTheBuildMakesPasses) {
  int seen = 0;
  for (const auto& entry : fs::recursive_directory_iterator(NEVALT_DATA_DIR)) {
    if (entry.path().extension() != ".bmp") continue;
    ++seen;
    std::string why;
    EXPECT_TRUE(check_bmp_file(entry.path().c_str(), &why)) << entry.path() << ": " << why;
  }
  if (seen == 0) GTEST_SKIP() << "this tree does not generate the game's pictures";
}

// At start-up and at every later load, a picture that claims 30000 by 30000 pixels in 54 bytes
// is refused with the usual message, before anything is allocated for it.
TEST(BmpHeader, AHugeClaimStopsTheStartUpCheckAndEveryLoad) {
  const fs::path dir = fs::temp_directory_path() / ("nevalt-bmp-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path old = fs::current_path();
  for (const auto& entry : fs::directory_iterator(NEVALT_DATA_DIR)) {
    if (entry.path().extension() == ".bmp")
      fs::copy_file(entry.path(), dir / entry.path().filename());
  }
  std::vector<uint8_t> lie = bmp(1, 1);
  put32(lie, 18, 30000);
  put32(lie, 22, 30000);
  lie.resize(54);
  {
    std::ofstream out(dir / "Title.bmp", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(lie.data()), static_cast<std::streamsize>(lie.size()));
  }
  fs::create_symlink("/dev/zero", dir / "Zero.bmp");
  fs::current_path(dir);
  std::string error;
  EXPECT_FALSE(check_pictures(dir.string(), &error));
  EXPECT_EQ(error.rfind("cannot read the picture Title.bmp", 0), 0u) << error;
  EXPECT_NE(error.find("30000x30000"), std::string::npos) << error;
  Picture picture;
  EXPECT_FALSE(load_picture(picture, "Title.bmp"));
  EXPECT_EQ(picture.surface, nullptr);
  EXPECT_NE(std::string(SDL_GetError()).find("30000x30000"), std::string::npos) << SDL_GetError();
  EXPECT_FALSE(load_picture(picture, "Zero.bmp"));
  EXPECT_NE(std::string(SDL_GetError()).find("not a regular file"), std::string::npos);
  EXPECT_TRUE(load_picture(picture, "BG1.bmp")) << SDL_GetError();
  free_picture(picture);
  fs::current_path(old);
  fs::remove_all(dir);
}

}  // namespace
