// The move and the attack on stage 1 that the end-to-end tests of the player's commands play
// through the real program with a scripted pointer.
//
// Stage 1 opens with the computer's army far beyond one move of the player's, so the plan adds
// one enemy tank to its copy of the map, on plain within the range of a cell the player's tank
// can walk to in a straight line. Where that is, is worked out from the map as the program
// shows it after the sortie and from the map file's terrain, so a redrawn stage 1 keeps the
// tests meaningful.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "e2e/screenshot.h"

namespace e2e::stage_one {

namespace fs = std::filesystem;

constexpr int kTank = 9;  // move 12, range 5
constexpr int kTankRange = 5;
constexpr int kEnemyTank = 20;
constexpr int kEnemyTankCode = 51;  // its code in a map file's object layer
constexpr int kPlain = 8;
constexpr int kRoad = 9;
constexpr int kWalkLimit = 6;  // well inside the tank's move of 12

// Title "Start", then "出撃" clicked at the right end of its row, in the map's scroll frame: the
// map that opens under the held button in the same pass neither scrolls nor opens a menu.
// Stage 1 starts in pass 6.
constexpr const char* kStartSortie =
    "0   0   0   0 0\n"
    "2   300 340 1 0   # Start\n"
    "3   300 340 0 0\n"
    "6   630 185 1 0   # 出撃\n"
    "7   630 185 0 0\n";

struct Cell {
  int x = 0;
  int y = 0;
};

inline int distance(Cell a, Cell b) {
  return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

// Away from the scroll frame of the view whose top left cell is (view_x, view_y), so a click
// there is a click on the map.
inline bool inside_frame(Cell c, int view_x, int view_y) {
  const int col = c.x - view_x, row = c.y - view_y;
  return col >= 1 && col <= 18 && row >= 1 && row <= 13;
}

// No unit of either side stands on the cell.
inline bool is_free(const std::vector<Cell>& units, Cell c) {
  for (Cell u : units) {
    if (u.x == c.x && u.y == c.y) return false;
  }
  return true;
}

// The terrain code of every cell of the built stage 1 map, [x][y].
struct Terrain {
  int code[64][64] = {};
};

inline Terrain read_terrain() {
  Terrain t;
  std::ifstream in(fs::path(NEVALT_DATA_DIR) / "map001.fmf", std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 20 + 4096) return t;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) t.code[x][y] = bytes[20 + 64 * y + x];
  }
  return t;
}

// Everything the script needs, found on the opening view of stage 1.
struct Plan {
  int view_x = 0, view_y = 0;
  int tank_slot = -1;
  Cell tank;         // where the player's tank starts
  Cell step;         // one step of its straight walk
  int cells = 0;     // cells of the walk
  Cell destination;  // where the walk ends
  Cell enemy;        // the added enemy tank: in range of the destination, not of the start
  int menu_x0 = 0;   // the command menu opens on the side away from the tank
};

inline std::optional<Plan> find_plan(const nlohmann::json& d, const Terrain& terrain) {
  Plan p;
  p.view_x = d["view_x"];
  p.view_y = d["view_y"];
  std::vector<Cell> units;
  std::vector<Cell> enemies;
  for (const char* side : {"player_units", "enemy_units"}) {
    for (const auto& u : d[side]) {
      if (u["type"] == 0) continue;
      units.push_back(Cell{u["x"], u["y"]});
      if (std::string(side) == "enemy_units") enemies.push_back(units.back());
    }
  }
  for (size_t slot = 0; slot < d["player_units"].size(); ++slot) {
    const auto& u = d["player_units"][slot];
    if (u["type"] == kTank && p.tank_slot < 0) {
      p.tank_slot = static_cast<int>(slot);
      p.tank = Cell{u["x"], u["y"]};
    }
  }
  if (p.tank_slot < 0) return std::nullopt;

  const auto inner = [&](Cell c) { return inside_frame(c, p.view_x, p.view_y); };
  const auto free = [&](Cell c) { return is_free(units, c); };
  // Not next to an enemy, whose neighbours cost a whole move.
  const auto unhindered = [&](Cell c) {
    for (Cell e : enemies) {
      if (distance(c, e) < 2) return false;
    }
    return true;
  };
  const auto cost_one = [&](Cell c) {
    const int t = terrain.code[c.x][c.y];
    return t == kPlain || t == kRoad;
  };

  const Cell steps[] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};
  for (int cells = kWalkLimit; cells >= 2; --cells) {
    for (Cell s : steps) {
      // Cells of cost 1 in a straight line: each lies at its distance from the start, so the
      // traced path is the line itself.
      std::vector<Cell> path;
      for (int j = 1; j <= cells; ++j) path.push_back(Cell{p.tank.x + j * s.x, p.tank.y + j * s.y});
      bool ok = true;
      for (Cell c : path) ok = ok && inner(c) && free(c) && cost_one(c) && unhindered(c);
      if (!ok) continue;
      const Cell dest = path.back();
      for (int y = p.view_y + 1; y <= p.view_y + 13; ++y) {
        for (int x = p.view_x + 1; x <= p.view_x + 18; ++x) {
          const Cell e{x, y};
          if (terrain.code[x][y] != kPlain || !free(e) || distance(e, dest) > kTankRange ||
              distance(e, p.tank) <= kTankRange) {
            continue;
          }
          bool clear = distance(e, p.tank) >= 2;
          for (Cell c : path) clear = clear && distance(e, c) >= 2;
          if (!clear) continue;
          p.step = s;
          p.cells = cells;
          p.destination = dest;
          p.enemy = e;
          p.menu_x0 = p.tank.x - p.view_x < 10 ? 480 : 0;
          return p;
        }
      }
    }
  }
  return std::nullopt;
}

