#include "platform/input_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

InputScript parse_ok(const std::string& text) {
  InputScript script;
  std::string error;
  EXPECT_TRUE(parse_input_script(text, &script, &error)) << error;
  return script;
}

TEST(InputScriptParse, ReadsLinesCommentsAndOptionalColumns) {
  const InputScript s = parse_ok(
      "# a comment line\n"
      "\n"
      "0 320 240 0 0\n"
      "  5\t-3 500 1 0   # trailing comment\n"
      "9 700 -20 1 1 1\r\n"
      "12 10 20 0 1 0 1\n"
      "   \n"
      "40 1 2 0 0 1 1");  // no final line end
  ASSERT_EQ(s.lines.size(), 5u);
  const InputLine want[] = {
      {0, 320, 240, false, false, false, false}, {5, -3, 500, true, false, false, false},
      {9, 700, -20, true, true, true, false},    {12, 10, 20, false, true, false, true},
      {40, 1, 2, false, false, true, true},
  };
  for (size_t i = 0; i < s.lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.lines[i].pass, want[i].pass);
    EXPECT_EQ(s.lines[i].x, want[i].x);
    EXPECT_EQ(s.lines[i].y, want[i].y);
    EXPECT_EQ(s.lines[i].left, want[i].left);
    EXPECT_EQ(s.lines[i].right, want[i].right);
    EXPECT_EQ(s.lines[i].esc, want[i].esc);
    EXPECT_EQ(s.lines[i].ctrl, want[i].ctrl);
  }
}

TEST(InputScriptParse, EmptyAndCommentOnlyScriptsHaveNoLines) {
  EXPECT_TRUE(parse_ok("").lines.empty());
  EXPECT_TRUE(parse_ok("# nothing\n\n   # at all\n").lines.empty());
}

TEST(InputScriptParse, MalformedLinesNameTheirLineNumber) {
  const struct {
    const char* text;
    const char* expect;  // must appear in the error
  } cases[] = {
      {"0 1 2 0 0\n5 1 2 0\n", "line 2: expected PASS X Y LEFT RIGHT [ESC] [CTRL] [KEYS], found 4"},
      {"0 1 2 0 0 0 0 t 0\n", "line 1: expected PASS X Y LEFT RIGHT [ESC] [CTRL] [KEYS], found 9"},
      {"0 1 2 0 0 0 0 0\n", "line 1: KEYS must be key names joined by '+'"},
      {"0 1 2 0 0 0 0 tab+\n", "found 'tab+'"},
      {"0 1 2 0 0 0 0 Tab\n", "found 'Tab'"},
      {"0 1 2 0 0 0 0 +m\n", "found '+m'"},
      {"# c\n\n0 a 2 0 0\n", "line 3: X must be a whole number, found 'a'"},
      {"0 1 2.5 0 0\n", "line 1: Y must be a whole number, found '2.5'"},
      {"-1 1 2 0 0\n", "line 1: PASS must be a pass number of 0 or more, found '-1'"},
      {"0 1 2 2 0\n", "line 1: LEFT must be 0 or 1, found '2'"},
      {"0 1 2 0 -1\n", "line 1: RIGHT must be 0 or 1, found '-1'"},
      {"0 1 2 0 0 5\n", "line 1: ESC must be 0 or 1, found '5'"},
      {"0 1 2 0 0 0 x\n", "line 1: CTRL must be 0 or 1, found 'x'"},
      {"0 1 2 0 0\n3 1 2 0 0\n3 4 4 0 0\n", "line 3: pass 3 does not come after pass 3 of line 2"},
      {"7 1 2 0 0\n# gap\n2 1 2 0 0\n", "line 3: pass 2 does not come after pass 7 of line 1"},
      {"0 99999999999 2 0 0\n", "line 1: X must be a whole number, found '99999999999'"},
      {"0 1 2 0 0x1\n", "line 1: RIGHT must be 0 or 1, found '0x1'"},
      {"0,1,2,0,0\n", "line 1: expected PASS X Y LEFT RIGHT [ESC] [CTRL] [KEYS], found 1"},
  };
  for (const auto& c : cases) {
    InputScript script;
    std::string error;
    EXPECT_FALSE(parse_input_script(c.text, &script, &error)) << c.text;
    EXPECT_NE(error.find(c.expect), std::string::npos) << "got: " << error;
  }
}

