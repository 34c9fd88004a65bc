#include "ui/pixel_copy.h"

#include <SDL.h>

#include <cstring>

namespace {

// The blit SDL would choose for src onto dst is its plain row copy.
bool plain_copy(SDL_Surface* src, SDL_Surface* dst) {
  if (src->format->format != dst->format->format || src->format->palette != nullptr) return false;
  if (src->locked != 0 || dst->locked != 0 || SDL_HasSurfaceRLE(src)) return false;
  if (SDL_HasColorKey(src)) return false;
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  Uint8 r = 0;
  Uint8 g = 0;
  Uint8 b = 0;
  Uint8 a = 0;
  if (SDL_GetSurfaceBlendMode(src, &mode) != 0 || mode != SDL_BLENDMODE_NONE) return false;
  if (SDL_GetSurfaceColorMod(src, &r, &g, &b) != 0 || (r & g & b) != 255) return false;
  return SDL_GetSurfaceAlphaMod(src, &a) == 0 && a == 255;
}

}  // namespace

bool copy_pixels(SDL_Surface* src, int sx, int sy, int w, int h, SDL_Surface* dst, int dx, int dy) {
  if (src == nullptr || dst == nullptr || src == dst || !plain_copy(src, dst)) return false;
  // The source rectangle within the source, the destination moving along (SDL_UpperBlit).
  if (sx < 0) {
    w += sx;
    dx -= sx;
    sx = 0;
  }
  if (sy < 0) {
    h += sy;
    dy -= sy;
    sy = 0;
  }
  if (w > src->w - sx) w = src->w - sx;
  if (h > src->h - sy) h = src->h - sy;
  // Then the destination within its clip rectangle, the source moving along.
  const SDL_Rect& clip = dst->clip_rect;
  if (clip.x > dx) {
    w -= clip.x - dx;
    sx += clip.x - dx;
    dx = clip.x;
  }
  if (dx + w > clip.x + clip.w) w = clip.x + clip.w - dx;
  if (clip.y > dy) {
    h -= clip.y - dy;
    sy += clip.y - dy;
    dy = clip.y;
  }
  if (dy + h > clip.y + clip.h) h = clip.y + clip.h - dy;
  if (w <= 0 || h <= 0) return true;

  const int bpp = src->format->BytesPerPixel;
  const size_t bytes = static_cast<size_t>(w) * bpp;
  const auto* from = static_cast<const Uint8*>(src->pixels) + static_cast<size_t>(sy) * src->pitch +
                     static_cast<size_t>(sx) * bpp;
  auto* to = static_cast<Uint8*>(dst->pixels) + static_cast<size_t>(dy) * dst->pitch +
             static_cast<size_t>(dx) * bpp;
  for (int y = 0; y < h; ++y) {
    std::memcpy(to, from, bytes);
    from += src->pitch;
    to += dst->pitch;
  }
  return true;
}
