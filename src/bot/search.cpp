#include "bot/search.h"

#include <algorithm>

#include "bot/cells.h"

using bot_cells::inside_map;
using bot_cells::kDx;
using bot_cells::kDy;
using bot_cells::kImpassable;
using bot_cells::terrain_cost;

namespace {

// Water ends a ground unit's move: as a distance it counts like several plain steps.
constexpr int32_t kWaterStep = 6;

}  // namespace

void SearchHeap::push(int32_t cost, int x, int y) {
  if (n_ >= kCapacity) return;
  int i = n_++;
  const Entry item{cost, static_cast<int16_t>(x), static_cast<int16_t>(y)};
  while (i > 0) {
    const int parent = (i - 1) / 2;
    if (e_[parent].cost <= cost) break;
    e_[i] = e_[parent];
    i = parent;
  }
  e_[i] = item;
}

void SearchHeap::pop(int32_t* cost, int* x, int* y) {
  const Entry top = e_[0];
  const Entry last = e_[--n_];
  int i = 0;
  while (true) {
    int child = 2 * i + 1;
    if (child >= n_) break;
    if (child + 1 < n_ && e_[child + 1].cost < e_[child].cost) ++child;
    if (e_[child].cost >= last.cost) break;
    e_[i] = e_[child];
    i = child;
  }
  if (n_ > 0) e_[i] = last;
  *cost = top.cost;
  *x = top.x;
  *y = top.y;
}

void terrain_distance(const Game& g, const CellPoint* goals, int count, bool air, CellGrid& out,
                      SearchHeap& heap) {
  for (auto& column : out) std::fill(std::begin(column), std::end(column), kUnreached);
  heap.clear();
  for (int i = 0; i < count; ++i) {
    const int x = goals[i].x;
    const int y = goals[i].y;
    if (!inside_map(x, y) || out[x][y] == 0) continue;
    out[x][y] = 0;
    heap.push(0, x, y);
  }
  while (!heap.empty()) {
    int32_t cost = 0;
    int x = 0;
    int y = 0;
    heap.pop(&cost, &x, &y);
    if (cost > out[x][y]) continue;
    // The walk runs from the neighbour into this cell, so this cell's cost is paid.
    int32_t step = terrain_cost(g, x, y, air, kWaterStep);
    if (step >= kImpassable && cost > 0) continue;
    if (step >= kImpassable || step < 1) step = 1;
    for (int d = 0; d < 4; ++d) {
      const int nx = x + kDx[d];
      const int ny = y + kDy[d];
      if (!inside_map(nx, ny)) continue;
      if (terrain_cost(g, nx, ny, air, kWaterStep) >= kImpassable) continue;
      const int32_t next = cost + step;
      if (next < out[nx][ny]) {
        out[nx][ny] = next;
        heap.push(next, nx, ny);
      }
    }
  }
}
