#include "ui/bmp_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

uint32_t u16_at(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t u32_at(const uint8_t* p) {
  return u16_at(p) | u16_at(p + 2) << 16;
}

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;  // the old OS/2 header: 16-bit sizes
constexpr uint32_t kInfoHeaderBytes = 40;  // and every later header, which starts the same
constexpr uint32_t kLargestHeaderBytes = 124;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

bool refuse(std::string* why, const std::string& text) {
  *why = text;
  return false;
}

}  // namespace

bool check_bmp_header(const uint8_t* head, size_t head_size, uint64_t file_size, std::string* why,
                      BmpSize* size) {
  if (head_size > file_size) head_size = static_cast<size_t>(file_size);
  if (head_size < kFileHeaderBytes + 4) return refuse(why, "too short for a BMP header");
  if (head[0] != 'B' || head[1] != 'M') return refuse(why, "not a BMP file");
  const uint32_t pixels_at = u32_at(head + 10);
  const uint32_t header = u32_at(head + 14);

  int64_t width = 0;
  int64_t height = 0;
  uint32_t planes = 0;
  uint32_t depth = 0;
  uint32_t compression = kRgb;
  if (header == kCoreHeaderBytes) {
    if (head_size < kFileHeaderBytes + kCoreHeaderBytes) return refuse(why, "header cut short");
    width = u16_at(head + 18);
    height = u16_at(head + 20);
    planes = u16_at(head + 22);
    depth = u16_at(head + 24);
  } else if (header >= kInfoHeaderBytes && header <= kLargestHeaderBytes) {
    if (head_size < kFileHeaderBytes + kInfoHeaderBytes) return refuse(why, "header cut short");
    width = static_cast<int32_t>(u32_at(head + 18));
    // A negative height is a picture stored top row first.
    height = static_cast<int32_t>(u32_at(head + 22));
    planes = u16_at(head + 26);
    depth = u16_at(head + 28);
    compression = u32_at(head + 30);
  } else {
    return refuse(why, "unknown BMP header of " + std::to_string(header) + " bytes");
  }
  if (height < 0) height = -height;
  if (width < 1 || height < 1 || width > kBmpMaxSide || height > kBmpMaxSide) {
    return refuse(why, "claims " + std::to_string(width) + "x" + std::to_string(height) +
                           " pixels, beyond " + std::to_string(kBmpMaxSide) + " a side");
  }
  if (planes != 1) return refuse(why, "claims " + std::to_string(planes) + " planes");
  const BmpSize claimed{static_cast<int>(width), static_cast<int>(height)};
  if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) {
    return refuse(why, "unknown depth of " + std::to_string(depth) + " bits");
  }
  if (pixels_at < kFileHeaderBytes + header || pixels_at >= file_size) {
    return refuse(why, "its pixels would start at byte " + std::to_string(pixels_at) +
                           " of a file of " + std::to_string(file_size));
  }
  switch (compression) {
    case kRgb:
    case kBitfields:
    case kAlphaBitfields: {
      // Rows are padded to whole 32-bit words.
      const uint64_t row = (static_cast<uint64_t>(width) * depth + 31) / 32 * 4;
      const uint64_t end = pixels_at + row * static_cast<uint64_t>(height);
      if (end > file_size) {
        return refuse(why, "its pixels need " + std::to_string(end) + " bytes, the file has " +
                               std::to_string(file_size));
      }
      if (size != nullptr) *size = claimed;
      return true;
    }
    case kRle8:
    case kRle4:
      // Run-length data has no size to check against; the side limit bounds the picture.
      if (depth != (compression == kRle8 ? 8u : 4u))
        return refuse(why, "run lengths of a wrong depth");
      if (size != nullptr) *size = claimed;
      return true;
    default:
      return refuse(why, "unknown compression " + std::to_string(compression));
  }
}

bool check_bmp_file(const char* path, std::string* why, BmpSize* size) {
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(why, std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return refuse(why, "not a regular file");
  }
  uint8_t head[kBmpHeaderBytes] = {};
  size_t got = 0;
  while (got < sizeof head) {
    const ssize_t n = ::read(fd, head + got, sizeof head - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  return check_bmp_header(head, got, static_cast<uint64_t>(st.st_size), why, size);
}