inline std::string line(int pass, int px, int py, bool left, const char* comment = nullptr) {
  std::string s = std::to_string(pass) + " " + std::to_string(px) + " " + std::to_string(py) +
                  (left ? " 1 0" : " 0 0");
  if (comment != nullptr) s += "   # " + std::string(comment);
  return s + "\n";
}

// The pointer on a map cell of the opening view.
inline int px(const Plan& p, Cell c) {
  return 32 * (c.x - p.view_x) + 16;
}
inline int py(const Plan& p, Cell c) {
  return 32 * (c.y - p.view_y) + 16;
}

// Pass numbers of the script below.
constexpr int kSelectPass = 10;  // click on the tank; its menu opens once the button is up
constexpr int kMovePass = 14;    // "移動"; the destination pick opens once the button is up
constexpr int kPickPass = 18;    // click on the destination: the first step is taken at once
constexpr int kAttackPass = 30;  // click on the enemy tank, after the walk has arrived
constexpr int kPause = 31;       // passes of the pause after the attack, counting the click's

inline std::string script_for(const Plan& p) {
  std::string s = kStartSortie;
  s += line(kSelectPass - 1, px(p, p.tank), py(p, p.tank), false, "the tank");
  s += line(kSelectPass, px(p, p.tank), py(p, p.tank), true);
  s += line(kSelectPass + 1, px(p, p.tank), py(p, p.tank), false);
  s += line(kMovePass - 1, p.menu_x0 + 50, 110, false, "移動, row 1 of the command menu");
  s += line(kMovePass, p.menu_x0 + 50, 110, true);
  s += line(kMovePass + 1, p.menu_x0 + 50, 110, false);
  s += line(kPickPass - 1, px(p, p.destination), py(p, p.destination), false, "the destination");
  s += line(kPickPass, px(p, p.destination), py(p, p.destination), true);
  s += line(kPickPass + 1, px(p, p.destination), py(p, p.destination), false);
  s += line(kAttackPass - 1, px(p, p.enemy), py(p, p.enemy), false, "the enemy tank");
  s += line(kAttackPass, px(p, p.enemy), py(p, p.enemy), true);
  s += line(kAttackPass + 1, px(p, p.enemy), py(p, p.enemy), false);
  return s;
}

using e2e::keep_snapshot;
using e2e::Png;

constexpr uint32_t kWhite = 0xffffff;
constexpr uint32_t kRed = 0xff0000;

// The slot of the unit on cell c of the side, or -1.
inline int slot_at(const nlohmann::json& roster, Cell c) {
  for (size_t i = 0; i < roster.size(); ++i) {
    if (roster[i]["type"] != 0 && roster[i]["x"] == c.x && roster[i]["y"] == c.y) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// What a script needs, looked for by `find` on the map of stage 1 just after the sortie, where
// the scripts start from.
template <typename P>
std::optional<P> find_on_opening(std::optional<P> (*find)(const nlohmann::json&, const Terrain&)) {
  RunPlan probe;
  probe.script = kStartSortie;
  probe.ticks = 8;
  const GameRun run = run_game(probe);
  if (run.exit_code != 0 || run.dump.is_null() || run.dump["scene"] != 100) {
    ADD_FAILURE() << "stage 1 did not open on the map: " << run.err;
    return std::nullopt;
  }
  return find(run.dump, read_terrain());
}

// Puts an enemy unit (its map code) on cell c of the copy of stage 1's map.
inline std::function<void(const fs::path&)> add_to_stage_one(Cell c, int code) {
  return [c, code](const fs::path& data) {
    std::fstream f(data / "map001.fmf", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4116 + 64 * c.y + c.x);
    f.put(static_cast<char>(code));
  };
}

class StageOneAttack : public testing::Test {
 protected:
  void SetUp() override {
    const std::optional<Plan> found = find_on_opening(find_plan);
    ASSERT_TRUE(found.has_value()) << "stage 1 has no tank with a straight walk to a cell near "
                                      "a free plain cell of the opening view";
    plan_ = *found;
  }

  // The script of the plan run for `ticks` passes with seed 3, and `args` besides.
  GameRun play(long ticks, const std::vector<std::string>& args = {}) const {
    RunPlan run;
    run.script = script_for(plan_);
    run.ticks = ticks;
    run.args = {"--seed", "3"};
    run.args.insert(run.args.end(), args.begin(), args.end());
    run.prepare = add_to_stage_one(plan_.enemy, kEnemyTankCode);
    return run_game(run);
  }

  Plan plan_;
};

}  // namespace e2e::stage_one
