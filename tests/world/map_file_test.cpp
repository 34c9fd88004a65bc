#include "world/map_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world_fixture.h"

using world_test::make_game;

namespace {

namespace fs = std::filesystem;

// A map image: plain terrain inside, sea on the ring, no objects.
struct MapImage {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kMapFileBytes, 0);
  MapImage() {
    for (int y = 0; y < kMapSize; ++y) {
      for (int x = 0; x < kMapSize; ++x) {
        const bool ring = x == 0 || y == 0 || x == kMapSize - 1 || y == kMapSize - 1;
        terrain(x, y) = ring ? 1 : 8;
      }
    }
  }
  uint8_t& terrain(int x, int y) { return bytes[kTerrainLayerOffset + 64 * y + x]; }
  uint8_t& object(int x, int y) { return bytes[kObjectLayerOffset + 64 * y + x]; }
};

// Runs a test inside a scratch working directory, where the stage files are looked up.
class MapFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_dir_ = std::filesystem::current_path();
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("nevalt_map_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    g_ = make_game();
    g_->form.host = &host_;
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
  }
  static void write(const char* name, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) {
      ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    }
    std::fclose(f);
  }

  std::filesystem::path old_dir_;
  std::filesystem::path dir_;
  FakeHost host_;
  std::unique_ptr<Game> g_;
};

TEST(StageMapFile, IndexPlusOneInThreeDigitsAndStage1ForAnyOtherIndex) {
  const struct {
    int stage;
    const char* name;
  } cases[] = {{0, "map001.fmf"},  {4, "map005.fmf"},  {9, "map010.fmf"},
               {12, "map001.fmf"}, {10, "map001.fmf"}, {-1, "map001.fmf"}};
  for (const auto& c : cases) EXPECT_STREQ(stage_map_file(c.stage), c.name) << c.stage;
}

TEST(ObjectUnitType, EveryUnitCodeAndNothingElse) {
  const int player[] = {1, 2, 3, 9, 7, 8, 10, 11, 4, 5, 6};
  const int enemy[] = {12, 13, 14, 20, 18, 19, 21, 22, 15, 16, 17, 23};
  for (int code = -130; code < 300; ++code) {
    int side = -1;
    const int type = object_unit_type(code, &side);
    if (code >= 16 && code <= 26) {
      EXPECT_EQ(type, player[code - 16]) << code;
      EXPECT_EQ(side, kSidePlayer);
    } else if (code >= 48 && code <= 59) {
      EXPECT_EQ(type, enemy[code - 48]) << code;
      EXPECT_EQ(side, kSideEnemy);
    } else {
      EXPECT_EQ(type, 0) << code;
    }
  }
}

