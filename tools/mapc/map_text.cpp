#include "map_text.h"

#include <cstdio>

#include "world/map_file.h"

namespace mapc {

namespace {

constexpr int kSize = 64;
constexpr int kHeaderBytes = kTerrainLayerOffset;

// Indexed by terrain code.
constexpr char kTerrainChars[] = {'x', '~', 'A', 'w', '^', 'T', ',', ':',
                                  '.', '=', '+', '%', 'c', 'd', 'e', 'f'};

struct ObjectChar {
  int code;
  char c;
};
constexpr ObjectChar kObjectChars[] = {
    {0, '.'},  {16, 'H'}, {17, 'S'}, {18, 'A'}, {19, 'T'}, {20, 'P'}, {21, 'Z'},
    {22, 'B'}, {23, 'F'}, {24, 'R'}, {25, 'G'}, {26, 'C'}, {48, 'h'}, {49, 's'},
    {50, 'a'}, {51, 't'}, {52, 'p'}, {53, 'z'}, {54, 'b'}, {55, 'f'}, {56, 'r'},
    {57, 'g'}, {58, 'c'}, {59, 'd'}, {60, 'v'}, {61, 'k'},
};

constexpr const char* kTerrainLegend =
    "# Terrain, one character per cell; row 0 is the top line, column 0 the first character:\n"
    "#   x no terrain (black filler)   ~ sea   A rocky mountain   w water   ^ mountain\n"
    "#   T forest   , bushes   : sand   . plain   = road   + fortified position   % building\n"
    "#   c d e f  codes 12 to 15, which have no picture\n";
constexpr const char* kObjectLegend =
    "# Objects, one character per cell; the player's in capitals, the enemy's in small letters:\n"
    "#   H h HQ   S s scout   A a assault infantry   R r riflemen   G g anti-tank gun\n"
    "#   C c support artillery   P p self-propelled gun   Z z anti-aircraft gun   T t tank\n"
    "#   B b bomber   F f fighter   d enemy defensive position\n"
    "#   v reserve cell of a Volkssturm squad   k reserve cell of the ace tank   . nothing\n"
    "# Units and reserve cells stand on rows and columns 1 to 62, never on the outer ring.\n";

bool on_ring(int x, int y) {
  return x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
}

std::string describe_char(char c) {
  const auto u = static_cast<unsigned char>(c);
  char buf[32];
  if (u >= 0x21 && u < 0x7f) {
    std::snprintf(buf, sizeof buf, "'%c'", c);
  } else {
    std::snprintf(buf, sizeof buf, "byte 0x%02X", u);
  }
  return buf;
}

bool is_blank(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool printable_header_char(uint8_t b) {
  return b >= 0x20 && b < 0x7f && b != '"' && b != '\\';
}

class Compiler {
 public:
  Compiler(std::string_view source_name, std::vector<uint8_t>& bytes, std::string& error)
      : name_(source_name), bytes_(bytes), error_(error) {}

  bool run(std::string_view text) {
    bytes_.assign(kMapFileBytes, 0);
    int line_no = 0;
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      pos = end + 1;
      ++line_no;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.empty() || line.front() == '#' || is_blank(line)) continue;
      if (!take_line(line, line_no)) return false;
    }
    if (grid_ != Grid::kNone && !close_grid(line_no + 1)) return false;
    if (!seen_terrain_) return fail(line_no + 1, 1, "no 'terrain' grid in the file");
    if (!seen_objects_) return fail(line_no + 1, 1, "no 'objects' grid in the file");
    return true;
  }

 private:
  enum class Grid { kNone, kTerrain, kObjects };

  bool fail(int line, int column, const std::string& message) {
    error_ = std::string(name_) + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
             message;
    return false;
  }

