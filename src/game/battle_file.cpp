#include "game/battle_file.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "game/campaign.h"
#include "state/game.h"
#include "view/map_view.h"
#include "world/roster.h"
#include "world/tables.h"
#include "world/unit_kinds.h"

namespace {

constexpr uint8_t kMagic[kBattleMagicBytes] = {'N', 'V', 'B', 'A', 'T', 'T', 'L', 'E'};

// CRC-32 as zip and PNG have it (reflected, polynomial 0xEDB88320).
constexpr std::array<uint32_t, 256> make_crc_table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = make_crc_table();

uint32_t crc32(const uint8_t* bytes, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = kCrcTable[(c ^ bytes[i]) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void put_u32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t get_u32(const uint8_t* at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t{at[i]} << (8 * i);
  return v;
}

class Writer {
 public:
  explicit Writer(uint8_t* at) : at_(at) {}
  void u32(const uint32_t& v) {
    put_u32(at_, v);
    at_ += 4;
  }
  void i32(const int32_t& v) { u32(static_cast<uint32_t>(v)); }
  void u8(const uint8_t& v) { *at_++ = v; }
  void i8(const int8_t& v) { *at_++ = static_cast<uint8_t>(v); }
  const uint8_t* end() const { return at_; }

 private:
  uint8_t* at_;
};

class Reader {
 public:
  explicit Reader(const uint8_t* at) : at_(at) {}
  void u32(uint32_t& v) {
    v = get_u32(at_);
    at_ += 4;
  }
  void i32(int32_t& v) {
    uint32_t u = 0;
    u32(u);
    v = static_cast<int32_t>(u);
  }
  void u8(uint8_t& v) { v = *at_++; }
  void i8(int8_t& v) { v = static_cast<int8_t>(*at_++); }

 private:
  const uint8_t* at_;
};

// Every field in file order, once, for both directions: B is SuspendedBattle or its const.
template <class Io, class B>
constexpr void battle_fields(Io& io, B& b) {
  io.i32(b.stage_no);
  io.i32(b.max_stage);
  io.i32(b.turn_no);
  io.i32(b.player_income);
  io.i32(b.enemy_income);
  io.i32(b.view_x);
  io.i32(b.view_y);
  io.u32(b.rng_state);
  for (auto* roster : {&b.player_units, &b.enemy_units}) {
    for (auto& u : *roster) {
      io.i32(u.type);
      io.i32(u.x);
      io.i32(u.y);
      io.i32(u.hp);
      io.i32(u.sp);
      io.i32(u.terrain);
      io.u8(u.status);
      io.u8(u.ready);
      io.u8(u.moved);
    }
  }
  io.u8(b.reserves_pending);
  for (auto& point : b.reserve_points) {
    io.i32(point.x);
    io.i32(point.y);
  }
  io.i32(b.player_start_sp);
  io.i32(b.enemy_start_sp);
  io.i32(b.focus_slot);
  for (auto& column : b.terrain_layer) {
    for (auto& cell : column) io.i8(cell);
  }
  for (auto& column : b.object_layer) {
    for (auto& cell : column) io.i8(cell);
  }
  for (auto& byte : b.map_header) io.u8(byte);
  for (auto& side : b.vision) {
    for (auto& column : side) {
      for (auto& cell : column) io.u8(cell);
    }
  }
}

// The length the header promises is what battle_fields reads and writes.
struct Counter {
  size_t n = 0;
  constexpr void u32(const uint32_t&) { n += 4; }
  constexpr void i32(const int32_t&) { n += 4; }
  constexpr void u8(const uint8_t&) { n += 1; }
  constexpr void i8(const int8_t&) { n += 1; }
};
constexpr size_t counted_payload_bytes() {
  Counter counter;
  const SuspendedBattle b{};
  battle_fields(counter, b);
  return counter.n;
}
static_assert(counted_payload_bytes() == kBattlePayloadBytes);

__attribute__((format(printf, 2, 3))) bool refuse(std::string* error, const char* format, ...) {
  char text[200];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  *error = text;
  return false;
}

bool on_inner_map(int32_t x, int32_t y) {
  return x >= 1 && x <= kMapSize - 2 && y >= 1 && y <= kMapSize - 2;
}

// The SP a unit of `type` may hold: an HQ up to its stage's ceiling, any other its type's figure.
int32_t sp_ceiling(const Game& g, const SuspendedBattle& b, int32_t type) {
  if (is_hq_type(type)) return stage_params(b.stage_no).max_sp;
  return g.world.unit_specs[type].max_sp;
}

bool check_roster(const Game& g, const SuspendedBattle& b, int side, std::string* error) {
  const TUnit* roster = side == kSidePlayer ? b.player_units : b.enemy_units;
  const char* name = side == kSidePlayer ? "player" : "enemy";
  const int hq = side == kSidePlayer ? kPlayerHq : kEnemyHq;
  int32_t purse = -1;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& u = roster[slot];
    if (u.type == 0) {
      // An empty slot is all zero, so no query mistakes it for a unit somewhere.
      if (u.x != 0 || u.y != 0 || u.hp != 0 || u.sp != 0 || u.terrain != 0 || u.status != 0 ||
          u.ready != 0 || u.moved != 0) {
        return refuse(error, "%s slot %d is empty but holds values", name, slot);
      }
      continue;
    }
    const bool of_side = side == kSidePlayer ? is_player_type(u.type) : is_enemy_type(u.type);
    if (!of_side) return refuse(error, "%s slot %d holds type %d", name, slot, u.type);
    if (!on_inner_map(u.x, u.y)) {
      return refuse(error, "%s slot %d stands off the map at (%d, %d)", name, slot, u.x, u.y);
    }
    if (u.hp < 1 || u.hp > g.world.unit_specs[u.type].max_hp) {
      return refuse(error, "%s slot %d has %d hit points", name, slot, u.hp);
    }
    if (u.sp < 0 || u.sp > sp_ceiling(g, b, u.type)) {
      return refuse(error, "%s slot %d has %d SP", name, slot, u.sp);
    }
    // The unit's terrain is kept up to date with its cell by every redraw.
    if (u.terrain != b.terrain_layer[u.x][u.y]) {
      return refuse(error, "%s slot %d stands on terrain %d, its cell is of %d", name, slot,
                    u.terrain, b.terrain_layer[u.x][u.y]);
    }
    if (u.status != 1 || u.ready > 1 || u.moved > 1) {
      return refuse(error, "%s slot %d has a state byte out of range", name, slot);
    }
    // The HQs of a side share one purse.
    if (u.type == hq) {
      if (purse >= 0 && u.sp != purse) return refuse(error, "%s HQs hold different SP", name);
      purse = u.sp;
    }
    for (int other = 0; other < slot; ++other) {
      if (roster[other].type != 0 && roster[other].x == u.x && roster[other].y == u.y) {
        return refuse(error, "%s slots %d and %d share a cell", name, other, slot);
      }
    }
  }
  return true;
}

bool check_battle(const Game& g, const SuspendedBattle& b, std::string* error) {
  if (b.turn_no < 0) return refuse(error, "turn %d", b.turn_no);
  if (b.player_income < 0 || b.enemy_income < 0) return refuse(error, "negative income");
  if (b.view_x < 0 || b.view_x > kViewMaxX || b.view_y < 0 || b.view_y > kViewMaxY) {
    return refuse(error, "view at (%d, %d)", b.view_x, b.view_y);
  }
  if (!check_roster(g, b, kSidePlayer, error) || !check_roster(g, b, kSideEnemy, error)) {
    return false;
  }
  if (b.reserves_pending > 1) return refuse(error, "reserve flag %d", b.reserves_pending);
  for (int i = 0; i < kReservePoints; ++i) {
    const CellPoint& p = b.reserve_points[i];
    const bool none = p.x == kNone && p.y == kNone;
    // The last entry is the list's end marker.
    if (!none && (i == kReservePoints - 1 || !on_inner_map(p.x, p.y))) {
      return refuse(error, "reserve point %d at (%d, %d)", i, p.x, p.y);
    }
  }
  if (b.player_start_sp < 0 || b.enemy_start_sp < 0) return refuse(error, "negative start SP");
  if (b.focus_slot < 0 || b.focus_slot >= kRosterSlots) {
    return refuse(error, "focus slot %d", b.focus_slot);
  }
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const int8_t t = b.terrain_layer[x][y];
      if (t < 0 || t >= kTerrainRows) return refuse(error, "terrain %d at (%d, %d)", t, x, y);
      for (int side = 0; side < 2; ++side) {
        const uint8_t seen = b.vision[side][x][y];
        // The outer ring is never seen.
        if (seen > 1 || (seen == 1 && !on_inner_map(x, y))) {
          return refuse(error, "vision %d at (%d, %d)", seen, x, y);
        }
      }
    }
  }
  return true;
}

}  // namespace