TEST(InputScriptLoad, MissingFileIsAnErrorNamingIt) {
  InputScript script;
  std::string error;
  EXPECT_FALSE(load_input_script("/nonexistent/dir/in.txt", &script, &error));
  EXPECT_NE(error.find("/nonexistent/dir/in.txt"), std::string::npos) << error;
}

TEST(InputPlayback, ValuesHoldUntilTheNextLineAndCtrlFiresOnce) {
  const InputScript s = parse_ok(
      "2 100 50 1 0\n"
      "4 100 50 0 0 1 1\n"
      "7 -8 600 0 1\n");
  InputPlayback play(s);
  struct Want {
    int x, y;
    bool left, right, esc, ctrl;
  };
  const Want want[] = {
      {0, 0, false, false, false, false},    // before the first line: at rest
      {0, 0, false, false, false, false},    //
      {100, 50, true, false, false, false},  // 2
      {100, 50, true, false, false, false},  // held
      {100, 50, false, false, true, true},   // 4: Ctrl fires
      {100, 50, false, false, true, false},  // Escape held, Ctrl does not repeat
      {100, 50, false, false, true, false},  //
      {-8, 600, false, true, false, false},  // 7: omitted ESC is up
      {-8, 600, false, true, false, false},  // beyond the last line the values stay
  };
  for (long pass = 0; pass < 9; ++pass) {
    SCOPED_TRACE(pass);
    const PassInput in = play.at(pass);
    const Want& w = want[pass];
    EXPECT_EQ(in.pointer.x, w.x);
    EXPECT_EQ(in.pointer.y, w.y);
    EXPECT_EQ(in.pointer.left, w.left);
    EXPECT_EQ(in.pointer.right, w.right);
    EXPECT_EQ(in.escape, w.esc);
    EXPECT_EQ(in.ctrl_key, w.ctrl);
  }
}

TEST(InputPlayback, SkippedPassesTakeTheLatestLine) {
  const InputScript s = parse_ok("1 1 1 0 0\n3 3 3 0 0 0 1\n5 5 5 1 0\n");
  InputPlayback play(s);
  const PassInput in = play.at(6);
  EXPECT_EQ(in.pointer.x, 5);
  EXPECT_TRUE(in.pointer.left);
  EXPECT_FALSE(in.ctrl_key);  // the Ctrl press belonged to pass 3
}

TEST(InputRecorder, RecordedLinesReplayToTheSameInputOnEveryPass) {
  // What a window saw, pass by pass.
  std::vector<PassInput> live;
  auto add = [&](int n, int x, int y, bool l, bool r, bool esc, bool ctrl) {
    for (int i = 0; i < n; ++i) {
      PassInput in;
      in.pointer = PointerSample{x, y, l, r};
      in.escape = esc;
      in.ctrl_key = ctrl && i == 0;
      live.push_back(in);
    }
  };
  add(3, 0, 0, false, false, false, false);
  add(4, 320, 240, false, false, false, false);
  add(2, 320, 240, true, false, false, false);
  add(1, 320, 240, true, false, false, true);  // Ctrl with nothing else changing
  add(3, -15, 700, false, true, true, false);
  add(2, -15, 700, false, true, true, true);
  add(5, 0, 0, false, false, false, false);

  InputRecorder recorder;
  std::string text = "# recorded\n";
  int lines = 0;
  for (size_t pass = 0; pass < live.size(); ++pass) {
    InputLine line;
    if (recorder.record(static_cast<long>(pass), live[pass], &line)) {
      text += format_input_line(line) + "\n";
      ++lines;
    }
  }
  EXPECT_EQ(lines, 6) << text;

  const InputScript s = parse_ok(text);
  InputPlayback play(s);
  for (size_t pass = 0; pass < live.size(); ++pass) {
    EXPECT_EQ(play.at(static_cast<long>(pass)), live[pass]) << "pass " << pass << "\n" << text;
  }
}

TEST(InputRecorder, FormatWritesOptionalColumnsOnlyWhenNeeded) {
  EXPECT_EQ(format_input_line({3, 10, -2, true, false, false, false}), "3 10 -2 1 0");
  EXPECT_EQ(format_input_line({4, 10, 20, false, true, true, false}), "4 10 20 0 1 1");
  EXPECT_EQ(format_input_line({5, 0, 0, false, false, false, true}), "5 0 0 0 0 0 1");
}

