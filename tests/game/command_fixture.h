// A small battle for the command scenes: a plain map, units placed by hand, the selection made
// as the map makes it when a unit is clicked, and passes that run only the command blocks, so
// the scenes around them (the map, the gates to it, the computer's turn) stay where they are
// sent and can be looked at.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/game_tick.h"
#include "game/scenes.h"
#include "rules/rules_fixture.h"
#include "state/game.h"
#include "support/fake_host.h"
#include "world/vision.h"

namespace command_test {

inline bool is_command_block(int code) {
  for (int c : {110, 160, 300, 310, 320, 330, 340, 360, 370, 371, 372, 373, 401}) {
    if (c == code) return true;
  }
  return false;
}

// The blocks of the real pass that belong to the player's commands, in the pass's order.
inline const std::vector<SceneBlock>& command_blocks() {
  static const std::vector<SceneBlock> blocks = [] {
    std::vector<SceneBlock> b;
    for (int i = 0; i < kSceneBlockCount; ++i) {
      if (is_command_block(kSceneBlocks[i].code)) b.push_back(kSceneBlocks[i]);
    }
    return b;
  }();
  return blocks;
}

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g = fixture::make_game();
    build_sight_stencils(*g);
    g->form.host = &host;
    host.audio.clear();
    g->rules.last_target = kNone;
    g->world.selected_slot = -1;
  }

  Game& game() { return *g; }
  TUnit& player(int slot) { return g->world.player_units[slot]; }
  TUnit& enemy(int slot) { return g->world.enemy_units[slot]; }

  TUnit& place_player(int slot, int type, int x, int y) {
    return fixture::place(*g, kSidePlayer, slot, type, x, y);
  }
  TUnit& place_enemy(int slot, int type, int x, int y) {
    return fixture::place(*g, kSideEnemy, slot, type, x, y);
  }

  // What the map does when the player clicks a unit: copies of its record and its type's row.
  void select(int slot) {
    g->world.selected_slot = slot;
    g->world.selected_unit = player(slot);
    g->world.selected_spec = g->world.unit_specs[player(slot).type];
  }

  // Pointer on the pixel centre of map cell (x, y) at the current view.
  void point_at_cell(int x, int y) {
    g->input.cursor_x = 32 * (x - g->view.view_x) + 16;
    g->input.cursor_y = 32 * (y - g->view.view_y) + 16;
  }
  void point(int px, int py) {
    g->input.cursor_x = px;
    g->input.cursor_y = py;
  }
  void buttons(bool left, bool right) {
    g->input.left_down = left ? 1 : 0;
    g->input.right_down = right ? 1 : 0;
  }

  // One pass over the command blocks (caption, counters and Escape as in the real pass).
  void pass() {
    const std::vector<SceneBlock>& b = command_blocks();
    run_pass(*g, b.data(), static_cast<int>(b.size()));
  }
  // Starts in `scene` and runs one pass.
  void pass_in(int scene) {
    g->flow.scene = scene;
    pass();
  }
  // Forgets what was heard so far.
  void quiet() { host.audio.clear(); }

  FakeHost host;
  std::unique_ptr<Game> g;
};

using Sounds = std::vector<std::string>;

}  // namespace command_test
