// Input scripts: what the pointer, the buttons, Escape and Ctrl do pass by pass. The headless
// host plays them; the window writes them from live play (--record) so a game can be replayed.
//
//   PASS X Y LEFT RIGHT [ESC] [CTRL] [KEYS]     # from pass PASS on (0 = first pass)
//
// X and Y are picture pixels (negative or beyond 639/479 outside the window), LEFT, RIGHT and
// ESC are levels (0/1) held until the next line, CTRL 1 is one Ctrl+key press just before that
// pass. KEYS are the keys of assisted play held from that pass on, names joined by '+' (left,
// right, up, down, tab, space, f11, m, t) or '-' for none; a key held on a line that was not
// held on the line before is pressed once just before that pass. '#' starts a comment; blank
// lines are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "state/host.h"

struct InputLine {
  long pass = 0;
  int x = 0;
  int y = 0;
  bool left = false;
  bool right = false;
  bool esc = false;
  bool ctrl = false;
  uint16_t keys = 0;  // KeyBit levels
};

struct InputScript {
  std::vector<InputLine> lines;  // strictly ascending passes
};

// False on the first malformed line, with an error that starts "line N: ".
bool parse_input_script(std::string_view text, InputScript* script, std::string* error);
// Reads and parses a file; errors name the file too.
bool load_input_script(const std::string& path, InputScript* script, std::string* error);

// What one pass sees.
struct PassInput {
  PointerSample pointer;
  bool escape = false;
  bool ctrl_key = false;  // one Ctrl+key press just before the pass
  KeySample keys;
  bool operator==(const PassInput& o) const {
    return pointer.x == o.pointer.x && pointer.y == o.pointer.y && pointer.left == o.pointer.left &&
           pointer.right == o.pointer.right && escape == o.escape && ctrl_key == o.ctrl_key &&
           keys.held == o.keys.held && keys.pressed == o.keys.pressed;
  }
};

// Walks a script forward; passes are asked for in ascending order.
class InputPlayback {
 public:
  explicit InputPlayback(const InputScript& script) : script_(script) {}
  PassInput at(long pass);

 private:
  const InputScript& script_;
  size_t next_ = 0;
  PassInput held_;
};

// Turns what each pass saw into script lines: a line only where something changed or Ctrl was
// pressed, so a replay of the lines gives every pass the same input.
class InputRecorder {
 public:
  // True when pass `pass` needs a line; the line is written to *line.
  bool record(long pass, const PassInput& in, InputLine* line);

 private:
  bool started_ = false;
  PassInput last_;
};

// One line of the script format, without a line end.
std::string format_input_line(const InputLine& line);

// The KEYS field of a line: names joined by '+', or '-' for none. False for any other text.
bool parse_keys(std::string_view field, uint16_t* keys);
std::string format_keys(uint16_t keys);
