// The longest pass of each group of scenes, whole, as game_tick runs it: the screens between
// stages (the title's pictures, the menus, a stage start that loads its map), the map and its
// menus, the unit list with all 40 rows written. Each pass must stay far inside its 30 ms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "game/campaign.h"
#include "game/game_tick.h"
#include "game/scenes.h"
#include "platform/frame_gate.h"
#include "platform/silent_media_player.h"
#include "rules/combat.h"
#include "rules/reach.h"
#include "rules/threat.h"
#include "state/game.h"
#include "state/host.h"
#include "ui/screens.h"
#include "ui/surface.h"
#include "ui/window.h"
#include "view/command_menus.h"
#include "view/map_view.h"
#include "world/roster.h"
#include "world/roster_queries.h"
#include "world/tables.h"
#include "world/text.h"

namespace {

// Answers like the headless host and plays nothing.
class BenchHost : public Host {
 public:
  PointerSample pointer;
  void set_caption(const char*) override {}
  void close_main_form() override {}
  bool escape_down() override { return false; }
  void message_box(const char*, const char*) override {}
  MediaPlayer& music_player() override { return music_; }
  MediaPlayer& sound_player() override { return sound_; }
  PointerSample sample_pointer() override { return pointer; }
  long pass_number() const override { return 0; }

