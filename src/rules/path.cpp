#include "rules/path.h"

#include "rules/reach.h"
#include "state/game.h"

namespace {

// Neighbour orders, as (dx, dy): the player's trace looks west first, the descent south first.
constexpr int kTraceOrder[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
constexpr int kDescentOrder[4][2] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};

// Moves (x, y) to the first neighbour in `order` whose reach is lower; false when there is none.
bool step_down(const Game& g, const int (&order)[4][2], int& x, int& y) {
  const auto& reach = g.rules.reach;
  for (const auto& d : order) {
    const int nx = x + d[0];
    const int ny = y + d[1];
    if (on_grid(nx, ny) && reach[nx][ny] < reach[x][y]) {
      x = nx;
      y = ny;
      return true;
    }
  }
  return false;
}

// Stores (x, y) at path_fill and advances it; false once the list is full.
bool store(Game& g, int x, int y) {
  RulesState& r = g.rules;
  r.path_list[r.path_fill] = CellPoint{x, y};
  ++r.path_fill;
  return r.path_fill < kPathEntries;
}

}  // namespace

void clear_path_list(Game& g) {
  for (CellPoint& e : g.rules.path_list) e = CellPoint{0, 0};
}

int fill_trace_path(const Game& g, int x, int y, CellPoint (&out)[kPathEntries]) {
  if (!on_grid(x, y)) return 0;
  int n = 0;
  out[n++] = CellPoint{x, y};
  // Every step goes strictly down, so the walk ends; the list bound keeps a long descent (a
  // start far beyond the move) inside the list.
  while (n < kPathEntries && step_down(g, kTraceOrder, x, y)) out[n++] = CellPoint{x, y};
  return n;
}

void trace_path(Game& g, int x, int y) {
  g.rules.path_fill = fill_trace_path(g, x, y, g.rules.path_list);
}

void descend_path(Game& g, int x, int y, int first) {
  g.rules.path_fill = 0;
  if (!on_grid(x, y)) return;
  if (first == 1) store(g, x, y);
  for (int step = 0; step < kDescentSteps; ++step) {
    if (!step_down(g, kDescentOrder, x, y)) return;
    if (!store(g, x, y)) return;
  }
}

int last_path_entry(Game& g) {
  RulesState& r = g.rules;
  r.walk_index = kPathEntries - 1;
  while (r.walk_index >= 0 && r.path_list[r.walk_index].x == 0) --r.walk_index;
  return r.walk_index;
}

CellPoint path_entry(const Game& g, int index) {
  if (index < 0 || index >= kPathEntries) return CellPoint{0, 0};
  return g.rules.path_list[index];
}