void capture_battle(const Game& g, SuspendedBattle* b) {
  const FlowState& f = g.flow;
  const WorldState& w = g.world;
  b->stage_no = f.stage_no;
  b->max_stage = f.max_stage;
  b->turn_no = f.turn_no;
  b->player_income = f.player_income;
  b->enemy_income = f.enemy_income;
  b->view_x = g.view.view_x;
  b->view_y = g.view.view_y;
  b->rng_state = g.rng.state;
  std::copy_n(w.player_units, kRosterSlots, b->player_units);
  std::copy_n(w.enemy_units, kRosterSlots, b->enemy_units);
  b->reserves_pending = w.reserves_pending ? 1 : 0;
  std::copy_n(w.reserve_points, kReservePoints, b->reserve_points);
  b->player_start_sp = w.player_start_sp;
  b->enemy_start_sp = w.enemy_start_sp;
  b->focus_slot = w.focus_slot;
  std::memcpy(b->terrain_layer, w.terrain_layer, sizeof b->terrain_layer);
  std::memcpy(b->object_layer, w.object_layer, sizeof b->object_layer);
  std::memcpy(b->map_header, w.map_header, sizeof b->map_header);
  for (int side = 0; side < 2; ++side) {
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) b->vision[side][x][y] = w.vision[side][x][y] != 0 ? 1 : 0;
    }
  }
}