 private:
  SilentMediaPlayer music_;
  SilentMediaPlayer sound_;
};

// The game with its pictures, fonts and sprites, on stage `stage` (0 to 9), in the data folder.
struct Session {
  explicit Session(int stage = 0) {
    if (chdir(NEVALT_DATA_DIR) != 0) return;
    g = std::make_unique<Game>();
    form_create(*g, 1);
    g->form.host = &host;
    std::string error;
    g->form.fonts = open_fonts(&error);
    load_sprite_sheet(g->form.ImageList1);
    load_form_picture(*g, g->form.img_tile, "TileA.bmp");
    load_form_picture(*g, g->form.img_window, "Window.bmp");
    load_form_picture(*g, g->form.img_main, "BG1.bmp");
    g->flow.stage_no = stage;
    g->flow.max_stage = 9;
    stage_setup(*g);
  }
  ~Session() {
    free_picture(g->form.img_main);
    free_picture(g->form.img_window);
    free_picture(g->form.img_tile);
    free_sprite_sheet(g->form.ImageList1);
    close_fonts(g->form.fonts);
  }
  void point(int x, int y, bool left = false, bool right = false) {
    g->input.cursor_x = x;
    g->input.cursor_y = y;
    g->input.mouse_x = x;
    g->input.mouse_y = y;
    g->input.left_down = left;
    g->input.right_down = right;
  }
  // One whole pass that starts in `scene`.
  void pass(int scene) {
    g->flow.scene = scene;
    game_tick(*g);
  }
  BenchHost host;
  std::unique_ptr<Game> g;
};

// The first pass of the title loads its three pictures from the disk and starts the music.
void BM_PassTitleLoad(benchmark::State& state) {
  Session s;
  s.point(0, 0);
  for (auto _ : state) s.pass(0);
}
BENCHMARK(BM_PassTitleLoad)->Unit(benchmark::kMicrosecond);

void BM_PassTitleMenu(benchmark::State& state) {
  Session s;
  s.pass(0);
  s.point(300, 340);
  for (auto _ : state) s.pass(10);
}
BENCHMARK(BM_PassTitleMenu)->Unit(benchmark::kMicrosecond);

void BM_PassIntermission(benchmark::State& state) {
  Session s;
  load_form_picture(*s.g, s.g->form.img_main, "BG1.bmp");
  s.point(500, 185);
  for (auto _ : state) s.pass(11);
}
BENCHMARK(BM_PassIntermission)->Unit(benchmark::kMicrosecond);

// All ten stages listed, the pointer on the last.
void BM_PassStageSelect(benchmark::State& state) {
  Session s;
  s.point(100, 330);
  for (auto _ : state) s.pass(13);
}
BENCHMARK(BM_PassStageSelect)->Unit(benchmark::kMicrosecond);

// "出撃": the stage's map is read and every unit placed, one redraw each, then the first frame.
void BM_PassStageStart(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  s.point(630, 185);
  for (auto _ : state) s.pass(20);
  state.SetLabel("stage " + std::to_string(state.range(0) + 1));
}
BENCHMARK(BM_PassStageStart)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

// The map with the unit panel of the unit under the pointer.
void BM_PassMap(benchmark::State& state) {
  Session s;
  const TUnit& first = s.g->world.player_units[0];
  s.point(32 * (first.x - s.g->view.view_x) + 16, 32 * (first.y - s.g->view.view_y) + 16);
  for (auto _ : state) s.pass(100);
}
BENCHMARK(BM_PassMap)->Unit(benchmark::kMicrosecond);

// The same pass followed by what the window does after it when nothing moves: the test of the
// picture against the one it shows, which finds them equal and so has to read both whole.
void BM_PassMapUnchangedInWindow(benchmark::State& state) {
  Session s;
  const TUnit& first = s.g->world.player_units[0];
  s.point(32 * (first.x - s.g->view.view_x) + 16, 32 * (first.y - s.g->view.view_y) + 16);
  FrameGate shown(kScreenWidth, kScreenHeight, 4);
  s.pass(100);
  shown.changed(s.g->form.img_main);
  for (auto _ : state) {
    s.pass(100);
    if (shown.changed(s.g->form.img_main)) {
      state.SkipWithError("the idle map changed");
      break;
    }
  }
}
BENCHMARK(BM_PassMapUnchangedInWindow)->Unit(benchmark::kMicrosecond);

void BM_PassMapMenu(benchmark::State& state) {
  Session s;
  s.point(500, 180);
  for (auto _ : state) s.pass(390);
}
BENCHMARK(BM_PassMapMenu)->Unit(benchmark::kMicrosecond);

// The unit list with every one of its 40 rows holding a unit; with --lang en (argument 1) its
// 80 names and models, its rows' format and the status panel's three texts are looked up in the
// catalogue on every pass.
void BM_PassUnitList40Rows(benchmark::State& state) {
  Session s;
  std::string error;
  if (state.range(0) == 1 && !use_language(*s.g, NEVALT_DATA_DIR, "en", &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (int x = 2; x < 62 && s.g->world.player_units[39].type == 0; x += 2) {
    for (int y = 2; y < 62 && s.g->world.player_units[39].type == 0; y += 3) {
      if (s.g->world.occupancy[x][y] == kNoUnit) add_unit(*s.g, x, y, 4, kSidePlayer, default_hp);
    }
  }
  s.point(100, 125);
  for (auto _ : state) s.pass(410);
  int rows = 0;
  for (int slot = 0; slot < 40; ++slot) rows += s.g->world.player_units[slot].type != 0;
  state.SetLabel(std::to_string(rows) + " rows");
}
BENCHMARK(BM_PassUnitList40Rows)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Runs the pass that starts from a prepared moment again and again, the moment restored before
// each run (the copy does not count).
void replay_pass(benchmark::State& state, Session& s) {
  auto moment = std::make_unique<Game>(*s.g);
  for (auto _ : state) {
    state.PauseTiming();
    *s.g = *moment;
    state.ResumeTiming();
    game_tick(*s.g);
  }
}

// The pointer on the player's first unit that is not an HQ, selected as the map does it.
bool select_first_soldier(Session& s) {
  for (const TUnit& u : s.g->world.player_units) {
    if (u.type < 2 || u.type > 11) continue;
    s.g->view.view_x = u.x - 10;
    s.g->view.view_y = u.y - 8;
    clamp_view(*s.g);
    s.point(32 * (u.x - s.g->view.view_x) + 16, 32 * (u.y - s.g->view.view_y) + 16);
    select_at_pointer(*s.g);
    return true;
  }
  return false;
}

// "移動" chosen in a unit's menu: the movement costs and the reach over the whole map.
void BM_PassMoveCommand(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  if (!select_first_soldier(s)) return state.SkipWithError("no soldier on this map");
  const Rect row = menu_row_band(command_menu_x(*s.g), 100, 160, 1);
  s.point(row.left + 20, row.top + 20, true);
  s.g->flow.scene = 310;
  replay_pass(state, s);
  if (s.g->flow.scene != 320) state.SkipWithError("the move command was not taken");
}
BENCHMARK(BM_PassMoveCommand)->Arg(0)->Arg(9)->Unit(benchmark::kMicrosecond);

// A walk: one step, and the arrival with its target list.
void BM_PassWalk(benchmark::State& state) {
  Session s(9);
  if (!select_first_soldier(s)) return state.SkipWithError("no soldier on this map");
  const Rect row = menu_row_band(command_menu_x(*s.g), 100, 160, 1);
  s.point(row.left + 20, row.top + 20, true);
  s.pass(310);
  // The farthest reachable cell in view.
  const Game& g = *s.g;
  int best = -1, bx = 0, by = 0;
  for (int j = 1; j < 14; ++j) {
    for (int i = 1; i < 19; ++i) {
      const int x = g.view.view_x + i, y = g.view.view_y + j;
      const int r = g.rules.reach[x][y];
      if (r <= g.world.selected_spec.move && r > best) best = r, bx = i, by = j;
    }
  }
  if (best < 0) return state.SkipWithError("nowhere to walk");
  s.point(32 * bx + 16, 32 * by + 16, true);
  s.pass(360);
  if (s.g->flow.scene != 370) return state.SkipWithError("the walk did not start");
  if (state.range(0) == 0) {
    s.g->rules.walk_index = s.g->rules.walk_index > 0 ? s.g->rules.walk_index : 1;
  } else {
    s.g->rules.walk_index = 0;
  }
  s.g->flow.scene = 370;
  replay_pass(state, s);
  state.SetLabel(state.range(0) == 0 ? "a step" : "the arrival");
}
BENCHMARK(BM_PassWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Fills the land of the map, every third cell of every second row, with computer units (two of
// every three, until computer slot `last_enemy_slot` is taken) and the player's (until they
// number 39), of every kind in turn.
void crowd(Game& g, int last_enemy_slot) {
  int n = 0;
  for (int y = 2; y < kMapSize - 2; y += 2) {
    for (int x = 2 + (y / 2) % 2; x < kMapSize - 2; x += 3) {
      const int t = terrain_at(g, x, y);
      if (t < 4 || t > 11 || g.world.occupancy[x][y] != kNoUnit) continue;
      const bool enemy = (n++ % 3) != 0;
      if (enemy) {
        if (g.world.enemy_units[last_enemy_slot].type == 0) {
          add_unit(g, x, y, 13 + n % 10, kSideEnemy, 900);
        }
      } else if (count_units(g, kCountPlayerUnits) < 39) {
        add_unit(g, x, y, 2 + n % 9, kSidePlayer, default_hp);
      }
    }
  }
}

// The computer's turn on a crowded map: 56 computer slots (room for what its HQs buy) and 40 of
// the player's filled, spread over the land of the last stage. The pass that ends a unit's pause
// runs the production phase, the choice of the next unit with its strategy (reach and path over
// the whole map) and its first step, each with a redraw.
void BM_PassComputerUnitCrowded(benchmark::State& state) {
  Session s(9);
  Game& g = *s.g;
  crowd(g, 55);
  for (TUnit& hq : g.world.enemy_units) {
    if (hq.type == kEnemyHq) hq.sp = 100;
  }
  refresh_side(g, kSideEnemy);
  g.flow.scene = 5031;
  g.flow.wait_ticks = 0;
  const auto placed = [](const TUnit* roster) {
    int n = 0;
    for (int slot = 0; slot < kRosterSlots; ++slot) n += roster[slot].type != 0;
    return n;
  };
  const int enemies = placed(g.world.enemy_units);
  const int players = placed(g.world.player_units);
  replay_pass(state, s);
  state.SetLabel(std::to_string(enemies) + " computer units (" +
                 std::to_string(placed(s.g->world.enemy_units)) + " after), " +
                 std::to_string(players) + " player units, ends in scene " +
                 std::to_string(s.g->flow.scene));
}
BENCHMARK(BM_PassComputerUnitCrowded)->Unit(benchmark::kMicrosecond);

// Assisted play on the last stage's land crowded with all 60 of the computer's slots and 40 of
// the player's, spread so that the player's sight covers most of the map: the threat overlay on
// and worked out for the board as it stands (the passes below change nothing on it, so none
// works it out again), and the pointer where each scene shows its card or its path.
struct CrowdedAssisted {
  Session s{9};
  int seen = 0;  // computer units in the player's sight
  CrowdedAssisted() {
    Game& g = *s.g;
    g.flow.assist = true;
    crowd(g, kRosterSlots - 1);
    refresh_side(g, kSidePlayer);
    redraw(g);
    for (const TUnit& u : g.world.enemy_units) {
      seen += u.type != 0 && g.world.vision[kSidePlayer][u.x][u.y] == 1;
    }
    g.input.keys_pressed = kKeyT;  // the overlay on, worked out in this pass
    s.pass(100);
  }
  int computer_units() const {
    int n = 0;
    for (const TUnit& u : s.g->world.enemy_units) n += u.type != 0;
    return n;
  }
  std::string label() const {
    return std::to_string(computer_units()) + " computer units, " + std::to_string(seen) +
           " seen, threat over " + std::to_string(s.g->assist.threat.cell_count) + " cells";
  }
};

// The map with the threat overlay and the unit card of the unit under the pointer.
void BM_PassAssistedMapCrowded(benchmark::State& state) {
  CrowdedAssisted c;
  if (!select_first_soldier(c.s)) return state.SkipWithError("no soldier on this map");
  c.s.g->flow.scene = 100;
  replay_pass(state, c.s);
  if (!c.s.g->assist.threat_valid) state.SkipWithError("the threat was not worked out");
  state.SetLabel(c.label());
}
BENCHMARK(BM_PassAssistedMapCrowded)->Unit(benchmark::kMicrosecond);

// The pass right after the board changed: the threat of every seen computer unit is worked out
// again before the map is drawn.
void BM_PassAssistedMapBoardChanged(benchmark::State& state) {
  CrowdedAssisted c;
  if (!select_first_soldier(c.s)) return state.SkipWithError("no soldier on this map");
  c.s.g->flow.scene = 100;
  c.s.g->assist.threat_valid = false;
  replay_pass(state, c.s);
  state.SetLabel(c.label());
}
BENCHMARK(BM_PassAssistedMapBoardChanged)->Unit(benchmark::kMicrosecond);

// The destination choice with the threat overlay and the way to the farthest reachable cell in
// view.
void BM_PassAssistedMoveTargetCrowded(benchmark::State& state) {
  CrowdedAssisted c;
  Game& g = *c.s.g;
  if (!select_first_soldier(c.s)) return state.SkipWithError("no soldier on this map");
  const TUnitSpec& stats = g.world.selected_spec;
  build_move_cost(g, stats.move, move_class_of(stats), kRingEnemyUnits);
  compute_reach(g, g.world.selected_unit.x, g.world.selected_unit.y);
  int best = -1, bx = 0, by = 0;
  for (int j = 1; j < 14; ++j) {
    for (int i = 1; i < 19; ++i) {
      const int r = g.rules.reach[g.view.view_x + i][g.view.view_y + j];
      if (r <= stats.move && r > best) best = r, bx = i, by = j;
    }
  }
  if (best < 0) return state.SkipWithError("nowhere to walk");
  c.s.point(32 * bx + 16, 32 * by + 16);
  g.flow.scene = 360;
  replay_pass(state, c.s);
  if (!c.s.g->assist.path.shown) state.SkipWithError("no path was shown");
  state.SetLabel(c.label() + ", a way of " + std::to_string(c.s.g->assist.path.cells) + " cells");
}
BENCHMARK(BM_PassAssistedMoveTargetCrowded)->Unit(benchmark::kMicrosecond);

// The target choice with the threat overlay and the forecast card of a seen enemy in range.
void BM_PassAssistedTargetChoiceCrowded(benchmark::State& state) {
  CrowdedAssisted c;
  Game& g = *c.s.g;
  for (int slot = 0; slot < kRosterSlots; ++slot) {
    const TUnit& u = g.world.player_units[slot];
    if (u.type < 2 || u.type > 11) continue;
    list_player_targets(g, u.x, u.y, slot, g.world.unit_specs[u.type].range);
    const TPair& nearest = g.rules.pair_list[0];
    if (nearest.e_slot == kNone || g.world.vision[kSidePlayer][nearest.e_x][nearest.e_y] != 1) {
      continue;
    }
    g.world.selected_slot = slot;
    g.world.selected_unit = u;
    g.world.selected_spec = g.world.unit_specs[u.type];
    g.view.view_x = nearest.e_x - 10;
    g.view.view_y = nearest.e_y - 8;
    clamp_view(g);
    c.s.point(32 * (nearest.e_x - g.view.view_x) + 16, 32 * (nearest.e_y - g.view.view_y) + 16);
    g.flow.scene = 371;
    replay_pass(state, c.s);
    if (!c.s.g->assist.forecast.shown) state.SkipWithError("no forecast was shown");
    state.SetLabel(c.label());
    return;
  }
  state.SkipWithError("no player unit has a seen enemy in range");
}
BENCHMARK(BM_PassAssistedTargetChoiceCrowded)->Unit(benchmark::kMicrosecond);

// The threat map alone, as a change of the board works it out.
void BM_ThreatMapCrowded(benchmark::State& state) {
  CrowdedAssisted c;
  auto threat = std::make_unique<ThreatMap>();
  for (auto _ : state) fill_threat_map(*c.s.g, *threat);
  state.SetLabel(c.label());
}
BENCHMARK(BM_ThreatMapCrowded)->Unit(benchmark::kMicrosecond);

void BM_PassVictoryCondition(benchmark::State& state) {
  Session s;
  s.point(320, 240);
  for (auto _ : state) s.pass(420);
}
BENCHMARK(BM_PassVictoryCondition)->Unit(benchmark::kMicrosecond);

}  // namespace