TEST_F(MapFileTest, UnitsArePlacedInReadingOrderAndNeverFromTheRing) {
  MapImage m;
  m.object(1, 1) = 16;
  m.object(0, 5) = 16;
  m.object(63, 5) = 16;
  m.object(7, 0) = 48;
  m.object(7, 63) = 48;
  m.object(9, 3) = 51;  // enemy tank, second row read
  m.object(4, 3) = 51;  // read before it
  m.object(2, 3) = 59;  // position
  m.object(8, 3) = 55;  // fighter
  m.object(62, 62) = 19;
  m.object(5, 40) = 12;  // no object
  m.object(6, 40) = 200;
  for (int i = 0; i < kMapHeaderBytes; ++i) m.bytes[i] = static_cast<uint8_t>(0xA0 + i);
  write("map004.fmf", m.bytes);

  load_stage_map(*g_, 3);
  const WorldState& w = g_->world;
  EXPECT_TRUE(host_.boxes.empty());
  const TUnit& hq = w.player_units[0];
  EXPECT_EQ(hq.type, 1);
  EXPECT_EQ(hq.x, 1);
  EXPECT_EQ(hq.y, 1);
  EXPECT_EQ(hq.hp, 200);
  EXPECT_EQ(w.player_units[1].type, 9);
  EXPECT_EQ(w.player_units[1].x, 62);
  EXPECT_EQ(w.player_units[2].type, 0);
  const struct {
    int slot, type, x, y;
  } enemy[] = {{0, 23, 2, 3}, {1, 20, 4, 3}, {2, 22, 8, 3}, {3, 20, 9, 3}, {4, 0, 0, 0}};
  for (const auto& e : enemy) {
    EXPECT_EQ(w.enemy_units[e.slot].type, e.type) << e.slot;
    EXPECT_EQ(w.enemy_units[e.slot].x, e.x) << e.slot;
    EXPECT_EQ(w.enemy_units[e.slot].y, e.y) << e.slot;
  }
  EXPECT_EQ(w.occupancy[9][3], 67);
  EXPECT_EQ(w.occupancy[10][3], kNoUnit);
  EXPECT_EQ(w.occupancy[0][5], kNoUnit);
  EXPECT_EQ(w.terrain_layer[0][5], 1);
  EXPECT_EQ(w.terrain_layer[5][5], 8);
  EXPECT_EQ(w.object_layer[6][40], static_cast<int8_t>(200));
  for (int i = 0; i < kMapHeaderBytes; ++i) EXPECT_EQ(w.map_header[i], 0xA0 + i);
  EXPECT_TRUE(w.reserves_pending);

  recount_types(*g_);
  EXPECT_EQ(w.unit_specs[20].count, 2);
  EXPECT_EQ(w.unit_specs[9].count, 1);
}

TEST_F(MapFileTest, ReserveCellsAndTheirEndMarker) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> aces;  // cells of code 61 in reading order
    int squads;                             // cells of code 60, one per row from row 2
    CellPoint want_ace;
    int want_squads;
  } cases[] = {
      {"no reserves", {}, 0, {kNone, kNone}, 0},
      {"the later ace cell wins", {{30, 5}, {10, 6}}, 3, {10, 6}, 3},
      {"same row, further right wins", {{10, 6}, {30, 6}}, 1, {30, 6}, 1},
      {"18 squads fill the list", {{40, 40}}, 18, {40, 40}, 18},
      {"the 19th and later squads are ignored", {{40, 40}}, 25, {40, 40}, 18},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MapImage m;
    m.object(20, 20) = 48;
    m.object(5, 55) = 16;
    for (auto [x, y] : c.aces) m.object(x, y) = 61;
    for (int i = 0; i < c.squads; ++i) m.object(50, 2 + i) = 60;
    write("map001.fmf", m.bytes);
    load_stage_map(*g_, 0);
    const CellPoint* r = g_->world.reserve_points;
    EXPECT_EQ(r[0].x, c.want_ace.x);
    EXPECT_EQ(r[0].y, c.want_ace.y);
    for (int entry = 1; entry < kReservePoints; ++entry) {
      if (entry <= c.want_squads) {
        EXPECT_EQ(r[entry].x, 50) << entry;
        EXPECT_EQ(r[entry].y, 1 + entry) << entry;
      } else {
        EXPECT_EQ(r[entry].x, kNone) << entry;
        EXPECT_EQ(r[entry].y, kNone) << entry;
      }
    }
    // The reserve cells place nothing while loading.
    EXPECT_EQ(count_units(*g_, kCountEnemyUnits), 0);
    EXPECT_EQ(g_->world.enemy_units[1].type, 0);
  }
}

TEST_F(MapFileTest, AnEnemyWithoutRegularUnitsReceivesItsReservesOnce) {
  MapImage m;
  m.object(20, 20) = 48;
  m.object(21, 20) = 59;
  m.object(25, 25) = 61;
  m.object(26, 25) = 60;
  m.object(27, 25) = 60;
  m.object(5, 55) = 16;
  write("map002.fmf", m.bytes);
  load_stage_map(*g_, 1);
  EXPECT_EQ(count_units(*g_, kCountEnemyUnits), 0);
  deploy_reserves(*g_);
  EXPECT_EQ(g_->world.occupancy[25][25], 64 + 2);
  EXPECT_EQ(g_->world.enemy_units[2].type, 25);
  EXPECT_EQ(g_->world.enemy_units[3].type, 24);
  EXPECT_EQ(g_->world.enemy_units[4].type, 24);
  EXPECT_EQ(g_->world.enemy_units[4].x, 27);
}

