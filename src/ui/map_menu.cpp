#include "ui/map_menu.h"

#include "state/game.h"
#include "ui/window.h"

void draw_map_menu(Game& g) {
  static constexpr MenuRow kRows[] = {{"ユニット一覧", true},
                                      {"ターン終了", true},
                                      {"セーブ", true},
                                      {"勝利条件", true},
                                      {"次のユニット", true}};
  draw_row_menu(g, kMapMenu, kRows, kMapMenuRows);
}

void draw_victory_condition(Game& g) {
  const MenuWindow& w = kVictoryWindow;
  draw_window(g, w.x, w.y, w.width, w.height);
  menu_text_style(g, kMenuFontSize);
  menu_row_text_out(g, kVictoryTitleAt, "〈勝利条件〉", true);
  menu_row_text_out(g, kVictoryTextAt, "敵の司令部を全て占領する。", true);
}
