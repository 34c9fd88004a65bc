// compute_reach on a whole 64 x 64 map of mixed terrain, next to the plain depth-first
// relaxation it replaces.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "rules/reach.h"
#include "rules/reach_reference.h"
#include "rules/rules_fixture.h"

namespace {

constexpr int kMoverX = 32;
constexpr int kMoverY = 32;

// Mostly open ground (plain, road, bushes, forest, sand, mountain, buildings, positions) with
// some water, sea and rock, a dozen units of each side, and a player tank in the middle.
std::unique_ptr<Game> mixed_map() {
  auto g = fixture::make_game();
  std::mt19937 rng(7);
  const int codes[] = {8, 8, 8, 8, 9, 9, 6, 6, 5, 5, 7, 4, 11, 10, 3, 1, 2};
  for (int x = 1; x < kMapSize - 1; ++x) {
    for (int y = 1; y < kMapSize - 1; ++y) fixture::paint(*g, x, y, codes[rng() % 17]);
  }
  for (int slot = 1; slot <= 12; ++slot) {
    fixture::place(*g, kSidePlayer, slot, 2 + static_cast<int>(rng() % 10),
                   1 + static_cast<int>(rng() % 62), 1 + static_cast<int>(rng() % 62));
    fixture::place(*g, kSideEnemy, slot, 13 + static_cast<int>(rng() % 10),
                   1 + static_cast<int>(rng() % 62), 1 + static_cast<int>(rng() % 62));
  }
  fixture::place(*g, kSidePlayer, 0, 9, kMoverX, kMoverY);
  fixture::paint(*g, kMoverX, kMoverY, fixture::kPlain);
  build_move_cost(*g, 12, kMoveClassGround, kRingEnemyUnits);
  return g;
}

void BM_ComputeReach(benchmark::State& state) {
  auto g = mixed_map();
  for (auto _ : state) {
    compute_reach(*g, kMoverX, kMoverY);
    benchmark::DoNotOptimize(g->rules.reach[1][1]);
  }
}
BENCHMARK(BM_ComputeReach)->Unit(benchmark::kMicrosecond);

void BM_ComputeReachDepthFirst(benchmark::State& state) {
  auto g = mixed_map();
  for (auto _ : state) {
    reference::compute_reach(*g, kMoverX, kMoverY);
    benchmark::DoNotOptimize(g->rules.reach[1][1]);
  }
}
BENCHMARK(BM_ComputeReachDepthFirst)->Unit(benchmark::kMillisecond);

void BM_BuildMoveCostAndReach(benchmark::State& state) {
  auto g = mixed_map();
  for (auto _ : state) {
    build_move_cost(*g, 12, kMoveClassGround, kRingEnemyUnits);
    compute_reach(*g, kMoverX, kMoverY);
    benchmark::DoNotOptimize(g->rules.reach[1][1]);
  }
}
BENCHMARK(BM_BuildMoveCostAndReach)->Unit(benchmark::kMicrosecond);

}  // namespace
