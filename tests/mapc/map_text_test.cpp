#include "map_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "world/map_file.h"

namespace {

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Mapc, EveryStageMapRoundTripsByteForByte) {
  for (int stage = 0; stage < 10; ++stage) {
    char stem[16];
    std::snprintf(stem, sizeof stem, "map%03d", stage + 1);
    SCOPED_TRACE(stem);
    const std::string source_path =
        std::string(NEVALT_SOURCE_DIR) + "/assets/maps/" + stem + ".txt";
    const std::string source = read_text(source_path);
    ASSERT_FALSE(source.empty());

    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(mapc::compile_map_text(source, source_path, bytes, error)) << error;
    ASSERT_EQ(bytes.size(), static_cast<size_t>(kMapFileBytes));
    // The file the build put into the data folder is this very compilation.
    EXPECT_EQ(read_bytes(std::string(NEVALT_DATA_DIR) + "/" + stage_map_file(stage)), bytes);

    std::string text;
    ASSERT_TRUE(mapc::decompile_map(bytes, text, error)) << error;
    EXPECT_EQ(text, source) << "the committed source is not in mapc's own form";
    std::vector<uint8_t> again;
    ASSERT_TRUE(mapc::compile_map_text(text, "again", again, error)) << error;
    EXPECT_EQ(again, bytes);
  }
}

TEST(Mapc, EveryCodeHasOneCharacterAndBack) {
  for (int code = 0; code < 16; ++code)
    EXPECT_EQ(mapc::terrain_code(mapc::terrain_char(code)), code);
  const int objects[] = {0,  16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 48,
                         49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61};
  std::string seen;
  for (int code : objects) {
    const char c = mapc::object_char(code);
    ASSERT_NE(c, 0) << code;
    EXPECT_EQ(mapc::object_code(c), code);
    EXPECT_EQ(seen.find(c), std::string::npos) << "character used twice: " << c;
    seen += c;
  }
  // A comment marker can never start a grid row.
  EXPECT_EQ(mapc::terrain_code('#'), -1);
  EXPECT_EQ(mapc::object_code('#'), -1);
  EXPECT_EQ(mapc::terrain_char(16), 0);
  EXPECT_EQ(mapc::object_char(27), 0);
}

// A small valid source: plain land inside a ring of rocky mountains, one HQ for each side.
struct Source {
  std::vector<std::string> terrain = std::vector<std::string>(64, std::string(64, '.'));
  std::vector<std::string> objects = std::vector<std::string>(64, std::string(64, '.'));
  std::string header = "header \"test map\"";
  Source() {
    for (int i = 0; i < 64; ++i) {
      terrain[0][i] = terrain[63][i] = terrain[i][0] = terrain[i][63] = 'A';
    }
    objects[10][10] = 'H';
    objects[50][50] = 'h';
  }
  // Line numbers: 1 comment, 2 header, 3 "terrain", 4..67 rows, 68 "objects", 69..132 rows.
  std::string text() const {
    std::string s = "# test\n" + header + "\nterrain\n";
    for (const auto& row : terrain) s += row + "\n";
    s += "objects\n";
    for (const auto& row : objects) s += row + "\n";
    return s;
  }
};

TEST(Mapc, CompilesTheGridsIntoTheirLayers) {
  Source src;
  src.terrain[5][7] = '~';
  src.terrain[6][2] = 'f';
  src.objects[62][62] = 'k';
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(mapc::compile_map_text(src.text(), "t.txt", bytes, error)) << error;
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "test map");
  EXPECT_EQ(bytes[8], 0);
  EXPECT_EQ(bytes[kTerrainLayerOffset + 64 * 5 + 7], 1);
  EXPECT_EQ(bytes[kTerrainLayerOffset + 64 * 6 + 2], 15);
  EXPECT_EQ(bytes[kTerrainLayerOffset + 64 * 0 + 0], 2);
  EXPECT_EQ(bytes[kTerrainLayerOffset + 64 * 1 + 1], 8);
  EXPECT_EQ(bytes[kObjectLayerOffset + 64 * 10 + 10], 16);
  EXPECT_EQ(bytes[kObjectLayerOffset + 64 * 50 + 50], 48);
  EXPECT_EQ(bytes[kObjectLayerOffset + 64 * 62 + 62], 61);
  EXPECT_EQ(bytes[kObjectLayerOffset + 64 * 62 + 61], 0);
}

TEST(Mapc, CommentsBlankLinesAndCrLfAreAccepted) {
  Source src;
  std::string text = src.text();
  // A comment and a blank line in the middle of a grid, and DOS line ends throughout.
  const size_t row20 = text.find('\n', text.find("terrain\n") + 8 + 65 * 20);
  text.insert(row20 + 1, "# river here\n\n");
  std::string dos;
  for (char c : text) dos += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::vector<uint8_t> plain, crlf;
  std::string error;
  ASSERT_TRUE(mapc::compile_map_text(src.text(), "a", plain, error)) << error;
  ASSERT_TRUE(mapc::compile_map_text(dos, "b", crlf, error)) << error;
  EXPECT_EQ(plain, crlf);
}

