#include "platform/input_script.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kFieldNames[] = {"PASS", "X", "Y", "LEFT", "RIGHT", "ESC", "CTRL", "KEYS"};
constexpr int kMinFields = 5;
constexpr int kMaxFields = 8;
constexpr int kKeysField = 7;

struct KeyName {
  const char* name;
  uint16_t bit;
};
constexpr KeyName kKeyNames[] = {{"left", kKeyLeft}, {"right", kKeyRight}, {"up", kKeyUp},
                                 {"down", kKeyDown}, {"tab", kKeyTab},     {"space", kKeySpace},
                                 {"f11", kKeyF11},   {"m", kKeyM},         {"t", kKeyT}};

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Parses one whole token as a decimal integer in [lo, hi].
bool parse_int(std::string_view token, long long lo, long long hi, long long* value) {
  long long v = 0;
  const char* first = token.data();
  const char* last = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || ptr != last) return false;
  if (v < lo || v > hi) return false;
  *value = v;
  return true;
}

std::string line_error(int line_no, const std::string& what) {
  return "line " + std::to_string(line_no) + ": " + what;
}

}  // namespace

bool parse_input_script(std::string_view text, InputScript* script, std::string* error) {
  script->lines.clear();
  int line_no = 0;
  int prev_line_no = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;

    const size_t hash = line.find('#');
    if (hash != std::string_view::npos) line = line.substr(0, hash);

    std::string_view fields[kMaxFields + 1];
    int count = 0;
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && is_blank(line[i])) ++i;
      if (i >= line.size()) break;
      size_t j = i;
      while (j < line.size() && !is_blank(line[j])) ++j;
      if (count <= kMaxFields) fields[count] = line.substr(i, j - i);
      ++count;
      i = j;
    }
    if (count == 0) continue;
    if (count < kMinFields || count > kMaxFields) {
      *error = line_error(line_no, "expected PASS X Y LEFT RIGHT [ESC] [CTRL] [KEYS], found " +
                                       std::to_string(count) + " values");
      return false;
    }

    uint16_t keys = 0;
    if (count > kKeysField && !parse_keys(fields[kKeysField], &keys)) {
      *error = line_error(line_no,
                          "KEYS must be key names joined by '+' (left, right, up, down, tab, "
                          "space, f11, m, t) or '-', found '" +
                              std::string(fields[kKeysField]) + "'");
      return false;
    }
    long long v[kMaxFields] = {0, 0, 0, 0, 0, 0, 0, 0};
    for (int f = 0; f < count && f < kKeysField; ++f) {
      long long lo = 0;
      long long hi = 1;
      if (f == 0) hi = LONG_MAX;
      if (f == 1 || f == 2) {
        lo = INT_MIN;
        hi = INT_MAX;
      }
      if (!parse_int(fields[f], lo, hi, &v[f])) {
        std::string want = f == 0   ? "a pass number of 0 or more"
                           : f <= 2 ? "a whole number"
                                    : "0 or 1";
        *error = line_error(line_no, std::string(kFieldNames[f]) + " must be " + want +
                                         ", found '" + std::string(fields[f]) + "'");
        return false;
      }
    }

    InputLine in;
    in.pass = static_cast<long>(v[0]);
    in.x = static_cast<int>(v[1]);
    in.y = static_cast<int>(v[2]);
    in.left = v[3] != 0;
    in.right = v[4] != 0;
    in.esc = v[5] != 0;
    in.ctrl = v[6] != 0;
    in.keys = keys;
    if (!script->lines.empty() && in.pass <= script->lines.back().pass) {
      *error =
          line_error(line_no, "pass " + std::to_string(in.pass) + " does not come after pass " +
                                  std::to_string(script->lines.back().pass) + " of line " +
                                  std::to_string(prev_line_no));
      return false;
    }
    script->lines.push_back(in);
    prev_line_no = line_no;
  }
  return true;
}

bool load_input_script(const std::string& path, InputScript* script, std::string* error) {
  // A folder opens as a stream that reads nothing, which would pass for an empty script.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    *error = "cannot read the input script " + path + ": it is a folder";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot read the input script " + path;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    *error = "cannot read the input script " + path;
    return false;
  }
  std::string parse_error;
  if (!parse_input_script(text.str(), script, &parse_error)) {
    *error = path + ": " + parse_error;
    return false;
  }
  return true;
}

PassInput InputPlayback::at(long pass) {
  held_.ctrl_key = false;
  held_.keys.pressed = 0;
  while (next_ < script_.lines.size() && script_.lines[next_].pass <= pass) {
    const InputLine& line = script_.lines[next_];
    held_.pointer = PointerSample{line.x, line.y, line.left, line.right};
    held_.escape = line.esc;
    held_.ctrl_key = line.ctrl && line.pass == pass;
    // A key goes down where a line first holds it.
    const uint16_t went_down = static_cast<uint16_t>(line.keys & ~held_.keys.held);
    held_.keys.pressed = line.pass == pass ? went_down : 0;
    held_.keys.held = line.keys;
    ++next_;
  }
  return held_;
}

bool InputRecorder::record(long pass, const PassInput& in, InputLine* line) {
  PassInput level = in;
  level.ctrl_key = false;
  // A replay presses a key where a line first holds it, so a press the pass saw is written as
  // held, also one so short that the key was already up again. (Two taps of one key in two
  // passes in a row, with no pass between that saw it up, replay as one.)
  level.keys.held = static_cast<uint16_t>(in.keys.held | in.keys.pressed);
  level.keys.pressed = 0;
  const bool changed = !started_ || !(level == last_);
  if (!changed && !in.ctrl_key) return false;
  // Nothing held before the first line: a first pass with everything at rest needs no line.
  if (!started_ && level == PassInput{} && !in.ctrl_key) {
    started_ = true;
    last_ = level;
    return false;
  }
  started_ = true;
  last_ = level;
  *line = InputLine{pass,      in.pointer.x, in.pointer.y,   in.pointer.left, in.pointer.right,
                    in.escape, in.ctrl_key,  level.keys.held};
  return true;
}

std::string format_input_line(const InputLine& line) {
  char buf[96];
  int n = std::snprintf(buf, sizeof buf, "%ld %d %d %d %d", line.pass, line.x, line.y,
                        line.left ? 1 : 0, line.right ? 1 : 0);
  if (line.esc || line.ctrl || line.keys != 0) {
    n += std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), " %d", line.esc ? 1 : 0);
  }
  if (line.ctrl || line.keys != 0) {
    std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), " %d", line.ctrl ? 1 : 0);
  }
  std::string text = buf;
  if (line.keys != 0) {
    // Appended piece by piece: GCC 12 Release warns falsely of overlapping copies (-Wrestrict)
    // in the inlined operator+ of a literal and a temporary string.
    text += ' ';
    text += format_keys(line.keys);
  }
  return text;
}

bool parse_keys(std::string_view field, uint16_t* keys) {
  *keys = 0;
  if (field == "-") return true;
  while (true) {
    const size_t plus = field.find('+');
    const std::string_view name = field.substr(0, plus);
    bool known = false;
    for (const KeyName& k : kKeyNames) {
      if (name == k.name) {
        *keys = static_cast<uint16_t>(*keys | k.bit);
        known = true;
      }
    }
    if (!known) return false;
    if (plus == std::string_view::npos) return true;
    field = field.substr(plus + 1);
  }
}

std::string format_keys(uint16_t keys) {
  std::string text;
  for (const KeyName& k : kKeyNames) {
    if ((keys & k.bit) == 0) continue;
    if (!text.empty()) text += '+';
    text += k.name;
  }
  return text.empty() ? "-" : text;
}
