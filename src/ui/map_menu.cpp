#include "ui/map_menu.h"

#include "state/game.h"
#include "ui/window.h"
#include "world/text.h"

void draw_map_menu(Game& g) {
  static constexpr MenuRow kRows[] = {{N_("ユニット一覧"), true},
                                      {N_("ターン終了"), true},
                                      {N_("セーブ"), true},
                                      {N_("勝利条件"), true},
                                      {N_("次のユニット"), true}};
  draw_row_menu(g, kMapMenu, kRows, kMapMenuRows);
}

void draw_victory_condition(Game& g) {
  const MenuWindow& w = kVictoryWindow;
  draw_window(g, w.x, w.y, w.width, w.height);
  menu_text_style(g, kMenuFontSize);
  menu_row_text_out(g, kVictoryTitleAt, tr(g, "〈勝利条件〉"), true);
  menu_row_text_out(g, kVictoryTextAt, tr(g, "敵の司令部を全て占領する。"), true);
}
