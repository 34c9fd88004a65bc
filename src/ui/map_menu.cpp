#include "ui/map_menu.h"

#include "state/game.h"
#include "ui/window.h"

void draw_map_menu(Game& g) {
  static constexpr MenuRow kRows[] = {{"ユニット一覧", true},
                                      {"ターン終了", true},
                                      {"セーブ", true},
                                      {"勝利条件", true},
                                      {"次のユニット", true}};
  draw_row_menu(g, 384, 100, 256, 192, kRows, 5);
}

void draw_victory_condition(Game& g) {
  draw_window(g, 0, 100, 640, 192);
  menu_text_style(g, kMenuFontSize);
  menu_row_text_out(g, Point{16, 116}, "〈勝利条件〉", true);
  menu_row_text_out(g, Point{16, 148}, "敵の司令部を全て占領する。", true);
}
