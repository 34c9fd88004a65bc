// Whether a text holds anything only Japanese writes: kana, kanji, the CJK punctuation and
// the full-width forms. What the checks of the English texts look for.
#pragma once

#include <string>

namespace test_text {

// The code points of the UTF-8 text, read leniently: a broken sequence gives its bytes.
inline bool has_japanese(const std::string& utf8) {
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    char32_t c = b;
    size_t n = 1;
    if (b >= 0xF0 && i + 3 < utf8.size()) {
      c = (b & 0x07u) << 18 | (utf8[i + 1] & 0x3Fu) << 12 | (utf8[i + 2] & 0x3Fu) << 6 |
          (utf8[i + 3] & 0x3Fu);
      n = 4;
    } else if (b >= 0xE0 && i + 2 < utf8.size()) {
      c = (b & 0x0Fu) << 12 | (utf8[i + 1] & 0x3Fu) << 6 | (utf8[i + 2] & 0x3Fu);
      n = 3;
    } else if (b >= 0xC0 && i + 1 < utf8.size()) {
      c = (b & 0x1Fu) << 6 | (utf8[i + 1] & 0x3Fu);
      n = 2;
    }
    i += n;
    const bool kana_or_punctuation = c >= 0x3000 && c <= 0x30FF;  // 、。「」 and the spaces too
    const bool small_kana = c >= 0x31F0 && c <= 0x31FF;
    const bool kanji = (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
                       (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FFFF);
    const bool full_width = c >= 0xFF00 && c <= 0xFFEF;
    if (kana_or_punctuation || small_kana || kanji || full_width) return true;
  }
  return false;
}

}  // namespace test_text
