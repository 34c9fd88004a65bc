// The file of a suspended battle: what a battle needs to go on from a player's turn, written
// field by field at fixed widths (little-endian) behind a header that says what the file is, in
// which format, how long it is and what its contents sum to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "state/world_state.h"

struct Game;

constexpr const char* kBattleFileName = "BATTLE.DAT";

// Raised whenever a field is added, removed or changes its width: a file of another format is
// then refused rather than misread.
constexpr uint32_t kBattleFormat = 1;

// What a battle file holds of a Game. The per-stage rows of the unit table, the type counts and
// the occupancy layer are not kept: they follow from the stage and the rosters. Neither are the
// pictures, which are drawn again from this state.
struct SuspendedBattle {
  int32_t stage_no;
  int32_t max_stage;
  int32_t turn_no;
  int32_t player_income;
  int32_t enemy_income;
  int32_t view_x;
  int32_t view_y;
  uint32_t rng_state;
  TUnit player_units[kRosterSlots];
  TUnit enemy_units[kRosterSlots];
  uint8_t reserves_pending;
  CellPoint reserve_points[kReservePoints];
  int32_t player_start_sp;
  int32_t enemy_start_sp;
  int32_t focus_slot;
  int8_t terrain_layer[kMapSize][kMapSize];  // [x][y]
  int8_t object_layer[kMapSize][kMapSize];   // [x][y]
  uint8_t map_header[kMapHeaderBytes];
  uint8_t vision[2][kMapSize][kMapSize];  // [side][x][y], 0 or 1
};

// The header: the magic, the format, the whole file's length and the CRC-32 of what follows it.
constexpr size_t kBattleMagicBytes = 8;
constexpr size_t kBattleHeaderBytes = kBattleMagicBytes + 3 * 4;
// A roster slot: type, x, y, hp, sp and terrain, then status, ready and moved.
constexpr size_t kBattleUnitBytes = 6 * 4 + 3;
constexpr size_t kBattleCells = size_t{kMapSize} * kMapSize;
constexpr size_t kBattlePayloadBytes = 8 * 4                                  // flow, view, random
                                       + 2 * kRosterSlots * kBattleUnitBytes  // the rosters
                                       + 1 + kReservePoints * 2 * 4           // the reserves
                                       + 3 * 4                                // start SP, focus
                                       + 2 * kBattleCells + kMapHeaderBytes   // the map
                                       + 2 * kBattleCells;                    // vision
constexpr size_t kBattleFileBytes = kBattleHeaderBytes + kBattlePayloadBytes;

// Copies what a battle file keeps out of the game, and back. restore_battle also sets the stage's
// rows of the unit table, recounts the types, rebuilds the occupancy layer and empties the list
// of repairs (they were shown when they were made); it draws nothing.
void capture_battle(const Game& g, SuspendedBattle* b);
void restore_battle(const SuspendedBattle& b, Game& g);

// The file's bytes, exactly kBattleFileBytes of them.
void encode_battle(const SuspendedBattle& b, uint8_t* out);

// Reads a battle file of `size` bytes. False, with *error saying why in a line for the player,
// when it is no battle file, of another format, cut short or longer than it says, damaged (its
// checksum does not match) or holds a value the game cannot play on (a unit of the wrong side or
// off the map, hit points beyond the type's, a terrain code without a row, ...); the ranges come
// from the tables of g. *out is written only when the whole file holds up.
bool decode_battle(const Game& g, const uint8_t* bytes, size_t size, SuspendedBattle* out,
                   std::string* error);
