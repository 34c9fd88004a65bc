#include "game/debug_list.h"

#include <cstdio>
#include <cstring>

#include "state/game.h"

namespace {

void list_roster(Game& g, const TUnit (&roster)[kRosterSlots]) {
  debug_clear(g);
  char line[kDebugLineBytes];
  for (int i = 0; i < kRosterSlots; ++i) {
    const TUnit& u = roster[i];
    std::snprintf(line, sizeof line, "%d id %d px %d py %d", i, static_cast<int>(u.type),
                  static_cast<int>(u.x), static_cast<int>(u.y));
    debug_append(g, line);
  }
}

void append_pair(Game& g, const TPair& p) {
  char line[kDebugLineBytes];
  std::snprintf(line, sizeof line, "D%d P%d E%d", static_cast<int>(p.distance),
                static_cast<int>(p.p_slot), static_cast<int>(p.e_slot));
  debug_append(g, line);
}

}  // namespace

void debug_append(Game& g, const char* line) {
  DebugState& d = g.debug;
  int slot;
  if (d.count < kDebugLines) {
    slot = (d.first + d.count) % kDebugLines;
    ++d.count;
  } else {
    slot = d.first;
    d.first = (d.first + 1) % kDebugLines;
    ++d.dropped;
  }
  char* out = d.lines[slot];
  const size_t n = line == nullptr ? 0 : strnlen(line, kDebugLineBytes - 1);
  if (n > 0) std::memcpy(out, line, n);
  out[n] = '\0';
}

void debug_clear(Game& g) {
  g.debug.first = 0;
  g.debug.count = 0;
  g.debug.dropped = 0;
}

int debug_line_count(const Game& g) {
  return g.debug.count;
}

const char* debug_line(const Game& g, int i) {
  const DebugState& d = g.debug;
  if (i < 0 || i >= d.count) return nullptr;
  return d.lines[(d.first + i) % kDebugLines];
}

void debug_log_walk(Game& g, int x, int y) {
  char line[kDebugLineBytes];
  std::snprintf(line, sizeof line, "pX %d pY %d", x, y);
  debug_append(g, line);
}

void debug_log_damage(Game& g, int d) {
  char line[kDebugLineBytes];
  std::snprintf(line, sizeof line, "damage %d", d);
  debug_append(g, line);
}

void Button1Click(Game& g) {
  list_roster(g, g.world.enemy_units);
}

void Button2Click(Game& g) {
  debug_clear(g);
  for (const TPair& p : g.rules.pair_list) append_pair(g, p);
  append_pair(g, g.rules.sort_swap);
  append_pair(g, g.rules.sort_pivot);
}

void Button3Click(Game& g) {
  list_roster(g, g.world.player_units);
}