  bool take_line(std::string_view line, int line_no) {
    const std::string_view word = trim(line);
    const bool directive = word == "terrain" || word == "objects" || word.substr(0, 6) == "header";
    if (grid_ != Grid::kNone && directive) {
      if (!close_grid(line_no)) return false;
    }
    if (grid_ != Grid::kNone) return take_row(line, line_no);

    if (word == "terrain" || word == "objects") {
      const bool terrain = word == "terrain";
      bool& seen = terrain ? seen_terrain_ : seen_objects_;
      if (seen) return fail(line_no, 1, "a second '" + std::string(word) + "' grid");
      seen = true;
      grid_ = terrain ? Grid::kTerrain : Grid::kObjects;
      rows_ = 0;
      just_closed_ = nullptr;
      return true;
    }
    if (word.substr(0, 6) == "header" && (word.size() == 6 || word[6] == ' ' || word[6] == '\t')) {
      just_closed_ = nullptr;
      return take_header(line, trim(word.substr(6)), line_no);
    }
    if (just_closed_ != nullptr) {
      return fail(line_no, 1, std::string("the ") + just_closed_ + " grid has more than 64 rows");
    }
    return fail(line_no, 1, "expected 'header', 'terrain' or 'objects'");
  }

  bool close_grid(int line_no) {
    const char* what = grid_ == Grid::kTerrain ? "terrain" : "objects";
    if (rows_ != kSize) {
      return fail(
          line_no, 1,
          std::string("the ") + what + " grid has " + std::to_string(rows_) + " rows; it needs 64");
    }
    grid_ = Grid::kNone;
    return true;
  }

  // `value` lies inside `line`, which gives the column numbers.
  bool take_header(std::string_view line, std::string_view value, int line_no) {
    if (seen_header_) return fail(line_no, 1, "a second 'header' line");
    seen_header_ = true;
    const int column = static_cast<int>(value.data() - line.data()) + 1;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      const std::string_view inner = value.substr(1, value.size() - 2);
      if (inner.size() > kHeaderBytes) {
        return fail(line_no, column, "the header text is longer than 20 characters");
      }
      for (size_t i = 0; i < inner.size(); ++i) {
        if (!printable_header_char(static_cast<uint8_t>(inner[i]))) {
          return fail(line_no, column + 1 + static_cast<int>(i),
                      "the header text holds " + describe_char(inner[i]) + "; use hex: instead");
        }
        bytes_[i] = static_cast<uint8_t>(inner[i]);
      }
      return true;
    }
    if (value.substr(0, 4) == "hex:") {
      const std::string_view digits = value.substr(4);
      if (digits.size() != 2 * kHeaderBytes) {
        return fail(line_no, column + 4, "a hex header has exactly 40 digits");
      }
      for (int i = 0; i < kHeaderBytes; ++i) {
        const int hi = hex_value(digits[2 * i]);
        const int lo = hex_value(digits[2 * i + 1]);
        if (hi < 0 || lo < 0) {
          const int at = hi < 0 ? 2 * i : 2 * i + 1;
          return fail(line_no, column + 4 + at, describe_char(digits[at]) + " is no hex digit");
        }
        bytes_[i] = static_cast<uint8_t>(hi * 16 + lo);
      }
      return true;
    }
    return fail(line_no, column, "the header is \"text\" or hex: followed by 40 digits");
  }

  bool take_row(std::string_view line, int line_no) {
    const bool terrain = grid_ == Grid::kTerrain;
    const char* what = terrain ? "terrain" : "objects";
    if (line.size() != kSize) {
      const int column = line.size() < kSize ? static_cast<int>(line.size()) + 1 : kSize + 1;
      return fail(line_no, column,
                  std::string("a row of the ") + what + " grid has " + std::to_string(line.size()) +
                      " characters; it needs 64");
    }
    const int y = rows_;
    for (int x = 0; x < kSize; ++x) {
      const char c = line[x];
      if (terrain) {
        const int code = terrain_code(c);
        if (code < 0) return fail(line_no, x + 1, "unknown terrain character " + describe_char(c));
        bytes_[kTerrainLayerOffset + kSize * y + x] = static_cast<uint8_t>(code);
      } else {
        const int code = object_code(c);
        if (code < 0) return fail(line_no, x + 1, "unknown object character " + describe_char(c));
        if (code != 0 && on_ring(x, y)) {
          return fail(line_no, x + 1,
                      describe_char(c) + " on the outer ring (cell " + std::to_string(x) + ", " +
                          std::to_string(y) +
                          "): units and reserve cells stand on rows and columns 1 to 62");
        }
        bytes_[kObjectLayerOffset + kSize * y + x] = static_cast<uint8_t>(code);
      }
    }
    ++rows_;
    if (rows_ == kSize) {
      grid_ = Grid::kNone;
      just_closed_ = what;
    }
    return true;
  }