TEST_F(MapFileTest, AMissingFileIsReportedAndChangesNothing) {
  MapImage m;
  m.object(10, 10) = 17;
  write("map001.fmf", m.bytes);
  load_stage_map(*g_, 0);
  g_->world.reserves_pending = false;
  g_->world.reserve_points[0] = CellPoint{3, 4};

  load_stage_map(*g_, 6);  // no map007.fmf here
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].text, "ファイルが見つかりませんでした\n");
  EXPECT_FALSE(host_.boxes[0].caption.empty());
  EXPECT_EQ(g_->world.player_units[0].type, 2);
  EXPECT_EQ(g_->world.terrain_layer[10][10], 8);
  EXPECT_FALSE(g_->world.reserves_pending);
  EXPECT_EQ(g_->world.reserve_points[0].x, 3);

  g_->form.host = nullptr;  // nobody to tell: still no harm
  load_stage_map(*g_, 6);
  EXPECT_EQ(g_->world.player_units[0].type, 2);
}

TEST_F(MapFileTest, AShortImageReadsItsMissingBytesAsZeroNotAsThePreviousMap) {
  MapImage full;
  for (int x = 1; x < 63; ++x) full.object(x, 50) = 24;  // riflemen on row 50
  full.object(3, 3) = 16;
  load_map_image(*g_, full.bytes.data(), full.bytes.size());
  ASSERT_EQ(count_units(*g_, kCountPlayerUnits), 60 - 1);

  // Ends inside the terrain layer, at cell (10, 2).
  MapImage partial;
  partial.object(3, 3) = 16;
  load_map_image(*g_, partial.bytes.data(), kTerrainLayerOffset + 64 * 2 + 10);
  const WorldState& w = g_->world;
  EXPECT_EQ(w.terrain_layer[9][2], 8);
  EXPECT_EQ(w.terrain_layer[10][2], 0);
  EXPECT_EQ(w.terrain_layer[20][50], 0);
  for (const TUnit& u : w.player_units) EXPECT_EQ(u.type, 0);
  for (int x = 0; x < kMapSize; ++x) EXPECT_EQ(w.object_layer[x][50], 0);

  load_map_image(*g_, nullptr, 0);
  EXPECT_EQ(w.terrain_layer[1][1], 0);
  EXPECT_EQ(w.map_header[0], 0);
}