TEST(Mapc, RejectsBadSourcesNamingLineAndColumn) {
  struct Case {
    const char* what;
    void (*edit)(Source&);
    const char* want;  // the whole message after "bad.txt:"
  } cases[] = {
      {"short terrain row", [](Source& s) { s.terrain[3].pop_back(); },
       "7:64: a row of the terrain grid has 63 characters; it needs 64"},
      {"long object row", [](Source& s) { s.objects[2] += "."; },
       "71:65: a row of the objects grid has 65 characters; it needs 64"},
      {"unknown terrain character", [](Source& s) { s.terrain[5][9] = 'q'; },
       "9:10: unknown terrain character 'q'"},
      {"non-ASCII byte", [](Source& s) { s.terrain[5][0] = '\xe3'; },
       "9:1: unknown terrain character byte 0xE3"},
      {"unknown object character", [](Source& s) { s.objects[30][40] = 'x'; },
       "99:41: unknown object character 'x'"},
      {"unit on the top row", [](Source& s) { s.objects[0][5] = 'H'; },
       "69:6: 'H' on the outer ring (cell 5, 0): units and reserve cells stand on rows and "
       "columns 1 to 62"},
      {"reserve on the right column", [](Source& s) { s.objects[20][63] = 'v'; },
       "89:64: 'v' on the outer ring (cell 63, 20): units and reserve cells stand on rows and "
       "columns 1 to 62"},
      {"missing terrain row", [](Source& s) { s.terrain.pop_back(); },
       "67:1: the terrain grid has 63 rows; it needs 64"},
      {"extra object row", [](Source& s) { s.objects.push_back(std::string(64, '.')); },
       "133:1: the objects grid has more than 64 rows"},
      {"header text too long", [](Source& s) { s.header = "header \"123456789012345678901\""; },
       "2:8: the header text is longer than 20 characters"},
      {"bad hex digit", [](Source& s) { s.header = "header hex:" + std::string(39, '0') + "g"; },
       "2:51: 'g' is no hex digit"},
      {"unknown line", [](Source& s) { s.header = "heading"; },
       "2:1: expected 'header', 'terrain' or 'objects'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Source src;
    c.edit(src);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(mapc::compile_map_text(src.text(), "bad.txt", bytes, error));
    EXPECT_EQ(error, std::string("bad.txt:") + c.want);
  }

  // Missing or repeated grids.
  std::vector<uint8_t> bytes;
  std::string error;
  const std::string full = Source().text();
  const std::string no_objects = full.substr(0, full.find("objects\n"));
  EXPECT_FALSE(mapc::compile_map_text(no_objects, "n.txt", bytes, error));
  EXPECT_EQ(error, "n.txt:68:1: no 'objects' grid in the file");
  EXPECT_FALSE(mapc::compile_map_text(full + "terrain\n", "d.txt", bytes, error));
  EXPECT_EQ(error, "d.txt:133:1: a second 'terrain' grid");
  EXPECT_FALSE(mapc::compile_map_text("", "e.txt", bytes, error));
  EXPECT_EQ(error, "e.txt:1:1: no 'terrain' grid in the file");
}

TEST(Mapc, DecompilesAnyHeaderButRefusesCodesItCannotWrite) {
  Source src;
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(mapc::compile_map_text(src.text(), "t.txt", bytes, error)) << error;

  // A header that is no plain text travels as hex and comes back the same.
  std::vector<uint8_t> binary_header = bytes;
  for (int i = 0; i < 20; ++i) binary_header[i] = static_cast<uint8_t>(0xF0 + i);
  std::string text;
  ASSERT_TRUE(mapc::decompile_map(binary_header, text, error)) << error;
  EXPECT_NE(text.find("header hex:f0f1f2"), std::string::npos);
  std::vector<uint8_t> back;
  ASSERT_TRUE(mapc::compile_map_text(text, "h.txt", back, error)) << error;
  EXPECT_EQ(back, binary_header);

  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
    const char* want;
  } cases[] = {
      {"terrain 16", kTerrainLayerOffset + 64 * 3 + 4, 16,
       "cell (4, 3): terrain code 16 has no character"},
      {"object 99", kObjectLayerOffset + 64 * 7 + 8, 99,
       "cell (8, 7): object code 99 has no character"},
      {"unit on the ring", kObjectLayerOffset + 64 * 63 + 8, 19,
       "cell (8, 63): object code 19 on the outer ring, where the game never reads it"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> damaged = bytes;
    damaged[c.offset] = c.value;
    EXPECT_FALSE(mapc::decompile_map(damaged, text, error)) << c.what;
    EXPECT_EQ(error, c.want);
  }
  bytes.pop_back();
  EXPECT_FALSE(mapc::decompile_map(bytes, text, error));
  EXPECT_EQ(error, "a map file has 8212 bytes, this one 8211");
}

}  // namespace
