// Banners and popups drawn straight onto the current picture; the caller's countdown keeps them
// on screen because nothing redraws while it waits.
#pragma once

struct Game;

enum BannerKind {
  kBannerPlayerTurn = 0,
  kBannerEnemyTurn = 1,
  kBannerVictory = 2,
  kBannerGameOver = 3
};

void draw_banner(Game& g, int kind);
// amount 65535 (the end of the repair list) draws nothing; 0 shows "Full!".
void draw_heal_popup(Game& g, int x, int y, int amount);
// damage -1 shows "Miss!".
void draw_damage_popup(Game& g, int damage, int x, int y);
void draw_save_notice(Game& g);