// A stage file that is no map: it is reported, and the stage set-up is told so, with the world
// as it was (the stage must not open on it).
TEST_F(MapFileTest, AFileThatIsNoFullMapIsReportedAndChangesNothing) {
  MapImage m;
  m.object(10, 10) = 17;
  write("map001.fmf", m.bytes);
  ASSERT_TRUE(load_stage_map(*g_, 0));
  const struct {
    const char* name;
    void (*make)(const fs::path& file, const std::vector<uint8_t>& map);
    std::string said;  // the message, or a piece of it
    bool exact;
  } cases[] = {
      {"missing", [](const fs::path&, const std::vector<uint8_t>&) {},
       "ファイルが見つかりませんでした\n", true},
      {"a folder", [](const fs::path& f, const std::vector<uint8_t>&) { fs::create_directory(f); },
       "ファイルが見つかりませんでした\n", true},
      {"a FIFO", [](const fs::path& f, const std::vector<uint8_t>&) { mkfifo(f.c_str(), 0600); },
       "ファイルが見つかりませんでした\n", true},
      {"empty", [](const fs::path& f, const std::vector<uint8_t>&) { std::ofstream{f}; },
       "map002.fmf が短すぎます（0 バイト", false},
      {"the header and the terrain",
       [](const fs::path& f, const std::vector<uint8_t>& map) {
         std::ofstream(f, std::ios::binary)
             .write(reinterpret_cast<const char*>(map.data()), kObjectLayerOffset);
       },
       "map002.fmf が短すぎます（4116 バイト、必要なのは 8212 バイト）", false},
      {"one byte short",
       [](const fs::path& f, const std::vector<uint8_t>& map) {
         std::ofstream(f, std::ios::binary)
             .write(reinterpret_cast<const char*>(map.data()), kMapFileBytes - 1);
       },
       "（8211 バイト", false},
  };
  MapImage other;
  other.object(20, 20) = 48;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host_.boxes.clear();
    c.make(dir_ / "map002.fmf", other.bytes);
    EXPECT_FALSE(load_stage_map(*g_, 1));
    ASSERT_EQ(host_.boxes.size(), 1u);
    if (c.exact) {
      EXPECT_EQ(host_.boxes[0].text, c.said);
    } else {
      EXPECT_NE(host_.boxes[0].text.find(c.said), std::string::npos) << host_.boxes[0].text;
    }
    EXPECT_EQ(g_->world.player_units[0].type, 2);
    EXPECT_EQ(g_->world.enemy_units[0].type, 0);
    EXPECT_EQ(g_->world.object_layer[10][10], 17);
    std::error_code ec;
    fs::remove_all(dir_ / "map002.fmf", ec);
  }
  // Exactly a map's length loads, and so does a longer file.
  for (size_t extra : {size_t{0}, size_t{100}}) {
    std::vector<uint8_t> bytes = other.bytes;
    bytes.resize(kMapFileBytes + extra, 0);
    write("map002.fmf", bytes);
    EXPECT_TRUE(load_stage_map(*g_, 1));
    EXPECT_EQ(g_->world.enemy_units[0].type, 12);
  }
}

TEST_F(MapFileTest, TerrainBytesThatAreNoTerrainCodeLoadAsTheFiller) {
  MapImage m;
  const struct {
    int x;
    uint8_t byte;
    int want;
  } cases[] = {{1, 0, 0},   {2, 11, 11}, {3, 15, 15}, {4, 16, 0},
               {5, 127, 0}, {6, 128, 0}, {7, 200, 0}, {8, 255, 0}};
  for (const auto& c : cases) m.terrain(c.x, 7) = c.byte;
  m.object(7, 7) = 17;  // a scout standing on a damaged cell
  write("map001.fmf", m.bytes);
  load_stage_map(*g_, 0);
  for (const auto& c : cases) {
    EXPECT_EQ(g_->world.terrain_layer[c.x][7], c.want) << int(c.byte);
    EXPECT_EQ(terrain_at(*g_, c.x, 7), c.want) << int(c.byte);
  }
  EXPECT_EQ(g_->world.player_units[0].terrain, 0);
}

TEST_F(MapFileTest, BytesPastTheMapAreNotRead) {
  MapImage m;
  m.object(62, 62) = 48;
  m.bytes.resize(kMapFileBytes + 100, 17);
  write("map001.fmf", m.bytes);
  load_stage_map(*g_, 0);
  EXPECT_EQ(g_->world.enemy_units[0].type, 12);
  EXPECT_EQ(g_->world.player_units[0].type, 0);
}

// A map holding more units of a side than its roster: the first 60 in reading order stand,
// none is overwritten.
TEST(LoadMapImage, MoreUnitsThanSlotsKeepsTheFirstSixty) {
  auto g = make_game();
  MapImage m;
  for (int y = 1; y <= 2; ++y) {
    for (int x = 1; x < 63; ++x) m.object(x, y) = 49;
  }
  load_map_image(*g, m.bytes.data(), m.bytes.size());
  EXPECT_EQ(count_units(*g, kCountEnemyUnits), 60);
  EXPECT_EQ(g->world.enemy_units[59].x, 60);
  EXPECT_EQ(g->world.enemy_units[59].y, 1);
  EXPECT_EQ(g->world.unit_specs[13].count, 60);
}

}  // namespace