TEST(InputScriptParse, KeysAreNamesJoinedByPlus) {
  const InputScript s = parse_ok(
      "0 1 2 0 0 0 0 tab\n"
      "1 1 2 0 0 0 0 left+right+up+down\n"
      "2 1 2 0 0 0 0 space+f11+m+t\n"
      "3 1 2 0 0 0 0 -\n"
      "4 1 2 0 0\n");
  ASSERT_EQ(s.lines.size(), 5u);
  EXPECT_EQ(s.lines[0].keys, kKeyTab);
  EXPECT_EQ(s.lines[1].keys, kKeyLeft | kKeyRight | kKeyUp | kKeyDown);
  EXPECT_EQ(s.lines[2].keys, kKeySpace | kKeyF11 | kKeyM | kKeyT);
  EXPECT_EQ(s.lines[3].keys, 0);
  EXPECT_EQ(s.lines[4].keys, 0) << "a line without KEYS holds none";
  for (uint16_t keys = 0; keys < 512; ++keys) {
    uint16_t back = 0;
    ASSERT_TRUE(parse_keys(format_keys(keys), &back)) << format_keys(keys);
    EXPECT_EQ(back, keys);
  }
}

// A key is pressed once where a line first holds it, and again only after a line let it go.
TEST(InputPlayback, KeysHoldUntilTheNextLineAndPressWhereTheyGoDown) {
  const InputScript s = parse_ok(
      "1 0 0 0 0 0 0 space\n"
      "3 0 0 0 0 0 0 space+tab\n"
      "4 0 0 0 0 0 0 space\n"
      "6 0 0 0 0 0 0 tab\n"
      "7 0 0 0 0\n");
  InputPlayback play(s);
  const KeySample want[] = {
      {0, 0},         {kKeySpace, kKeySpace}, {kKeySpace, 0},     {kKeySpace | kKeyTab, kKeyTab},
      {kKeySpace, 0}, {kKeySpace, 0},         {kKeyTab, kKeyTab}, {0, 0},
      {0, 0},
  };
  for (long pass = 0; pass < 9; ++pass) {
    SCOPED_TRACE(pass);
    const PassInput in = play.at(pass);
    EXPECT_EQ(in.keys.held, want[pass].held);
    EXPECT_EQ(in.keys.pressed, want[pass].pressed);
  }
}

// Presses a replay must repeat, also a tap so short that the key was up again at the sample,
// and keys held over many passes.
TEST(InputRecorder, KeysReplayToTheSamePresses) {
  std::vector<PassInput> live(20);
  live[3].keys = {0, kKeyTab};            // a tap between two samples
  live[5].keys = {kKeySpace, kKeySpace};  // Space down...
  for (int p = 6; p < 12; ++p) live[p].keys = {kKeySpace, 0};
  live[9].keys = {kKeySpace | kKeyLeft, kKeyLeft};
  live[10].keys = {kKeySpace | kKeyLeft, 0};
  live[14].keys = {0, kKeyT};
  live[16].keys = {0, kKeyT};  // tapped again, up at the pass between

  InputRecorder recorder;
  std::string text;
  for (size_t pass = 0; pass < live.size(); ++pass) {
    InputLine line;
    if (recorder.record(static_cast<long>(pass), live[pass], &line))
      text += format_input_line(line) + "\n";
  }
  const InputScript s = parse_ok(text);
  InputPlayback play(s);
  for (size_t pass = 0; pass < live.size(); ++pass) {
    SCOPED_TRACE("pass " + std::to_string(pass) + "\n" + text);
    const PassInput in = play.at(static_cast<long>(pass));
    EXPECT_EQ(in.keys.pressed, live[pass].keys.pressed);
    EXPECT_EQ(in.keys.held, live[pass].keys.held | live[pass].keys.pressed);
  }
}

TEST(InputRecorder, KeysGoLastWithTheColumnsBeforeThem) {
  InputLine line{6, 1, 2, false, false, false, false, kKeyTab | kKeySpace};
  EXPECT_EQ(format_input_line(line), "6 1 2 0 0 0 0 tab+space");
  line.esc = true;
  line.ctrl = true;
  EXPECT_EQ(format_input_line(line), "6 1 2 0 0 1 1 tab+space");
}

}  // namespace