void restore_battle(const SuspendedBattle& b, Game& g) {
  FlowState& f = g.flow;
  WorldState& w = g.world;
  f.stage_no = b.stage_no;
  f.max_stage = b.max_stage;
  f.turn_no = b.turn_no;
  f.player_income = b.player_income;
  f.enemy_income = b.enemy_income;
  g.view.view_x = b.view_x;
  g.view.view_y = b.view_y;
  g.rng.state = b.rng_state;
  set_stage_tables(g);
  std::copy_n(b.player_units, kRosterSlots, w.player_units);
  std::copy_n(b.enemy_units, kRosterSlots, w.enemy_units);
  w.reserves_pending = b.reserves_pending != 0;
  std::copy_n(b.reserve_points, kReservePoints, w.reserve_points);
  w.player_start_sp = b.player_start_sp;
  w.enemy_start_sp = b.enemy_start_sp;
  w.focus_slot = b.focus_slot;
  std::memcpy(w.terrain_layer, b.terrain_layer, sizeof w.terrain_layer);
  std::memcpy(w.object_layer, b.object_layer, sizeof w.object_layer);
  std::memcpy(w.map_header, b.map_header, sizeof w.map_header);
  for (int side = 0; side < 2; ++side) {
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) w.vision[side][x][y] = b.vision[side][x][y];
    }
  }
  recount_types(g);
  rebuild_occupancy(g);
  for (HealEntry& entry : w.heal_list) entry = HealEntry{kNone, kNone, kNone};
  f.heal_pos = 0;
}

void encode_battle(const SuspendedBattle& b, uint8_t* out) {
  std::memcpy(out, kMagic, kBattleMagicBytes);
  Writer payload(out + kBattleHeaderBytes);
  battle_fields(payload, b);
  put_u32(out + kBattleMagicBytes, kBattleFormat);
  put_u32(out + kBattleMagicBytes + 4, static_cast<uint32_t>(kBattleFileBytes));
  put_u32(out + kBattleMagicBytes + 8, crc32(out + kBattleHeaderBytes, kBattlePayloadBytes));
}

bool decode_battle(const Game& g, const uint8_t* bytes, size_t size, SuspendedBattle* out,
                   std::string* error) {
  // An empty file may come as no bytes at all, which memcmp must not be handed.
  if (size > 0 && std::memcmp(bytes, kMagic, std::min(size, kBattleMagicBytes)) != 0) {
    return refuse(error, "not a battle file");
  }
  if (size < kBattleHeaderBytes) return refuse(error, "cut short at %zu bytes", size);
  const uint32_t format = get_u32(bytes + kBattleMagicBytes);
  if (format != kBattleFormat) {
    return refuse(error, "format %u, this game reads format %u", format, kBattleFormat);
  }
  const uint32_t length = get_u32(bytes + kBattleMagicBytes + 4);
  if (length != kBattleFileBytes) return refuse(error, "damaged (its length reads %u)", length);
  if (size < kBattleFileBytes) {
    return refuse(error, "cut short at %zu of %zu bytes", size, kBattleFileBytes);
  }
  if (size > kBattleFileBytes) return refuse(error, "longer than the %zu bytes", kBattleFileBytes);
  const uint32_t sum = get_u32(bytes + kBattleMagicBytes + 8);
  if (sum != crc32(bytes + kBattleHeaderBytes, kBattlePayloadBytes)) {
    return refuse(error, "damaged (its checksum does not match)");
  }
  // Read into a copy first, so that a file refused below leaves *out as it was.
  static_assert(sizeof(SuspendedBattle) < 32 * 1024, "kept on the stack while it is checked");
  SuspendedBattle b;
  Reader payload(bytes + kBattleHeaderBytes);
  battle_fields(payload, b);
  if (!check_battle(g, b, error)) return false;
  *out = b;
  return true;
}
