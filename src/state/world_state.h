// The world model: unit-type and terrain tables, the two rosters, the map layers, vision and the
// buffers through which the scene machine and the opponent work on one unit at a time.
// Plain fixed-size data only: no SDL, no sound, no scene codes.
#pragma once

#include <cstdint>

constexpr int kMapSize = 64;
constexpr int kRosterSlots = 60;
constexpr int kUnitSpecRows = 34;
constexpr int kTerrainRows = 16;
constexpr int kTerrainNames = 13;
constexpr int kReservePoints = 20;
constexpr int kStencils = 20;
constexpr int kStencilSize = 42;
constexpr int kHealEntries = 80;
constexpr int kMapHeaderBytes = 20;

// The value that means "none" or "finished" for slots, cells, distances and results.
constexpr int32_t kNone = 65535;
// As the hit-point argument of add_unit: the type's full max_hp.
constexpr int32_t default_hp = 900;
// As a cost: the type is not offered in this stage.
constexpr int32_t NO_AIR = 900;
constexpr uint8_t kNoUnit = 255;  // occupancy of an empty cell
constexpr int kEnemyOccupancyBase = 64;

constexpr int kSidePlayer = 0;
constexpr int kSideEnemy = 1;
constexpr int kPlayerHq = 1;
constexpr int kEnemyHq = 12;

// Texts are UTF-8; the widest model name needs 30 bytes.
constexpr int kSpecTextBytes = 48;

struct TUnitSpec {
  char name[kSpecTextBytes];
  char model[kSpecTextBytes];
  int32_t max_hp;
  int32_t max_sp;
  int32_t attack_soft;
  int32_t attack_armor;
  int32_t defense_ground;
  int32_t attack_air;
  int32_t defense_air;
  int32_t move;
  int32_t range;
  int32_t accuracy;
  int32_t evasion;
  int32_t cost;
  int32_t count;
  int32_t image;
  int32_t level;
  int32_t air;
  int32_t sight;
};

struct TTerrainSpec {
  int32_t air_cost;
  int32_t ground_cost;
  int32_t defense;
};

struct TUnit {
  int32_t type;
  int32_t x;
  int32_t y;
  int32_t hp;
  int32_t sp;
  int32_t terrain;
  uint8_t status;
  uint8_t ready;
  uint8_t moved;
};

struct CellPoint {
  int32_t x;
  int32_t y;
};

struct HealEntry {
  int32_t x;
  int32_t y;
  int32_t amount;
};

struct WorldState {
  TUnitSpec unit_specs[kUnitSpecRows];
  TTerrainSpec terrain_specs[kTerrainRows];

  TUnit player_units[kRosterSlots];
  TUnit enemy_units[kRosterSlots];
  uint8_t occupancy[kMapSize][kMapSize];  // [x][y]
  CellPoint reserve_points[kReservePoints];
  bool reserves_pending;
  int32_t player_start_sp;
  int32_t enemy_start_sp;

  TUnitSpec selected_spec;
  TUnit selected_unit;
  int32_t selected_slot;

  int8_t terrain_layer[kMapSize][kMapSize];  // [x][y]
  int8_t object_layer[kMapSize][kMapSize];   // [x][y]
  uint8_t map_header[kMapHeaderBytes];

  int32_t sight_stencils[kStencils][kStencilSize][kStencilSize];  // [mask][row][column]
  int32_t vision[2][kMapSize][kMapSize];                          // [side][x][y]

  int32_t focus_slot;
  int32_t deploy_dir;
  HealEntry heal_list[kHealEntries];
};
