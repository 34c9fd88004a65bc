// Fuzz target: an input script of any content. It is either refused with the number of its
// line, or every pass it describes replays through playback, recording and formatting into a
// script that plays exactly the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/input_script.h"

namespace {

[[noreturn]] void fault(const char* what, long pass = -1) {
  std::fprintf(stderr, "input script fuzz: %s (pass %ld)\n", what, pass);
  std::abort();
}

// Passes replayed per input: scripts may name passes far apart.
constexpr long kReplayPasses = 600;

// What a pass sees by the plain rule: the last line at or before it, Ctrl only on its own pass,
// and a key pressed on its own pass when the line before did not hold it.
PassInput expected_at(const InputScript& s, long pass) {
  PassInput in;
  uint16_t before = 0;
  for (const InputLine& line : s.lines) {
    if (line.pass > pass) break;
    in.pointer = PointerSample{line.x, line.y, line.left, line.right};
    in.escape = line.esc;
    in.ctrl_key = line.ctrl && line.pass == pass;
    in.keys.held = line.keys;
    in.keys.pressed = line.pass == pass ? static_cast<uint16_t>(line.keys & ~before) : 0;
    before = line.keys;
  }
  return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  InputScript script;
  std::string error;
  if (!parse_input_script(text, &script, &error)) {
    if (error.rfind("line ", 0) != 0) fault("an error that does not name its line");
    const long line = std::strtol(error.c_str() + 5, nullptr, 10);
    long lines = 1;
    for (char c : text) lines += c == '\n';
    if (line < 1 || line > lines) fault("an error naming a line the script does not have", line);
    return 0;
  }
  for (size_t i = 1; i < script.lines.size(); ++i) {
    if (script.lines[i].pass <= script.lines[i - 1].pass) fault("passes out of order");
  }
  for (const InputLine& line : script.lines) {
    if (line.pass < 0) fault("a negative pass", line.pass);
  }

  // Replay the first passes, record them, and replay the recording.
  InputPlayback playback(script);
  InputRecorder recorder;
  std::string recorded;
  PassInput seen[kReplayPasses];
  for (long pass = 0; pass < kReplayPasses; ++pass) {
    seen[pass] = playback.at(pass);
    if (!(seen[pass] == expected_at(script, pass))) fault("playback differs from the script", pass);
    InputLine line;
    if (recorder.record(pass, seen[pass], &line)) recorded += format_input_line(line) + "\n";
  }
  InputScript again;
  if (!parse_input_script(recorded, &again, &error)) fault("a recording does not parse");
  InputPlayback replay(again);
  for (long pass = 0; pass < kReplayPasses; ++pass) {
    if (!(replay.at(pass) == seen[pass])) fault("the recording plays differently", pass);
  }

  // Every line formats to one that parses back to itself.
  std::string formatted;
  for (const InputLine& line : script.lines) formatted += format_input_line(line) + "\n";
  InputScript round;
  if (!parse_input_script(formatted, &round, &error)) fault("a formatted script does not parse");
  if (round.lines.size() != script.lines.size()) fault("formatting lost lines");
  for (size_t i = 0; i < round.lines.size(); ++i) {
    const InputLine& a = script.lines[i];
    const InputLine& b = round.lines[i];
    if (a.pass != b.pass || a.x != b.x || a.y != b.y || a.left != b.left || a.right != b.right ||
        a.esc != b.esc || a.ctrl != b.ctrl || a.keys != b.keys) {
      fault("a line changed in formatting", a.pass);
    }
  }
  return 0;
}
