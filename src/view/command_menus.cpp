#include "view/command_menus.h"

#include "state/game.h"
#include "ui/window.h"
#include "view/panels.h"
#include "world/roster_queries.h"

namespace {

constexpr int kMenuTop = 100;
constexpr int kMenuWidth = 160;
constexpr int kUnitMenuHeight = 160;
constexpr int kHqMenuHeight = 128;
// Production stops offering units once the player fields this many (HQs not counted).
constexpr int kMaxPlayerUnits = 20;

}  // namespace

int command_menu_x(const Game& g) {
  return g.world.selected_unit.x - g.view.view_x < 10 ? 480 : 0;
}

void draw_unit_commands(Game& g) {
  draw_unit_panel(g);
  const MenuRow rows[] = {
      {"移動", g.world.selected_unit.moved == 0},
      {"攻撃", true},
      {"スキル", true},
      {"待機", true},
  };
  draw_row_menu(g, command_menu_x(g), kMenuTop, kMenuWidth, kUnitMenuHeight, rows, 4);
}

void draw_hq_commands(Game& g) {
  draw_unit_panel(g);
  const bool can_produce = count_units(g, kCountPlayerUnits) < kMaxPlayerUnits;
  const MenuRow rows[] = {
      {"攻撃", true},
      {"スキル", can_produce},
      {"待機", true},
  };
  draw_row_menu(g, command_menu_x(g), kMenuTop, kMenuWidth, kHqMenuHeight, rows, 3);
}
