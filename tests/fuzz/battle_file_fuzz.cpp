// Fuzz target: a battle file of any content. The reader never looks outside the bytes it is
// given; a file it accepts is written back byte for byte the same and restores a world the rules
// then work on without a read or write out of bounds. Every input is tried twice: as it is, and
// with its header put right (magic, format, length and checksum), so that the mutations also
// reach the checks of the values behind the checksum.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/battle_file.h"
#include "state/game.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world/tables.h"
#include "world/vision.h"

namespace {

[[noreturn]] void fault(const char* what, int a = 0, int b = 0) {
  std::fprintf(stderr, "battle file fuzz: %s (%d, %d)\n", what, a, b);
  std::abort();
}

void check_world(const Game& g) {
  const WorldState& w = g.world;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (w.terrain_layer[x][y] < 0 || w.terrain_layer[x][y] >= kTerrainRows) {
        fault("terrain code without a table row", x, y);
      }
      const int o = w.occupancy[x][y];
      if (o == kNoUnit) continue;
      const bool player = o < kEnemyOccupancyBase;
      const int slot = player ? o : o - kEnemyOccupancyBase;
      if (slot >= kRosterSlots) fault("occupancy names no slot", x, y);
      const TUnit& u = roster_of(g, player ? kSidePlayer : kSideEnemy)[slot];
      if (u.x != x || u.y != y) fault("occupancy names a unit standing elsewhere", x, y);
    }
  }
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      const TUnit& u = roster_of(g, side)[slot];
      if (u.type == 0) continue;
      if (u.type < 1 || u.type > 25) fault("unit of no type", side, slot);
      if (u.x < 1 || u.x > 62 || u.y < 1 || u.y > 62) fault("unit off the inner map", side, slot);
      if (u.hp < 0 || u.hp > w.unit_specs[u.type].max_hp) fault("hit points", side, slot);
    }
  }
  if (g.view.view_x < 0 || g.view.view_x > 44 || g.view.view_y < 0 || g.view.view_y > 49) {
    fault("view off the map", g.view.view_x, g.view.view_y);
  }
}

void put_u32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The CRC-32 of zip and PNG, bit by bit: the reader's own table must agree with it.
uint32_t crc32(const uint8_t* bytes, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    c ^= bytes[i];
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

void try_file(Game& g, const uint8_t* data, size_t size) {
  SuspendedBattle b;
  std::string error;
  if (!decode_battle(g, data, size, &b, &error)) {
    if (error.empty()) fault("refused without a reason");
    return;
  }
  if (size != kBattleFileBytes)
    fault("accepted a file of the wrong length", static_cast<int>(size));
  static uint8_t again[kBattleFileBytes];
  encode_battle(b, again);
  if (std::memcmp(again, data, size) != 0) fault("accepted file written back differently");

  restore_battle(b, g);
  check_world(g);
  SuspendedBattle kept;
  capture_battle(g, &kept);
  encode_battle(kept, again);
  if (std::memcmp(again, data, size) != 0) fault("restored game captured differently");

  // A turn's worth of the world's rules on whatever the file held.
  focus_unit(g, kSidePlayer, 1);
  focus_unit(g, kSideEnemy, 1);
  if (g.world.reserves_pending) deploy_reserves(g);
  for (int side : {kSidePlayer, kSideEnemy}) {
    repair_at_hqs(g, side);
    if (g.world.heal_list[kHealEntries - 1].amount != kNone) fault("heal list lost its end");
    refresh_side(g, side);
    update_vision(g, side);
  }
  (void)first_ready(g, 0);
  (void)first_ready(g, 3);
  int n = 0;
  for (int side : {kSidePlayer, kSideEnemy}) {
    for (int slot = 0; slot < kRosterSlots; ++slot) {
      TUnit& u = roster_of(g, side)[slot];
      if (u.type != 0 && n++ % 3 == 0) u.hp = 0;
    }
  }
  remove_destroyed(g);
  rebuild_occupancy(g);
  check_world(g);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Game* const g = [] {
    auto* game = new Game();
    init_tables(*game);
    build_sight_stencils(*game);
    return game;
  }();

  try_file(*g, data, size);

  // The same bytes as the payload of a file whose header holds up.
  static std::vector<uint8_t> fixed(kBattleFileBytes);
  std::fill(fixed.begin(), fixed.end(), uint8_t{0});
  if (size > 0) std::memcpy(fixed.data(), data, size < kBattleFileBytes ? size : kBattleFileBytes);
  std::memcpy(fixed.data(), "NVBATTLE", kBattleMagicBytes);
  put_u32(fixed.data() + 8, kBattleFormat);
  put_u32(fixed.data() + 12, static_cast<uint32_t>(kBattleFileBytes));
  put_u32(fixed.data() + 16, crc32(fixed.data() + kBattleHeaderBytes, kBattlePayloadBytes));
  try_file(*g, fixed.data(), fixed.size());
  return 0;
}
