// Fuzz target: SAVE.TXT of any content. The parser reads exactly what "%d,%d" reads (checked
// against sscanf wherever sscanf's own result is defined), "Continue" takes those numbers or
// keeps the old ones and says so, and whatever was read is saved back unchanged.
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "game/campaign.h"
#include "state/game.h"
#include "support/fake_host.h"

namespace {

[[noreturn]] void fault(const char* what, const std::string& text) {
  std::fprintf(stderr, "save file fuzz: %s for the text \"%s\"\n", what, text.c_str());
  std::abort();
}

// sscanf's %d is undefined for a number beyond int; only texts whose digit runs are short
// enough are compared with it.
bool sscanf_is_defined(const std::string& text) {
  int run = 0;
  for (char c : text) {
    run = c >= '0' && c <= '9' ? run + 1 : 0;
    if (run > 9) return false;
  }
  return true;
}

// The reading the game promises, built on strtoll: white space, a sign and digits, a comma right
// after the first number, then the second; numbers beyond 32 bits taken as the nearest limit.
int reference_parse(const char* text, int32_t* first, int32_t* second) {
  const auto clamp = [](long long v) {
    return static_cast<int32_t>(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
  };
  char* end = nullptr;
  const long long a = std::strtoll(text, &end, 10);
  if (end == text) return 0;
  *first = clamp(a);
  if (*end != ',') return 1;
  const char* rest = end + 1;
  const long long b = std::strtoll(rest, &end, 10);
  if (end == rest) return 1;
  *second = clamp(b);
  return 2;
}

// A folder of its own (in memory where there is one: saves sync to the disk), entered only
// while the game reads and writes its save, so the caller's relative paths keep working.
class WorkFolder {
 public:
  WorkFolder() {
    const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string tmpl = std::string(base) + "/nevalt-save-fuzz-XXXXXX";
    if (mkdtemp(tmpl.data()) == nullptr) fault("no work folder", tmpl);
    path_ = tmpl;
  }
  ~WorkFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class Inside {
 public:
  explicit Inside(const std::filesystem::path& dir) : back_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~Inside() { std::filesystem::current_path(back_); }

 private:
  std::filesystem::path back_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FakeHost host;  // takes the message boxes that a bad save file brings
  static WorkFolder folder;
  static Game* const g = [] {
    auto* game = new Game();
    game->form.host = &host;
    return game;
  }();

  // The parser on the text up to its first NUL, as the game reads it.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string c_text = text.c_str();
  constexpr int32_t kUntouched = -77777;
  int32_t stage = kUntouched;
  int32_t max_stage = kUntouched;
  const int read = parse_progress(c_text.c_str(), &stage, &max_stage);
  if (read < 0 || read > 2) fault("parse_progress counted outside 0..2", c_text);
  if (read < 1 && stage != kUntouched) fault("a number was written that was not read", c_text);
  if (read < 2 && max_stage != kUntouched) fault("a second number was invented", c_text);
  int32_t want_stage = kUntouched;
  int32_t want_max = kUntouched;
  if (reference_parse(c_text.c_str(), &want_stage, &want_max) != read || want_stage != stage ||
      want_max != max_stage) {
    fault("read otherwise than the reference reading", c_text);
  }
  if (sscanf_is_defined(c_text)) {
    int a = kUntouched;
    int b = kUntouched;
    int want = std::sscanf(c_text.c_str(), "%d,%d", &a, &b);
    if (want == EOF) want = 0;
    if (want != read) fault("read a different count of numbers than sscanf", c_text);
    if (read >= 1 && a != stage) fault("read a different first number than sscanf", c_text);
    if (read == 2 && b != max_stage) fault("read a different second number than sscanf", c_text);
  }

  // "Continue" on a file of these bytes: the game reads at most the first 4096.
  const Inside inside(folder.path());
  {
    std::FILE* f = std::fopen(kSaveFileName, "wb");
    if (f == nullptr) fault("cannot write the save file", c_text);
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  const std::string head = std::string(text.substr(0, 4096)).c_str();
  int32_t head_stage = 3;
  int32_t head_max = 4;
  const int head_read = parse_progress(head.c_str(), &head_stage, &head_max);
  g->flow.stage_no = 3;
  g->flow.max_stage = 4;
  host.boxes.clear();
  const bool loaded = load_progress(*g);
  if (loaded != (head_read > 0)) fault("load_progress disagrees with the parser", head);
  if (!loaded && host.boxes.size() != 1) fault("a failed load was not told exactly once", head);
  if (loaded && !host.boxes.empty()) fault("a good load showed a message", head);
  if (g->flow.stage_no != head_stage || g->flow.max_stage != head_max) {
    fault("load_progress took other numbers than the parser", head);
  }

  // Whatever was read is saved back and reads the same again.
  if (!save_progress(*g)) fault("the save could not be written", head);
  int32_t again_stage = 0;
  int32_t again_max = 0;
  char back[64] = {};
  {
    std::FILE* f = std::fopen(kSaveFileName, "rb");
    if (f == nullptr) fault("the save vanished", head);
    std::fread(back, 1, sizeof back - 1, f);
    std::fclose(f);
  }
  if (parse_progress(back, &again_stage, &again_max) != 2 || again_stage != g->flow.stage_no ||
      again_max != g->flow.max_stage) {
    fault("a saved pair of numbers did not read back", back);
  }
  if (std::filesystem::exists(std::string(kSaveFileName) + ".tmp")) {
    fault("the temporary save was left behind", head);
  }
  return 0;
}
