// A look at a BMP file's header before the picture is loaded. The loader believes the header:
// a file of a few bytes that claims 30000 by 30000 pixels makes it allocate gigabytes before it
// finds the pixels missing. The game's pictures are a few hundred pixels a side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The largest width or height a picture of the game may have.
constexpr int kBmpMaxSide = 4096;
// Bytes of a file check_bmp_header needs at most.
constexpr size_t kBmpHeaderBytes = 54;

// The width and height a header claims.
struct BmpSize {
  int width = 0;
  int height = 0;
};

// Whether the header at the start of a file of file_size bytes (head holds the first head_size
// of them) describes a picture the loader may be given: the "BM" mark, a known header, a width
// and height of 1 to kBmpMaxSide, a bit depth the loader knows, and, where the pixels are not
// compressed, all of them inside the file. False with the reason in *why; the picture's size in
// *size when it is wanted and the header is sound.
bool check_bmp_header(const uint8_t* head, size_t head_size, uint64_t file_size, std::string* why,
                      BmpSize* size = nullptr);

// The same for a file: it must also be a regular file (a FIFO or a device in a picture's place is
// refused before it is read).
bool check_bmp_file(const char* path, std::string* why, BmpSize* size = nullptr);
