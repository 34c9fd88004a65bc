// The battle file on its own: a battle written and read back is the same battle, and every way a
// file can be damaged, cut short, foreign or out of range is refused with a reason, leaving what
// it would have filled untouched.
#include "game/battle_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "state/game.h"
#include "support/battle_file_bytes.h"
#include "support/game_builder.h"
#include "world/roster.h"
#include "world/vision.h"

namespace {

using test_game::place;

constexpr int kStage = 3;  // its HQ ceiling is 100

// A battle with something unusual in every field: units at the map's inner corners, damaged,
// moved and spent, HQs with SP below the ceiling, reserves waiting, odd terrain and object bytes,
// the view at its far corner and a generator state with the top bit set.
std::unique_ptr<Game> varied_battle() {
  auto g = test_game::make_game();
  Game& b = *g;
  b.flow.stage_no = kStage;
  b.flow.max_stage = 6;
  b.flow.turn_no = 17;
  b.flow.player_income = 2;
  b.flow.enemy_income = 1;
  b.view.view_x = 44;
  b.view.view_y = 49;
  b.rng.seed(0xDEADBEEFu);
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      b.world.terrain_layer[x][y] = static_cast<int8_t>((7 * x + y) % kTerrainRows);
      b.world.object_layer[x][y] = static_cast<int8_t>(x * 5 - y * 3);
    }
  }
  for (int i = 0; i < kMapHeaderBytes; ++i) b.world.map_header[i] = static_cast<uint8_t>(200 + i);
  place(b, kSidePlayer, 0, kPlayerHq, 1, 1).sp = 37;
  place(b, kSidePlayer, 1, kPlayerHq, 2, 1).sp = 37;
  TUnit& riflemen = place(b, kSidePlayer, 7, 4, 30, 31);
  riflemen.hp = 1;
  riflemen.ready = 0;
  riflemen.moved = 1;
  place(b, kSidePlayer, 59, 11, 62, 1);
  place(b, kSideEnemy, 0, kEnemyHq, 62, 62).sp = 99;
  place(b, kSideEnemy, 58, 25, 1, 62).ready = 0;
  place(b, kSideEnemy, 30, 23, 40, 40);
  b.world.reserves_pending = true;
  for (CellPoint& p : b.world.reserve_points) p = CellPoint{kNone, kNone};
  b.world.reserve_points[0] = CellPoint{10, 20};
  b.world.reserve_points[1] = CellPoint{62, 62};
  b.world.player_start_sp = 50;
  b.world.enemy_start_sp = 100;
  b.world.focus_slot = 59;
  update_vision(b, kSidePlayer);
  update_vision(b, kSideEnemy);
  return g;
}

std::vector<uint8_t> encoded(const SuspendedBattle& b) {
  std::vector<uint8_t> bytes(kBattleFileBytes);
  encode_battle(b, bytes.data());
  return bytes;
}

std::vector<uint8_t> encoded(const Game& g) {
  SuspendedBattle b;
  capture_battle(g, &b);
  return encoded(b);
}

void expect_same_unit(const TUnit& a, const TUnit& b, const std::string& where) {
  EXPECT_EQ(a.type, b.type) << where;
  EXPECT_EQ(a.x, b.x) << where;
  EXPECT_EQ(a.y, b.y) << where;
  EXPECT_EQ(a.hp, b.hp) << where;
  EXPECT_EQ(a.sp, b.sp) << where;
  EXPECT_EQ(a.terrain, b.terrain) << where;
  EXPECT_EQ(a.status, b.status) << where;
  EXPECT_EQ(a.ready, b.ready) << where;
  EXPECT_EQ(a.moved, b.moved) << where;
}

