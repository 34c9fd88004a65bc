// balance: how the stages play. Every stage is started straight from a save file ("Continue",
// then "出撃") and played headless by the built-in player, once per seed; the outcomes, the
// turns taken and the losses (from each run's state dump) go to a Markdown table. With
// --campaign it plays one campaign from "Start" through the ending instead and tells how it went.
#include <stdlib.h>
#include <sys/wait.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "run.h"
#include "state/scene.h"
#include "targets.h"

namespace fs = std::filesystem;
using balance::fixed1;
using balance::Run;

namespace {

std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string read_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A folder of its own for one run: links to the game's files, and the save file if any.
fs::path make_run_dir(const fs::path& data, const std::string& save) {
  std::string tmpl = (fs::temp_directory_path() / "nevalt-balance-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) return {};
  const fs::path dir = tmpl;
  fs::create_directories(dir / "data");
  for (const auto& entry : fs::directory_iterator(data)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("SAVE.TXT", 0) == 0) continue;
    fs::create_symlink(fs::absolute(entry.path()), dir / "data" / name);
  }
  if (!save.empty()) std::ofstream(dir / "data" / "SAVE.TXT", std::ios::binary) << save;
  return dir;
}

struct Played {
  int exit_code = -1;
  nlohmann::json dump;
  std::string output;
  double seconds = 0;
};

Played play(const std::string& binary, const fs::path& dir, long seed, long ticks, int battles) {
  Played p;
  std::string cmd = quote(binary) + " --headless --autoplay --seed " + std::to_string(seed) +
                    " --ticks " + std::to_string(ticks) + " --data " +
                    quote((dir / "data").string()) + " --dump-state " +
                    quote((dir / "state.json").string());
  if (battles > 0) cmd += " --autoplay-battles " + std::to_string(battles);
  cmd += " >" + quote((dir / "out.txt").string()) + " 2>&1";
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(cmd.c_str());
  p.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  p.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  p.output = read_text(dir / "out.txt");
  if (fs::exists(dir / "state.json")) {
    p.dump = nlohmann::json::parse(read_text(dir / "state.json"), nullptr, false);
  }
  return p;
}

Run play_stage(const std::string& binary, const fs::path& data, int stage, long seed, long ticks) {
  Run r;
  r.stage = stage;
  r.seed = seed;
  const fs::path dir =
      make_run_dir(data, std::to_string(stage - 1) + "," + std::to_string(stage - 1));
  if (dir.empty()) {
    r.note = "cannot make a folder for the run";
    return r;
  }
  const Played p = play(binary, dir, seed, ticks, 1);
  r.seconds = p.seconds;
  std::error_code ec;
  fs::remove_all(dir, ec);
  if (p.exit_code != 0 || !p.dump.is_object()) {
    r.note = "exit " + std::to_string(p.exit_code) + ": " + p.output.substr(0, 200);
    return r;
  }
  if (!p.dump["messages"].empty())
    r.note = "message box: " + p.dump["messages"][0]["text"].get<std::string>();
  const nlohmann::json& battles = p.dump["autoplay"]["battles"];
  if (battles.empty()) return r;
  const nlohmann::json& b = battles[0];
  r.outcome = b["outcome"];
  if (b["stage"] != stage)
    r.note += " (played stage " + std::to_string(b["stage"].get<int>()) + ")";
  if (r.outcome == "unfinished") r.outcome = "pass limit";
  r.turns = b["turns"];
  r.units_lost = b["units_lost"];
  r.hqs_lost = b["hqs_lost"];
  r.units_built = b["units_built"];
  r.enemies_destroyed = b["enemies_destroyed"];
  r.hqs_taken = b["hqs_taken"];
  r.cancels = b["cancels"];
  r.passes = b["passes"];
  return r;
}

const char* verdict_text(balance::Verdict v) {
  switch (v) {
    case balance::Verdict::kMet:
      return "met";
    case balance::Verdict::kMissed:
      return "**missed**";
    case balance::Verdict::kNotMeasured:
      break;
  }
  return "not measured";
}

std::string report(const std::vector<Run>& runs, const std::vector<long>& seeds, long ticks) {
  std::ostringstream o;
  o << "# Balance\n\n"
    << "Every stage played headless by the built-in player (`src/bot`, `--autoplay`), started "
       "from a save file with \"Continue\" and \"出撃\", once per seed ("
    << seeds.size() << " seeds: ";
  for (size_t i = 0; i < seeds.size(); ++i) o << (i ? ", " : "") << seeds[i];
  o << "), at most " << ticks
    << " passes a run. Written by `make balance` (`tools/balance`); do not edit by hand.\n\n"
    << "*Turns* are the player's turns begun; *lost* counts our units destroyed, *HQs lost* "
       "our HQs taken by the enemy, *built* the units our HQs placed, *destroyed* the enemy "
       "units we destroyed (HQs not counted), *taken* the enemy HQs we took, *cancels* the "
       "actions the player gave up with the right button. Passes are 30 ms each in the window.\n\n"
    << "## Targets\n\n"
    << "What the stages are held to, judged from the runs below. A stage won in a median of "
       "few turns is one a person finishes in a sitting; a stalled run is a stalemate. Win "
       "counts are out of 12 runs. The map's own targets (the first stage's safe start, the "
       "player's HQ on every first screen) are checked by the test suite.\n\n"
    << "| target | measured | result |\n"
    << "|---|---|---|\n";
  for (const balance::Target& t : balance::check_targets(runs)) {
    o << "| " << t.text << " | " << (t.measured.empty() ? "–" : t.measured) << " | "
      << verdict_text(t.verdict) << " |\n";
  }
  o << "\n## Per stage\n\n"
    << "| stage | won | turns (median of wins) | turns (mean of wins) | longest run (turns) | "
       "lost (median) | lost (mean) | HQs lost (mean) | built (mean) | destroyed (mean) |\n"
    << "|---|---|---|---|---|---|---|---|---|---|\n";
  std::map<int, std::vector<const Run*>> by_stage;
  for (const Run& r : runs) by_stage[r.stage].push_back(&r);
  for (const auto& [stage, list] : by_stage) {
    int wins = 0;
    int longest = 0;
    double turns = 0, lost = 0, hqs = 0, built = 0, destroyed = 0;
    std::vector<double> win_turns;
    std::vector<double> losses;
    for (const Run* r : list) {
      if (r->outcome == "victory") {
        ++wins;
        turns += r->turns;
        win_turns.push_back(r->turns);
      }
      longest = std::max(longest, r->turns);
      losses.push_back(r->units_lost);
      lost += r->units_lost;
      hqs += r->hqs_lost;
      built += r->units_built;
      destroyed += r->enemies_destroyed;
    }
    const double n = static_cast<double>(list.size());
    o << "| " << stage << " | " << wins << " / " << list.size() << " | "
      << (wins ? fixed1(balance::median(win_turns)) : std::string("–")) << " | "
      << (wins ? fixed1(turns / wins) : std::string("–")) << " | " << longest << " | "
      << fixed1(balance::median(losses)) << " | " << fixed1(lost / n) << " | " << fixed1(hqs / n)
      << " | " << fixed1(built / n) << " | " << fixed1(destroyed / n) << " |\n";
  }
  o << "\n## Every run\n\n"
    << "| stage | seed | outcome | turns | lost | HQs lost | built | destroyed | taken | cancels | "
       "passes | seconds | note |\n"
    << "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
  for (const Run& r : runs) {
    o << "| " << r.stage << " | " << r.seed << " | " << r.outcome << " | " << r.turns << " | "
      << r.units_lost << " | " << r.hqs_lost << " | " << r.units_built << " | "
      << r.enemies_destroyed << " | " << r.hqs_taken << " | " << r.cancels << " | " << r.passes
      << " | " << fixed1(r.seconds) << " | " << r.note << " |\n";
  }
  return o.str();
}

int run_campaign(const std::string& binary, const fs::path& data, long seed, long ticks) {
  const fs::path dir = make_run_dir(data, "");
  if (dir.empty()) {
    std::cerr << "balance: cannot make a folder for the run\n";
    return 1;
  }
  std::cout << "Playing the campaign from \"Start\" with seed " << seed << " (at most " << ticks
            << " passes)..." << std::endl;
  const Played p = play(binary, dir, seed, ticks, 0);
  std::error_code ec;
  fs::remove_all(dir, ec);
  if (p.exit_code != 0 || !p.dump.is_object()) {
    std::cerr << "balance: the game failed (exit " << p.exit_code << "):\n" << p.output;
    return 1;
  }
  const nlohmann::json& d = p.dump;
  const nlohmann::json& a = d["autoplay"];
  int victories = 0;
  int defeats = 0;
  for (const auto& b : a["battles"]) {
    std::cout << "  Stage " << b["stage"] << ": " << b["outcome"].get<std::string>() << " in "
              << b["turns"] << " turns, " << b["units_lost"] << " units lost, " << b["passes"]
              << " passes\n";
    if (b["outcome"] == "victory") ++victories;
    if (b["outcome"] == "defeat") ++defeats;
  }
  const bool ended = a["finished"].get<bool>() && d["scene"].get<int>() == kSceneIntermission &&
                     d["stage_no"] == 9 && victories >= 10;
  std::cout << (ended ? "The campaign was played through to the ending and back to the "
                        "intermission"
                      : "The campaign did NOT reach the ending")
            << ": " << victories << " victories, " << defeats << " defeats, " << d["pass"]
            << " passes, " << fixed1(p.seconds) << " s; scene " << d["scene"] << ", "
            << d["messages"].size() << " message boxes.\n";
  for (const auto& m : d["messages"]) std::cout << "  message: " << m["text"] << "\n";
  return ended && d["messages"].empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Plays the stages with the built-in player and writes how they went."};
  std::string binary = NEVALT_BINARY_DEFAULT;
  std::string data = NEVALT_DATA_DEFAULT;
  std::string out = NEVALT_BALANCE_OUT_DEFAULT;
  int seeds = 12;
  int first_stage = 1;
  int last_stage = 10;
  int jobs = 2;
  long ticks = 400000;
  bool campaign = false;
  long campaign_seed = 1;
  app.add_option("--binary", binary, "The nevalt program");
  app.add_option("--data", data, "The game's data folder (never written)");
  app.add_option("--out", out, "Where to write the Markdown report");
  app.add_option("--seeds", seeds, "Seeds 1 to N for every stage")->check(CLI::Range(1, 1000));
  app.add_option("--first", first_stage, "First stage (1 to 10)")->check(CLI::Range(1, 10));
  app.add_option("--last", last_stage, "Last stage (1 to 10)")->check(CLI::Range(1, 10));
  app.add_option("--jobs", jobs, "Games run at once")->check(CLI::Range(1, 64));
  app.add_option("--ticks", ticks, "Pass limit of one run")->check(CLI::Range(1L, 1L << 40));
  app.add_flag("--campaign", campaign, "Play one campaign from \"Start\" to the ending instead");
  app.add_option("--campaign-seed", campaign_seed, "Seed of the campaign run");
  CLI11_PARSE(app, argc, argv);

  if (campaign) return run_campaign(binary, data, campaign_seed, ticks);

  std::vector<long> seed_list;
  for (int s = 1; s <= seeds; ++s) seed_list.push_back(s);
  std::vector<Run> runs;
  for (int stage = first_stage; stage <= last_stage; ++stage) {
    for (long seed : seed_list) {
      Run r;
      r.stage = stage;
      r.seed = seed;
      runs.push_back(r);
    }
  }
  std::atomic<size_t> next{0};
  std::mutex print;
  std::vector<std::thread> workers;
  for (int j = 0; j < jobs; ++j) {
    workers.emplace_back([&] {
      for (size_t i = next++; i < runs.size(); i = next++) {
        runs[i] = play_stage(binary, data, runs[i].stage, runs[i].seed, ticks);
        const std::lock_guard<std::mutex> lock(print);
        std::cout << "stage " << runs[i].stage << " seed " << runs[i].seed << ": "
                  << runs[i].outcome << ", " << runs[i].turns << " turns, " << runs[i].units_lost
                  << " lost, " << fixed1(runs[i].seconds) << " s " << runs[i].note << std::endl;
      }
    });
  }
  for (std::thread& t : workers) t.join();

  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file << report(runs, seed_list, ticks);
  file.close();
  if (!file) {
    std::cerr << "balance: cannot write " << out << "\n";
    return 1;
  }
  std::cout << "Wrote " << out << "\n";
  return 0;
}
