// The real program in its window: on SDL's dummy video driver where no display is needed (a real
// window host with its mixer, its event loop and its signal handling), and on a virtual X server
// where the test needs a screen to move the window on (skipped where the machine has none).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/background_game.h"
#include "e2e/run_game.h"

namespace {

namespace fs = std::filesystem;
using e2e::Child;
using e2e::ChildResult;
using e2e::Workspace;

bool has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

size_t count_of(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

nlohmann::json read_dump(const fs::path& p) {
  return nlohmann::json::parse(e2e::read_text(p), nullptr, false);
}

int sounds_played(const nlohmann::json& dump, int n) {
  int played = 0;
  for (const auto& a : dump["audio"]) played += a["kind"] == "sound" && a["n"] == n;
  return played;
}

// Effects that are no plain file of a sane size: a link to an endless device, a sparse file of
// 20 MB, a folder. The built-in player clicks through the title and the intermission, each click
// playing se01.wav; the game goes on, says once which file it passed over, and ends on time.
TEST(Window, EffectsThatAreNoPlainFileOfASaneSizeArePassedOverAndTheGamePlaysOn) {
  const struct {
    const char* name;
    void (*make)(const fs::path&);
    const char* said;
  } cases[] = {
      {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
       "not a regular file"},
      {"a 20 MB file",
       [](const fs::path& p) {
         std::ofstream(p, std::ios::binary) << "RIFF";
         fs::resize_file(p, 20u << 20);
       },
       "larger than 16 MB"},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Workspace w;
    fs::remove(w.data / "se01.wav");
    c.make(w.data / "se01.wav");
    Child game;
    ASSERT_TRUE(game.start(NEVALT_BINARY,
                           {"--data", w.data.string(), "--autoplay", "--seed", "5", "--ticks",
                            "150", "--dump-state", (w.dir / "state.json").string()},
                           e2e::dummy_window()));
    const ChildResult r = game.wait(120);
    ASSERT_FALSE(r.timed_out) << "the game hung";
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(count_of(r.err, "se01.wav"), 1u) << r.err;
    EXPECT_TRUE(has(r.err, c.said)) << r.err;
    const nlohmann::json dump = read_dump(w.dir / "state.json");
    ASSERT_FALSE(dump.is_discarded());
    EXPECT_EQ(dump["pass"], 150);
    EXPECT_GE(sounds_played(dump, 1), 2) << "the clicks went on past the silent effect";
  }
}

// SIGTERM ends the program from a modal message box (here: the title music is missing, and
// nobody closes the box), and in the middle of play with an effect that would never end.
TEST(Window, SigtermEndsTheProgramFromAMessageBoxAndFromPlay) {
  const struct {
    const char* name;
    void (*prepare)(const fs::path& data);
    bool autoplay;
  } cases[] = {
      {"a message box waiting for OK",
       [](const fs::path& d) { fs::remove(d / "tatsumakinotourai.mp3"); }, false},
      // Refused as no regular file, where the decoder would search it for a frame for ever.
      {"a message box about a title track that never ends",
       [](const fs::path& d) {
         fs::remove(d / "tatsumakinotourai.mp3");
         fs::create_symlink("/dev/zero", d / "tatsumakinotourai.mp3");
       },
       false},
      {"the built-in player clicking on an endless effect",
       [](const fs::path& d) {
         fs::remove(d / "se01.wav");
         fs::create_symlink("/dev/zero", d / "se01.wav");
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Workspace w;
    c.prepare(w.data);
    const fs::path record = w.dir / "record.txt";
    std::vector<std::string> args = {
        "--data",   w.data.string(), "--ticks",      "100000000",
        "--record", record.string(), "--dump-state", (w.dir / "state.json").string()};
    if (c.autoplay) args.push_back("--autoplay");
    Child game;
    ASSERT_TRUE(game.start(NEVALT_BINARY, args, e2e::dummy_window()));
    // The recording's first lines are written once the window and its signal handling are up.
    ASSERT_TRUE(e2e::eventually(60, [&] {
      std::error_code ec;
      return fs::file_size(record, ec) > 0 || !game.running();
    }));
    ASSERT_TRUE(game.running());
    // Long enough to be inside the box or the play: the outcome must be the same whenever.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    game.signal(SIGTERM);
    const ChildResult r = game.wait(60);
    ASSERT_FALSE(r.timed_out) << "SIGTERM was not heeded";
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    const nlohmann::json dump = read_dump(w.dir / "state.json");
    ASSERT_FALSE(dump.is_discarded());
    EXPECT_TRUE(dump["closed"].get<bool>());
    if (!c.autoplay) {
      ASSERT_EQ(dump["messages"].size(), 1u);
      EXPECT_TRUE(has(dump["messages"][0]["text"].get<std::string>(), "tatsumakinotourai.mp3"))
          << dump["messages"][0];
      EXPECT_LE(dump["pass"].get<long>(), 1) << "the box holds the passes until the end";
    }
  }
}

TEST(Window, ARecordingThatCannotBeWrittenFailsTheRun) {
  {
    // Not even its first lines: the game does not start.
    Workspace w;
    Child game;
    ASSERT_TRUE(game.start(NEVALT_BINARY,
                           {"--data", w.data.string(), "--ticks", "20", "--record", "/dev/full",
                            "--dump-state", (w.dir / "state.json").string()},
                           e2e::dummy_window()));
    const ChildResult r = game.wait(60);
    ASSERT_FALSE(r.timed_out);
    EXPECT_NE(r.exit_code, 0);
    EXPECT_TRUE(has(r.err, "recording /dev/full")) << r.err;
    EXPECT_FALSE(fs::exists(w.dir / "state.json")) << "the game started all the same";
  }
  {
    // A disk that fills in the middle of the game (here a file-size limit): the game plays on,
    // says so at once, writes the state dump and ends with a failure.
    Workspace w;
    const fs::path fifo = w.dir / "state.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    e2e::ChildSetup setup = e2e::dummy_window();
    setup.file_size_limit = 600;
    Child game;
    ASSERT_TRUE(
        game.start(NEVALT_BINARY,
                   {"--data", w.data.string(), "--autoplay", "--seed", "5", "--ticks", "400",
                    "--record", (w.dir / "record.txt").string(), "--dump-state", fifo.string()},
                   setup));
    game.read_fifo(fifo);
    const ChildResult r = game.wait(120);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exit_code, 1) << r.err;
    EXPECT_TRUE(has(r.err, "cannot write the recording")) << r.err;
    const nlohmann::json dump = nlohmann::json::parse(game.fifo_text(), nullptr, false);
    ASSERT_FALSE(dump.is_discarded()) << game.fifo_text().substr(0, 200);
    EXPECT_EQ(dump["pass"], 400);
  }
}

// A virtual X server of its own for one test, with a display number it chose itself, so tests
// running side by side never share one.
class VirtualDisplay {
 public:
  bool start() {
    if (!on_path("Xvfb") || !on_path("xdotool")) return false;
    if (!server_.start(find("Xvfb"),
                       {"-displayfd", "1", "-screen", "0", "2048x1536x24", "-nolisten", "tcp"},
                       {})) {
      return false;
    }
    return e2e::eventually(30, [&] {
      const std::string& out = server_.out_so_far();
      if (out.find('\n') == std::string::npos) return false;
      // Appended, not `":" + ...`: GCC 12 warns falsely of overlapping copies (-Wrestrict) in
      // the inlined operator+ of a literal and a temporary string in a Release build.
      display_ = ":";
      display_ += out.substr(0, out.find('\n'));
      return true;
    });
  }
  const std::string& display() const { return display_; }
  // Runs xdotool on this display; its output.
  std::string xdotool(const std::string& args) const {
    const std::string cmd = "DISPLAY=" + display_ + " xdotool " + args + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
      char buf[256];
      while (fgets(buf, sizeof buf, p) != nullptr) out += buf;
      pclose(p);
    }
    return out;
  }

 private:
  static std::string find(const char* tool) {
    for (const char* dir : {"/usr/bin/", "/usr/local/bin/", "/bin/"}) {
      if (access((std::string(dir) + tool).c_str(), X_OK) == 0) return std::string(dir) + tool;
    }
    return "";
  }
  static bool on_path(const char* tool) { return !find(tool).empty(); }

  e2e::Child server_;
  std::string display_;
};

// Starts the program on the display at scale 2 with `args` and moves its window to the corner
// (0, 0), which SDL does not report, so a picture pixel (x, y) is at (2x, 2y) on the screen.
void start_in_corner(const VirtualDisplay& x, Child& game, const std::vector<std::string>& args) {
  e2e::ChildSetup setup;
  setup.env = {{"DISPLAY", x.display()},
               {"SDL_AUDIODRIVER", "dummy"},
               {"LSAN_OPTIONS", e2e::lsan_options()}};
  setup.unset_env = {"SDL_VIDEODRIVER"};
  std::vector<std::string> all = {"--scale", "2", "--mute", "--ticks", "100000000"};
  all.insert(all.end(), args.begin(), args.end());
  ASSERT_TRUE(game.start(NEVALT_BINARY, all, setup));
  const std::string pid = std::to_string(game.pid());
  std::string window;
  ASSERT_TRUE(e2e::eventually(60, [&] {
    window = x.xdotool("search --onlyvisible --pid " + pid);
    return !window.empty() || !game.running();
  }));
  ASSERT_TRUE(game.running()) << game.wait(1).err;
  window = window.substr(0, window.find('\n'));
  // Centred on the screen first, so that the corner is a real move away.
  EXPECT_TRUE(has(x.xdotool("getwindowgeometry " + window), "384,288")) << "not centred";
  x.xdotool("windowmove " + window + " 0 0");
  ASSERT_TRUE(e2e::eventually(
      10, [&] { return has(x.xdotool("getwindowgeometry " + window), "Position: 0,0"); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

// A click of the left button at picture pixel (px, py) of a window in the corner.
void click(const VirtualDisplay& x, int px, int py) {
  x.xdotool("mousemove " + std::to_string(2 * px) + " " + std::to_string(2 * py));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  x.xdotool("mousedown 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  x.xdotool("mouseup 1");
}

// Ends the program with SIGTERM, which SDL turns into the quit the close box sends, and reads
// the state dump it writes on the way out.
nlohmann::json close_and_read(Child& game, const fs::path& dump) {
  game.signal(SIGTERM);
  const ChildResult r = game.wait(60);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return read_dump(dump);
}

// With the window moved to (0, 0), which SDL does not report, a click where "Start" is drawn
// must be the click on "Start".
TEST(Window, AfterTheWindowIsMovedToTheCornerAClickLandsWhereThePictureIs) {
  VirtualDisplay x;
  if (!x.start()) GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps installs them)";
  Workspace w;
  Child game;
  start_in_corner(x, game,
                  {"--data", w.data.string(), "--dump-state", (w.dir / "state.json").string()});
  if (HasFatalFailure()) return;
  click(x, 300, 340);  // "Start"
  // The intermission shows when its music starts; give the game its time, then close it.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const nlohmann::json dump = close_and_read(game, w.dir / "state.json");
  ASSERT_FALSE(dump.is_discarded());
  EXPECT_EQ(dump["scene"], 11) << "the click did not reach \"Start\"";
}

// With --assist, the window closed on the map of a resumed battle writes the battle anew (the
// quit SIGTERM sends is the close the window's box sends).
TEST(Window, ClosingTheWindowOnTheMapKeepsTheBattle) {
  VirtualDisplay x;
  if (!x.start()) GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps installs them)";
  Workspace w;
  // A battle file of the first stage's start, from a headless run.
  e2e::RunPlan sortie;
  sortie.script = "0 0 0 0 0\n2 300 340 1 0\n3 300 340 0 0\n6 630 185 1 0\n7 630 185 0 0\n";
  sortie.ticks = 10;
  sortie.args = {"--assist"};
  const e2e::GameRun made = e2e::run_game(sortie);
  ASSERT_EQ(made.exit_code, 0) << made.err;
  fs::copy_file(made.data / "BATTLE.DAT", w.data / "BATTLE.DAT");
  std::ofstream(w.data / "SAVE.TXT") << "0,0";
  struct stat before {};
  ASSERT_EQ(::stat((w.data / "BATTLE.DAT").c_str(), &before), 0);

  Child game;
  start_in_corner(
      x, game,
      {"--data", w.data.string(), "--assist", "--dump-state", (w.dir / "state.json").string()});
  if (HasFatalFailure()) return;
  click(x, 300, 370);  // "Continue"
  // The banner and the pauses of the turn's start take about three seconds.
  std::this_thread::sleep_for(std::chrono::seconds(5));
  const nlohmann::json dump = close_and_read(game, w.dir / "state.json");
  ASSERT_FALSE(dump.is_discarded());
  ASSERT_EQ(dump["scene"], 100) << "not on the map of the resumed battle";
  EXPECT_TRUE(dump["messages"].empty()) << dump["messages"];
  struct stat after {};
  ASSERT_EQ(::stat((w.data / "BATTLE.DAT").c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "not written anew on closing";
  EXPECT_EQ(e2e::read_text(w.data / "BATTLE.DAT"), e2e::read_text(made.data / "BATTLE.DAT"))
      << "nothing was done since the turn began";
  EXPECT_FALSE(fs::exists(w.data / "BATTLE.DAT.tmp"));
}

}  // namespace
