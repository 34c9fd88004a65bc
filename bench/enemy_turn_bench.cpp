// The longest single pass of a computer turn on a crowded map where every computer unit is
// healthy and advances: the strategy, the reach and the walk all run inside one pass, which must
// stay well inside the 30 ms tick. The reported time of an iteration is its longest pass.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "game/game_tick.h"
#include "opponent/opponent_fixture.h"
#include "state/game.h"
#include "ui/surface.h"
#include "world/roster.h"
#include "world/tables.h"

namespace {

constexpr int kMixedLand[] = {8, 8, 8, 8, 9, 9, 6, 6, 5, 5, 7, 4, 11, 10};

// 3 computer HQs with a full purse and 54 computer units on the west half, 2 player HQs and 55
// player units on the east half, on mixed land with some water.
std::unique_ptr<Game> crowded_field(unsigned seed, bool pictures) {
  auto g = opponent_test::make_game();
  Random rnd;
  rnd.seed(seed);
  const auto pick = [&](int lo, int hi) { return lo + rnd.next() % (hi - lo + 1); };
  for (int x = 1; x < kMapSize - 1; ++x) {
    for (int y = 1; y < kMapSize - 1; ++y) {
      int code = kMixedLand[pick(0, static_cast<int>(std::size(kMixedLand)) - 1)];
      if (pick(0, 19) == 0) code = 3;
      opponent_test::paint(*g, x, y, code);
    }
  }
  if (pictures) {
    TForm1& form = g->form;
    create_picture(form.img_main, kScreenWidth, kScreenHeight);
    create_picture(form.img_unit, kScreenWidth, kScreenHeight + 1);
    create_picture(form.img_tile, 512, 512);
    load_sprite_sheet(form.ImageList1);
  }
  const auto place_on_free = [&](int side, int type, int x_lo, int x_hi) {
    int x = 0;
    int y = 0;
    do {
      x = pick(x_lo, x_hi);
      y = pick(2, 61);
    } while (g->world.occupancy[x][y] != kNoUnit || terrain_at(*g, x, y) < 4);
    return add_unit(*g, x, y, type, side, default_hp);
  };
  for (int h = 0; h < 3; ++h) {
    const int32_t slot = place_on_free(kSideEnemy, kEnemyHq, 3, 10);
    g->world.enemy_units[slot].sp = 100;
  }
  for (int h = 0; h < 2; ++h) place_on_free(kSidePlayer, kPlayerHq, 54, 60);
  for (int n = 0; n < 54; ++n) place_on_free(kSideEnemy, pick(13, 22), 2, 28);
  for (int n = 0; n < 55; ++n) place_on_free(kSidePlayer, pick(2, 11), 36, 61);
  return g;
}

void free_pictures(Game& g) {
  free_picture(g.form.img_main);
  free_picture(g.form.img_unit);
  free_picture(g.form.img_tile);
  free_sprite_sheet(g.form.ImageList1);
}

void run_enemy_turn(benchmark::State& state, bool pictures) {
  using Clock = std::chrono::steady_clock;
  unsigned seed = 1;
  double longest_ever = 0;
  long passes = 0;
  for (auto _ : state) {
    auto g = crowded_field(seed++, pictures);
    g->flow.scene = 5031;
    double longest = 0;
    while (g->flow.scene != 6000 && g->flow.scene != 5070) {
      const auto start = Clock::now();
      game_tick(*g);
      const std::chrono::duration<double> took = Clock::now() - start;
      longest = std::max(longest, took.count());
      ++passes;
    }
    state.SetIterationTime(longest);
    longest_ever = std::max(longest_ever, longest);
    if (pictures) free_pictures(*g);
  }
  state.counters["longest_pass_ms"] = longest_ever * 1e3;
  state.counters["passes_per_turn"] =
      benchmark::Counter(static_cast<double>(passes) / static_cast<double>(state.iterations()));
}

void BM_EnemyTurnLongestPass(benchmark::State& state) {
  run_enemy_turn(state, false);
}
BENCHMARK(BM_EnemyTurnLongestPass)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_EnemyTurnLongestPassDrawn(benchmark::State& state) {
  run_enemy_turn(state, true);
}
BENCHMARK(BM_EnemyTurnLongestPassDrawn)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