template <class T>
bool same_bytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(BattleFile, AGameWrittenAndReadBackIntoAnotherIsTheSameBattle) {
  const auto from = varied_battle();
  const std::vector<uint8_t> bytes = encoded(*from);

  // Read into a game that held another battle: nothing of it may show through.
  auto to = test_game::make_game(test_game::kSea);
  place(*to, kSidePlayer, 2, 5, 20, 20);
  place(*to, kSideEnemy, 9, 14, 21, 20);
  to->world.reserves_pending = false;
  to->rng.seed(1);
  for (HealEntry& e : to->world.heal_list) e = HealEntry{3, 4, 5};
  to->flow.heal_pos = 9;
  SuspendedBattle read;
  std::string error;
  ASSERT_TRUE(decode_battle(*to, bytes.data(), bytes.size(), &read, &error)) << error;
  restore_battle(read, *to);

  const Game& a = *from;
  const Game& b = *to;
  EXPECT_EQ(b.flow.stage_no, a.flow.stage_no);
  EXPECT_EQ(b.flow.max_stage, a.flow.max_stage);
  EXPECT_EQ(b.flow.turn_no, a.flow.turn_no);
  EXPECT_EQ(b.flow.player_income, a.flow.player_income);
  EXPECT_EQ(b.flow.enemy_income, a.flow.enemy_income);
  EXPECT_EQ(b.view.view_x, a.view.view_x);
  EXPECT_EQ(b.view.view_y, a.view.view_y);
  EXPECT_EQ(b.rng.state, a.rng.state);
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    expect_same_unit(b.world.player_units[slot], a.world.player_units[slot],
                     "player slot " + std::to_string(slot));
    expect_same_unit(b.world.enemy_units[slot], a.world.enemy_units[slot],
                     "enemy slot " + std::to_string(slot));
  }
  EXPECT_EQ(b.world.reserves_pending, a.world.reserves_pending);
  EXPECT_TRUE(same_bytes(b.world.reserve_points, a.world.reserve_points));
  EXPECT_EQ(b.world.player_start_sp, a.world.player_start_sp);
  EXPECT_EQ(b.world.enemy_start_sp, a.world.enemy_start_sp);
  EXPECT_EQ(b.world.focus_slot, a.world.focus_slot);
  EXPECT_TRUE(same_bytes(b.world.terrain_layer, a.world.terrain_layer));
  EXPECT_TRUE(same_bytes(b.world.object_layer, a.world.object_layer));
  EXPECT_TRUE(same_bytes(b.world.map_header, a.world.map_header));
  EXPECT_TRUE(same_bytes(b.world.vision, a.world.vision));
  EXPECT_TRUE(same_bytes(b.world.occupancy, a.world.occupancy)) << "rebuilt from the rosters";

  // What is not in the file follows from it: the stage's rows, the counts, no stale repairs.
  EXPECT_EQ(b.world.unit_specs[kPlayerHq].max_sp, 100);
  EXPECT_EQ(b.world.unit_specs[kEnemyHq].max_sp, 100);
  EXPECT_EQ(b.world.unit_specs[kPlayerHq].count, 2);
  EXPECT_EQ(b.world.unit_specs[5].count, 0);
  EXPECT_EQ(b.world.unit_specs[14].count, 0);
  EXPECT_EQ(b.world.unit_specs[23].count, 1);
  EXPECT_EQ(b.world.heal_list[0].amount, kNone);
  EXPECT_EQ(b.flow.heal_pos, 0);

  // And written again it is the same file, byte for byte.
  EXPECT_EQ(encoded(*to), bytes);
}

TEST(BattleFile, SaysWhatItIsInItsHeader) {
  const std::vector<uint8_t> bytes = encoded(*varied_battle());
  ASSERT_EQ(bytes.size(), kBattleFileBytes);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "NVBATTLE");
  const auto u32_at = [&](size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
  };
  EXPECT_EQ(u32_at(8), kBattleFormat);
  EXPECT_EQ(u32_at(12), kBattleFileBytes);
  // Little-endian whatever the machine: the stage is the payload's first field.
  EXPECT_EQ(u32_at(kBattleHeaderBytes), static_cast<uint32_t>(kStage));
  EXPECT_EQ(u32_at(kBattleHeaderBytes + 7 * 4), 0xDEADBEEFu);
}

void put_u32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  battle_bytes::put_u32(bytes.data() + at, v);
}

TEST(BattleFile, TheChecksumIsTheCrc32OfThePayload) {
  std::vector<uint8_t> bytes = encoded(*varied_battle());
  const std::vector<uint8_t> written = bytes;
  battle_bytes::seal(bytes.data());
  EXPECT_EQ(bytes, written);
}

// Decodes `bytes` into a battle that already holds a marker; a refusal must leave it there.
::testing::AssertionResult refused(const std::vector<uint8_t>& bytes, const char* reason) {
  const auto g = varied_battle();
  SuspendedBattle out{};
  out.turn_no = -77;
  std::string error;
  if (decode_battle(*g, bytes.data(), bytes.size(), &out, &error)) {
    return ::testing::AssertionFailure() << "accepted";
  }
  if (out.turn_no != -77) return ::testing::AssertionFailure() << "wrote part of the battle";
  if (error.find(reason) == std::string::npos) {
    return ::testing::AssertionFailure() << "said \"" << error << "\", not \"" << reason << "\"";
  }
  return ::testing::AssertionSuccess();
}

TEST(BattleFile, AFileCutShortAnywhereIsRefused) {
  const std::vector<uint8_t> whole = encoded(*varied_battle());
  for (size_t size : {size_t{0}, size_t{5}, size_t{8}, size_t{19}, size_t{20}, size_t{21},
                      kBattleFileBytes / 2, kBattleFileBytes - 1}) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    EXPECT_TRUE(refused(cut, "cut short")) << size << " bytes";
  }
}

