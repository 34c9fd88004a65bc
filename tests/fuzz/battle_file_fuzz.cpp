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

#include "fuzz/world_check.h"
#include "game/battle_file.h"
#include "state/game.h"
#include "support/battle_file_bytes.h"
#include "world/production.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world/tables.h"
#include "world/vision.h"

namespace {

[[noreturn]] void fault(const char* what, int a = 0, int b = 0) {
  fuzz_world::fault("battle file", what, a, b);
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
  fuzz_world::check_world("battle file", g);
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
  fuzz_world::check_world("battle file", g);
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
  battle_bytes::seal(fixed.data());
  try_file(*g, fixed.data(), fixed.size());
  return 0;
}
