// Runs the real nevalt program headless on a private copy of a data folder and hands back its
// exit code, its messages, the parsed state dump and the screenshot. The copy keeps SAVE.TXT
// and everything else a run writes out of the build.
#pragma once

#include <SDL.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

enum class Data {
  kBuilt,      // the data folder the build generated
  kSynthetic,  // plain pictures made here: enough to start, nothing drawn on them
};

struct RunPlan {
  std::string script;  // input script; empty: no --input
  long ticks = 1;
  Data data = Data::kBuilt;
  bool screenshot = true;
  bool dump = true;
  std::vector<std::string> args;                 // further options
  std::function<void(const fs::path&)> prepare;  // changes the data copy before the run
};

struct GameRun {
  int exit_code = -1;
  std::string out;
  std::string err;
  nlohmann::json dump;  // null without a dump
  fs::path png;         // empty without a screenshot
  fs::path dir;         // everything of this run; removed with it
  fs::path data;

  GameRun() = default;
  GameRun(const GameRun&) = delete;
  GameRun& operator=(const GameRun&) = delete;
  GameRun(GameRun&& o) noexcept { *this = std::move(o); }
  GameRun& operator=(GameRun&& o) noexcept {
    exit_code = o.exit_code;
    out = std::move(o.out);
    err = std::move(o.err);
    dump = std::move(o.dump);
    png = std::move(o.png);
    dir = std::move(o.dir);
    data = std::move(o.data);
    o.dir.clear();
    return *this;
  }
  ~GameRun() {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }
};

inline std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

inline std::string read_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline fs::path make_temp_dir() {
  std::string tmpl = (fs::temp_directory_path() / "nevalt-e2e-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) return {};
  return tmpl;
}

inline void write_blank_bmp(const fs::path& p, int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 40, 60, 90));
  SDL_SaveBMP(s, p.string().c_str());
  SDL_FreeSurface(s);
}

inline void make_synthetic_data(const fs::path& dir) {
  fs::create_directories(dir);
  for (const char* f : {"Title.bmp", "BG1.bmp", "BG2.bmp"}) write_blank_bmp(dir / f, 640, 480);
  write_blank_bmp(dir / "Window.bmp", 640, 480);
  write_blank_bmp(dir / "TileA.bmp", 512, 512);
  // Plain pictures, but the real sounds and maps: a missing track would add a message box.
  for (const auto& entry : fs::directory_iterator(NEVALT_DATA_DIR)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".mp3" || ext == ".wav" || ext == ".fmf")
      fs::copy_file(entry.path(), dir / entry.path().filename());
  }
}

// The command line of a run: the program, then args, with output into dir.
inline int run_command(const fs::path& dir, const fs::path& cwd,
                       const std::vector<std::string>& args, std::string* out, std::string* err) {
  // Appended piece by piece: GCC 12 warns falsely of overlapping copies (-Wrestrict) in the
  // inlined operator+ of a literal and a string.
  std::string cmd = "cd ";
  cmd += quote(cwd.string());
  cmd += " && ";
  cmd += quote(NEVALT_BINARY);
  for (const std::string& a : args) {
    cmd += ' ';
    cmd += quote(a);
  }
  cmd += " >";
  cmd += quote((dir / "stdout.txt").string());
  cmd += " 2>";
  cmd += quote((dir / "stderr.txt").string());
  const int status = std::system(cmd.c_str());
  *out = read_text(dir / "stdout.txt");
  *err = read_text(dir / "stderr.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline GameRun run_game(const RunPlan& plan) {
  GameRun run;
  run.dir = make_temp_dir();
  run.data = run.dir / "data";
  if (plan.data == Data::kBuilt) {
    fs::copy(NEVALT_DATA_DIR, run.data, fs::copy_options::recursive);
  } else {
    make_synthetic_data(run.data);
  }
  if (plan.prepare) plan.prepare(run.data);

  std::vector<std::string> args = {"--headless", "--ticks", std::to_string(plan.ticks), "--data",
                                   run.data.string()};
  if (!plan.script.empty()) {
    std::ofstream(run.dir / "input.txt") << plan.script;
    args.push_back("--input");
    args.push_back((run.dir / "input.txt").string());
  }
  const fs::path png = run.dir / "shot.png";
  const fs::path dump = run.dir / "state.json";
  if (plan.screenshot) {
    args.push_back("--screenshot");
    args.push_back(png.string());
  }
  if (plan.dump) {
    args.push_back("--dump-state");
    args.push_back(dump.string());
  }
  args.insert(args.end(), plan.args.begin(), plan.args.end());

  run.exit_code = run_command(run.dir, run.dir, args, &run.out, &run.err);
  if (fs::exists(png)) run.png = png;
  if (fs::exists(dump)) run.dump = nlohmann::json::parse(read_text(dump), nullptr, false);
  return run;
}

}  // namespace e2e
