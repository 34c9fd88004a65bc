#include "game/assist_keys.h"

#include "game/audio.h"
#include "state/game.h"
#include "state/scene.h"
#include "view/map_view.h"
#include "world/unit_kinds.h"

namespace {

bool pressed(const Game& g, uint16_t key) {
  return (g.input.keys_pressed & key) != 0;
}

bool held(const Game& g, uint16_t key) {
  return (g.input.keys_held & key) != 0;
}

// The scenes that scroll the view with the pointer in the border: the map and the two choices
// made on it.
bool scrolls(int scene) {
  return scene == kSceneMap || scene == kSceneMoveTarget || scene == kSceneAttackTarget;
}

// A press moves the view one cell at once; a key held on moves it every third pass, the pace of
// the border.
void scroll_with_arrows(Game& g) {
  static constexpr struct {
    uint16_t key;
    int dx, dy;
  } kArrows[] = {{kKeyLeft, -1, 0}, {kKeyRight, 1, 0}, {kKeyUp, 0, -1}, {kKeyDown, 0, 1}};
  for (const auto& a : kArrows) {
    const bool step = pressed(g, a.key) || (held(g, a.key) && g.flow.anim_scroll == 0);
    if (!step) continue;
    g.view.view_x += a.dx;
    g.view.view_y += a.dy;
  }
  clamp_view(g);
}

// The scenes in which a unit is taken up and nothing is done with it yet.
bool picks_units(int scene) {
  return scene == kSceneMap || scene == kSceneHqMenu || scene == kSceneUnitMenu;
}

// The next player unit after the last one taken up that can still act, in slot order round the
// roster; -1 when none can.
int next_ready_unit(const Game& g) {
  const int scene = g.flow.scene;
  int from = g.assist.tab_slot;
  // In a command menu the unit in it is the one to go on from.
  if (scene != kSceneMap) from = g.world.selected_slot;
  if (from < 0 || from >= kRosterSlots) from = -1;
  for (int k = 1; k <= kRosterSlots; ++k) {
    const int slot = (from + k + kRosterSlots) % kRosterSlots;
    const TUnit& u = g.world.player_units[slot];
    if (is_player_type(u.type) && u.ready == 1 && (u.x != 0 || u.y != 0)) return slot;
  }
  return -1;
}

// As a click on the unit does: the view comes to it, it is selected and its command menu opens.
void take_up_next_unit(Game& g) {
  const int slot = next_ready_unit(g);
  if (slot < 0) return;
  WorldState& w = g.world;
  const TUnit& unit = w.player_units[slot];
  g.view.view_x = unit.x - 10;
  g.view.view_y = unit.y - 8;
  clamp_view(g);
  w.selected_spec = w.unit_specs[unit.type];
  w.selected_unit = unit;
  w.selected_slot = slot;
  g.assist.tab_slot = slot;
  play_sound(g, Sound::kConfirm);
  g.flow.scene = unit.type == kPlayerHq ? kSceneHqMenu : kSceneUnitMenuGate;
}

}  // namespace

void assist_keys(Game& g) {
  if (!g.flow.assist) return;
  AssistState& a = g.assist;
  if (pressed(g, kKeyT)) a.threat_shown = !a.threat_shown;
  if (pressed(g, kKeyM)) a.muted = !a.muted;
  if (pressed(g, kKeyF11)) a.fullscreen = !a.fullscreen;
  a.hurry = held(g, kKeySpace);
  if (scrolls(g.flow.scene)) scroll_with_arrows(g);
  if (pressed(g, kKeyTab) && picks_units(g.flow.scene)) take_up_next_unit(g);
}

int enemy_speed_now(const Game& g, int chosen) {
  return g.flow.assist && g.assist.hurry ? kHurriedEnemySpeed : chosen;
}
