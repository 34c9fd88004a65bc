// The window's modal message box: its text, caption and OK button, laid out once when it opens
// and drawn over the game's picture until OK, Enter, Space or Escape closes it. Boxes opened
// inside one another form a chain through `outer`.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

struct MessageBox {
  // Lays the box out in the middle of the picture; without a font it still has its frame and
  // button, so it can be seen and closed.
  MessageBox(TTF_Font* font, const char* text, const char* caption);
  ~MessageBox();
  MessageBox(const MessageBox&) = delete;
  MessageBox& operator=(const MessageBox&) = delete;

  void draw(SDL_Surface* frame) const;
  // Whether a point of the picture (not of the scaled window) is on the OK button.
  bool on_button(int x, int y) const;
  // Whether the key closes the box.
  static bool closes(SDL_Keycode key);

  bool done = false;
  MessageBox* outer = nullptr;

 private:
  SDL_Surface* text_ = nullptr;
  SDL_Surface* caption_ = nullptr;
  SDL_Surface* ok_ = nullptr;
  SDL_Rect frame_{};
  SDL_Rect button_{};
};