  std::string_view name_;
  std::vector<uint8_t>& bytes_;
  std::string& error_;
  Grid grid_ = Grid::kNone;
  int rows_ = 0;
  const char* just_closed_ = nullptr;  // the grid whose 64th row came last
  bool seen_header_ = false;
  bool seen_terrain_ = false;
  bool seen_objects_ = false;
};

}  // namespace

char terrain_char(int code) {
  return code >= 0 && code < static_cast<int>(sizeof kTerrainChars) ? kTerrainChars[code] : 0;
}

char object_char(int code) {
  for (const ObjectChar& o : kObjectChars) {
    if (o.code == code) return o.c;
  }
  return 0;
}

int terrain_code(char c) {
  for (int code = 0; code < static_cast<int>(sizeof kTerrainChars); ++code) {
    if (kTerrainChars[code] == c) return code;
  }
  return -1;
}

int object_code(char c) {
  for (const ObjectChar& o : kObjectChars) {
    if (o.c == c) return o.code;
  }
  return -1;
}

bool compile_map_text(std::string_view text, std::string_view source_name,
                      std::vector<uint8_t>& bytes, std::string& error) {
  Compiler compiler(source_name, bytes, error);
  return compiler.run(text);
}

bool decompile_map(const std::vector<uint8_t>& bytes, std::string& text, std::string& error) {
  if (bytes.size() != static_cast<size_t>(kMapFileBytes)) {
    error = "a map file has 8212 bytes, this one " + std::to_string(bytes.size());
    return false;
  }
  std::string out;
  out += "# Nevalt map source; `mapc compile` turns it into the game's map file.\n";
  out += "# Lines starting with '#' and blank lines are ignored.\n";

  // The header as text when it is printable text padded with zero bytes, as hex otherwise.
  int text_end = 0;
  while (text_end < kHeaderBytes && bytes[text_end] != 0) ++text_end;
  bool as_text = true;
  for (int i = 0; i < kHeaderBytes; ++i) {
    if (i < text_end ? !printable_header_char(bytes[i]) : bytes[i] != 0) as_text = false;
  }
  out += "header ";
  if (as_text) {
    out += '"';
    out.append(reinterpret_cast<const char*>(bytes.data()), text_end);
    out += '"';
  } else {
    out += "hex:";
    char hex[3];
    for (int i = 0; i < kHeaderBytes; ++i) {
      std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
      out += hex;
    }
  }
  out += "\n\n";

  out += kTerrainLegend;
  out += "terrain\n";
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int code = bytes[kTerrainLayerOffset + kSize * y + x];
      const char c = terrain_char(code);
      if (c == 0) {
        error = "cell (" + std::to_string(x) + ", " + std::to_string(y) + "): terrain code " +
                std::to_string(code) + " has no character";
        return false;
      }
      out += c;
    }
    out += '\n';
  }
  out += '\n';

  out += kObjectLegend;
  out += "objects\n";
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int code = bytes[kObjectLayerOffset + kSize * y + x];
      const char c = object_char(code);
      if (c == 0) {
        error = "cell (" + std::to_string(x) + ", " + std::to_string(y) + "): object code " +
                std::to_string(code) + " has no character";
        return false;
      }
      if (code != 0 && on_ring(x, y)) {
        error = "cell (" + std::to_string(x) + ", " + std::to_string(y) + "): object code " +
                std::to_string(code) + " on the outer ring, where the game never reads it";
        return false;
      }
      out += c;
    }
    out += '\n';
  }
  text = std::move(out);
  return true;
}

}  // namespace mapc
