#include "game/input.h"

#include "state/game.h"

void input_tick(Game& g) {
  Host* host = g.form.host;
  if (host == nullptr) return;
  const PointerSample s = host->sample_pointer();
  g.input.cursor_x = s.x;
  g.input.cursor_y = s.y;
  g.input.left_down = s.left ? 1 : 0;
  g.input.right_down = s.right ? 1 : 0;
  const KeySample k = host->sample_keys();
  g.input.keys_held = k.held;
  g.input.keys_pressed |= k.pressed;
}

void img_unitMouseMove(Game& g, int x, int y) {
  g.input.mouse_x = x;
  g.input.mouse_y = y;
}

void FormKeyDown(Game& g, int key, bool ctrl) {
  (void)key;
  if (!ctrl || g.form.host == nullptr) return;
  g.form.host->message_box(kVersionText, tr(g, kVersionCaption));
}
