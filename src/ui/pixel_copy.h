// A rectangle copied between two pictures of the same pixel format, as SDL's blit would copy it
// (the same clipping, the same pixels), but through the cache. SDL's own copy of aligned rows
// streams them past the cache, so the picture just drawn had to come back from memory when the
// window then compared it with the one it shows: on the idle map that comparison and those
// copies were the dearest part of a pass.
#pragma once

struct SDL_Surface;

// Copies the w x h rectangle at (sx, sy) of src to (dx, dy) of dst, clipped to src and to dst's
// clip rectangle exactly as SDL_BlitSurface clips. True when done; false, with nothing touched,
// when SDL's blit would do more than copy (another format, a colour key, blending, modulation,
// run-length encoding, a locked surface): the caller then blits.
bool copy_pixels(SDL_Surface* src, int sx, int sy, int w, int h, SDL_Surface* dst, int dx, int dy);
