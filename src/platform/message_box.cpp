#include "platform/message_box.h"

#include <algorithm>

#include "ui/surface.h"

namespace {

constexpr int kTitleHeight = 24;
constexpr int kPadding = 20;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

SDL_Surface* render_text(TTF_Font* font, const char* utf8, SDL_Color color) {
  if (font == nullptr || utf8 == nullptr || utf8[0] == '\0') return nullptr;
  // Wrapping at width 0 breaks only at the text's own line ends.
  return TTF_RenderUTF8_Blended_Wrapped(font, utf8, color, 0);
}

void fill(SDL_Surface* s, const SDL_Rect& r, Uint8 red, Uint8 green, Uint8 blue) {
  SDL_FillRect(s, &r, SDL_MapRGB(s->format, red, green, blue));
}

void blit_at(SDL_Surface* src, SDL_Surface* dst, int x, int y) {
  if (src == nullptr) return;
  SDL_Rect at{x, y, src->w, src->h};
  SDL_BlitSurface(src, nullptr, dst, &at);
}

}  // namespace

MessageBox::MessageBox(TTF_Font* font, const char* text, const char* caption)
    : text_(render_text(font, text, SDL_Color{0, 0, 0, 255})),
      caption_(render_text(font, caption, SDL_Color{255, 255, 255, 255})),
      ok_(render_text(font, "OK", SDL_Color{0, 0, 0, 255})) {
  const int text_w = text_ != nullptr ? text_->w : 160;
  const int text_h = text_ != nullptr ? text_->h : 16;
  const int caption_w = caption_ != nullptr ? caption_->w : 0;
  const int w = std::min(kScreenWidth, std::max({text_w + 2 * kPadding, caption_w + 24, 200}));
  const int h = std::min(kScreenHeight, kTitleHeight + 16 + text_h + 16 + kButtonHeight + 14);
  frame_ = SDL_Rect{(kScreenWidth - w) / 2, (kScreenHeight - h) / 2, w, h};
  button_ = SDL_Rect{frame_.x + (w - kButtonWidth) / 2, frame_.y + h - 14 - kButtonHeight,
                     kButtonWidth, kButtonHeight};
}

MessageBox::~MessageBox() {
  SDL_FreeSurface(text_);
  SDL_FreeSurface(caption_);
  SDL_FreeSurface(ok_);
}

void MessageBox::draw(SDL_Surface* frame) const {
  const SDL_Rect& f = frame_;
  fill(frame, f, 64, 64, 64);
  fill(frame, SDL_Rect{f.x + 1, f.y + 1, f.w - 2, kTitleHeight}, 40, 72, 140);
  fill(frame, SDL_Rect{f.x + 1, f.y + 1 + kTitleHeight, f.w - 2, f.h - 2 - kTitleHeight}, 240, 240,
       240);
  if (caption_ != nullptr) {
    blit_at(caption_, frame, f.x + 8, f.y + 1 + (kTitleHeight - caption_->h) / 2);
  }
  if (text_ != nullptr) blit_at(text_, frame, f.x + kPadding, f.y + kTitleHeight + 16);
  const SDL_Rect& b = button_;
  fill(frame, b, 110, 110, 110);
  fill(frame, SDL_Rect{b.x + 1, b.y + 1, b.w - 2, b.h - 2}, 225, 225, 225);
  if (ok_ != nullptr) blit_at(ok_, frame, b.x + (b.w - ok_->w) / 2, b.y + (b.h - ok_->h) / 2);
}

bool MessageBox::on_button(int x, int y) const {
  const SDL_Rect& r = button_;
  return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

bool MessageBox::closes(SDL_Keycode key) {
  return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_SPACE || key == SDLK_ESCAPE;
}
