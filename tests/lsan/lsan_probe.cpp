// Leaks on purpose, once in our own code and once through SDL as the game's picture code would:
// the test around it passes only when the leak checker, with the game's suppressions, still
// reports both.
#include <SDL.h>

__attribute__((noinline)) int* leak_of_our_own() {
  return new int[64]();
}

__attribute__((noinline)) SDL_Surface* picture_of_our_own() {
  return SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_XRGB8888);
}

int main() {
  int* volatile numbers = leak_of_our_own();
  SDL_Surface* volatile picture = picture_of_our_own();
  numbers = nullptr;
  picture = nullptr;
  return numbers == nullptr && picture == nullptr ? 0 : 1;
}
