#include "view/command_menus.h"

#include "state/game.h"
#include "ui/menu_layout.h"
#include "ui/window.h"
#include "view/panels.h"
#include "world/roster_queries.h"
#include "world/text.h"

namespace {

// Production stops offering units once the player fields this many (HQs not counted).
constexpr int kMaxPlayerUnits = 20;

}  // namespace

int command_menu_x(const Game& g) {
  return command_menu_left(g.world.selected_unit.x, g.view.view_x);
}

void draw_unit_commands(Game& g) {
  draw_unit_panel(g);
  const MenuRow rows[] = {
      {N_("移動"), g.world.selected_unit.moved == 0},
      {N_("攻撃"), true},
      {N_("スキル"), true},
      {N_("待機"), true},
  };
  draw_row_menu(g, MenuWindow{command_menu_x(g), kCommandMenuY, kCommandMenuWidth, kUnitMenuHeight},
                rows, kUnitMenuRows);
}

void draw_hq_commands(Game& g) {
  draw_unit_panel(g);
  const bool can_produce = count_units(g, kCountPlayerUnits) < kMaxPlayerUnits;
  const MenuRow rows[] = {
      {N_("攻撃"), true},
      {N_("スキル"), can_produce},
      {N_("待機"), true},
  };
  draw_row_menu(g, MenuWindow{command_menu_x(g), kCommandMenuY, kCommandMenuWidth, kHqMenuHeight},
                rows, kHqMenuRows);
}