TEST(BattleFile, AForeignDamagedOrOtherFormatFileIsRefused) {
  const struct {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    const char* reason;
  } cases[] = {
      {"another magic", [](auto& b) { b[0] = 'X'; }, "not a battle file"},
      {"a save file",
       [](auto& b) {
         b.assign({'1', ',', '3'});
       },
       "not a battle file"},
      {"format 2", [](auto& b) { put_u32(b, 8, 2); }, "format 2"},
      {"format 0", [](auto& b) { put_u32(b, 8, 0); }, "format 0"},
      {"a length of its own", [](auto& b) { put_u32(b, 12, kBattleFileBytes + 4); }, "damaged"},
      {"one byte more", [](auto& b) { b.push_back(0); }, "longer"},
      {"first byte flipped", [](auto& b) { b[kBattleHeaderBytes] ^= 1; }, "checksum"},
      {"a middle byte flipped", [](auto& b) { b[kBattleFileBytes / 2] ^= 0x80; }, "checksum"},
      {"last byte flipped", [](auto& b) { b.back() ^= 4; }, "checksum"},
      {"checksum flipped", [](auto& b) { b[16] ^= 1; }, "checksum"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = encoded(*varied_battle());
    c.change(bytes);
    EXPECT_TRUE(refused(bytes, c.reason)) << c.name;
  }
}

// A file whose checksum holds but whose values the game could not play on, such as a file
// written by hand or by another program.
TEST(BattleFile, ValuesTheGameCannotPlayOnAreRefusedEvenWithARightChecksum) {
  const struct {
    const char* name;
    std::function<void(SuspendedBattle&)> change;
    const char* reason;
  } cases[] = {
      {"enemy type in the player's roster", [](auto& b) { b.player_units[7].type = 14; }, "type"},
      {"spare row", [](auto& b) { b.enemy_units[30].type = 26; }, "type"},
      {"negative type", [](auto& b) { b.enemy_units[30].type = -1; }, "type"},
      {"on the outer ring", [](auto& b) { b.player_units[59].x = 63; }, "off the map"},
      {"beyond the map", [](auto& b) { b.enemy_units[0].y = 900; }, "off the map"},
      {"no hit points", [](auto& b) { b.player_units[7].hp = 0; }, "hit points"},
      {"more hit points than the type", [](auto& b) { b.player_units[7].hp += 1000; }, "hit"},
      {"HQ SP above the stage's ceiling",
       [](auto& b) {
         b.player_units[0].sp = 101;
         b.player_units[1].sp = 101;
       },
       "SP"},
      {"HQs with different purses", [](auto& b) { b.player_units[1].sp = 36; }, "different SP"},
      {"negative SP", [](auto& b) { b.enemy_units[30].sp = -1; }, "SP"},
      {"unit terrain without a row", [](auto& b) { b.player_units[7].terrain = 16; }, "terrain"},
      {"unit terrain not its cell's", [](auto& b) { b.player_units[7].terrain ^= 1; }, "its cell"},
      {"ready 2", [](auto& b) { b.player_units[7].ready = 2; }, "state byte"},
      {"moved 2", [](auto& b) { b.player_units[7].moved = 2; }, "state byte"},
      {"status 0", [](auto& b) { b.enemy_units[0].status = 0; }, "state byte"},
      {"empty slot with hit points", [](auto& b) { b.player_units[3].hp = 5; }, "empty"},
      {"two units on one cell",
       [](auto& b) {
         b.enemy_units[30].x = 62;
         b.enemy_units[30].y = 62;
       },
       "share a cell"},
      {"map terrain without a row", [](auto& b) { b.terrain_layer[5][6] = 16; }, "terrain 16"},
      {"negative map terrain", [](auto& b) { b.terrain_layer[5][6] = -3; }, "terrain -3"},
      {"vision 2", [](auto& b) { b.vision[1][30][30] = 2; }, "vision"},
      {"the outer ring seen", [](auto& b) { b.vision[0][0][5] = 1; }, "vision"},
      {"view past the map", [](auto& b) { b.view_x = 45; }, "view"},
      {"negative view", [](auto& b) { b.view_y = -1; }, "view"},
      {"focus past the roster", [](auto& b) { b.focus_slot = kRosterSlots; }, "focus"},
      {"reserve point off the map", [](auto& b) { b.reserve_points[1].x = 0; }, "reserve point"},
      {"reserve list without its end",
       [](auto& b) {
         b.reserve_points[kReservePoints - 1] = CellPoint{5, 5};
       },
       "reserve point"},
      {"reserve flag 2", [](auto& b) { b.reserves_pending = 2; }, "reserve flag"},
      {"negative turn", [](auto& b) { b.turn_no = -1; }, "turn"},
      {"negative income", [](auto& b) { b.enemy_income = -5; }, "income"},
  };
  const auto g = varied_battle();
  for (const auto& c : cases) {
    SuspendedBattle b;
    capture_battle(*g, &b);
    c.change(b);
    EXPECT_TRUE(refused(encoded(b), c.reason)) << c.name;
  }
}

}  // namespace
