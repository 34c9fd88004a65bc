// The map menu of the player's turn and the window with the victory condition.
#pragma once

struct Game;

// "ユニット一覧", "ターン終了", "セーブ", "勝利条件", "次のユニット" in the window kMapMenu,
// wherever the pointer was when it opened.
void draw_map_menu(Game& g);

// What wins the stage; a window without rows, so hover_item keeps its value.
void draw_victory_condition(Game& g);
