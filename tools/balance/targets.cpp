#include "targets.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

namespace balance {

namespace {

// A person should finish a stage in one sitting: the first in a dozen turns, the next three in
// twenty, none in more than thirty; and no battle may stall.
constexpr int kFirstStageTurns = 12;
constexpr int kEarlyStagesTurns = 20;
constexpr int kAnyStageTurns = 30;
constexpr int kLongestRun = 80;
// Win counts are out of this many runs.
constexpr int kDozen = 12;
// The first two stages teach and are nearly always won; the last three are lost now and then;
// between them no stage is much easier than the one before.
constexpr int kEasyStagesWins = 11;
constexpr int kHardStagesWins = 9;
constexpr int kRampRise = 2;
constexpr int kFirstStage = 1;
constexpr int kLastEasyStage = 2;
constexpr int kLastEarlyStage = 4;
constexpr int kFirstHardStage = 8;
constexpr int kLastStage = 10;

struct StageRuns {
  int runs = 0;
  int wins = 0;
  std::vector<double> win_turns;
  int longest = 0;
  long longest_seed = 0;
  int unfinished = 0;  // runs that ended in neither a victory nor a defeat
  long unfinished_seed = 0;
};

std::string stage_label(int s) {
  return "stage " + std::to_string(s);
}

// Wins scaled to a dozen runs, one decimal when the seeds are no dozen.
std::string wins_of_dozen(const StageRuns& r) {
  if (r.runs == kDozen) return std::to_string(r.wins) + " / 12";
  return fixed1(static_cast<double>(r.wins) * kDozen / r.runs) + " / 12";
}

std::string join(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : ", ") + p;
  return out;
}

Verdict verdict_of(bool measured, bool met) {
  if (!measured) return Verdict::kNotMeasured;
  return met ? Verdict::kMet : Verdict::kMissed;
}

// The median winning turns of stages first..last, each at most `limit`.
Target median_target(const std::map<int, StageRuns>& by_stage, int first, int last, int limit,
                     const std::string& text) {
  Target t{text, "", Verdict::kNotMeasured};
  std::vector<std::string> parts;
  bool measured = false;
  bool met = true;
  double worst = -1;
  int worst_stage = 0;
  for (int s = first; s <= last; ++s) {
    const auto it = by_stage.find(s);
    if (it == by_stage.end()) continue;
    measured = true;
    const StageRuns& r = it->second;
    if (r.win_turns.empty()) {
      met = false;
      parts.push_back(stage_label(s) + ": no win");
      continue;
    }
    const double m = median(r.win_turns);
    met = met && m <= limit;
    parts.push_back(stage_label(s) + ": " + fixed1(m));
    if (m > worst) {
      worst = m;
      worst_stage = s;
    }
  }
  // Ten stages in one cell are hard to read: the slowest says it all.
  if (parts.size() > 3 && worst >= 0) {
    t.measured = "slowest " + stage_label(worst_stage) + ": " + fixed1(worst);
    for (const std::string& p : parts) {
      if (p.find("no win") != std::string::npos) t.measured += "; " + p;
    }
  } else {
    t.measured = join(parts);
  }
  t.verdict = verdict_of(measured, met);
  return t;
}

// The wins of stages first..last out of a dozen, at least `least` or at most `most`.
Target wins_target(const std::map<int, StageRuns>& by_stage, int first, int last, int least,
                   int most, const std::string& text) {
  std::vector<std::string> parts;
  bool measured = false;
  bool met = true;
  for (int s = first; s <= last; ++s) {
    const auto it = by_stage.find(s);
    if (it == by_stage.end()) continue;
    measured = true;
    const StageRuns& r = it->second;
    // wins / runs against least / 12 and most / 12, in whole numbers.
    met = met && r.wins * kDozen >= least * r.runs && r.wins * kDozen <= most * r.runs;
    parts.push_back(stage_label(s) + ": " + wins_of_dozen(r));
  }
  return Target{text, join(parts), verdict_of(measured, met)};
}

}  // namespace

std::string fixed1(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

std::vector<Target> check_targets(const std::vector<Run>& runs) {
  std::map<int, StageRuns> by_stage;
  for (const Run& run : runs) {
    StageRuns& r = by_stage[run.stage];
    ++r.runs;
    if (run.outcome == "victory") {
      ++r.wins;
      r.win_turns.push_back(run.turns);
    }
    if (run.outcome != "victory" && run.outcome != "defeat" && r.unfinished++ == 0)
      r.unfinished_seed = run.seed;
    if (r.runs == 1 || run.turns > r.longest) {
      r.longest = run.turns;
      r.longest_seed = run.seed;
    }
  }

  std::vector<Target> targets;
  targets.push_back(median_target(
      by_stage, kFirstStage, kFirstStage, kFirstStageTurns,
      "Stage 1 won in a median of at most " + std::to_string(kFirstStageTurns) + " turns"));
  targets.push_back(median_target(
      by_stage, kFirstStage + 1, kLastEarlyStage, kEarlyStagesTurns,
      "Stages 2–4 won in a median of at most " + std::to_string(kEarlyStagesTurns) + " turns"));
  targets.push_back(median_target(
      by_stage, kFirstStage, kLastStage, kAnyStageTurns,
      "Every stage won in a median of at most " + std::to_string(kAnyStageTurns) + " turns"));

  // No stalemate: every run ends in a victory or a defeat, none after more turns than this.
  {
    Target t{"No run longer than " + std::to_string(kLongestRun) +
                 " turns, every run ended in a victory or a defeat",
             "", Verdict::kNotMeasured};
    bool met = true;
    int longest = -1;
    int longest_stage = 0;
    long longest_seed = 0;
    std::vector<std::string> stalled;
    for (const auto& [stage, r] : by_stage) {
      if (r.longest > longest) {
        longest = r.longest;
        longest_stage = stage;
        longest_seed = r.longest_seed;
      }
      if (r.unfinished > 0) {
        met = false;
        stalled.push_back(stage_label(stage) + " seed " + std::to_string(r.unfinished_seed) +
                          " unfinished");
      }
    }
    if (longest >= 0) {
      met = met && longest <= kLongestRun;
      t.measured = "longest " + std::to_string(longest) + " turns (" + stage_label(longest_stage) +
                   ", seed " + std::to_string(longest_seed) + ")";
      if (!stalled.empty()) t.measured += "; " + join(stalled);
    }
    t.verdict = verdict_of(longest >= 0, met);
    targets.push_back(t);
  }

  targets.push_back(
      wins_target(by_stage, kFirstStage, kLastEasyStage, kEasyStagesWins, kDozen,
                  "Stages 1–2 won at least " + std::to_string(kEasyStagesWins) + " of 12"));
  targets.push_back(
      wins_target(by_stage, kFirstHardStage, kLastStage, 0, kHardStagesWins,
                  "Stages 8–10 won at most " + std::to_string(kHardStagesWins) + " of 12"));

  // The ramp: wins[s] / runs[s] <= wins[s-1] / runs[s-1] + 2 / 12, in whole numbers.
  {
    Target t{"No stage won more than " + std::to_string(kRampRise) +
                 " of 12 more often than the stage before",
             "", Verdict::kNotMeasured};
    bool measured = false;
    bool met = true;
    double largest = 0;
    int largest_stage = 0;
    for (const auto& [stage, r] : by_stage) {
      const auto before = by_stage.find(stage - 1);
      if (before == by_stage.end()) continue;
      measured = true;
      const StageRuns& p = before->second;
      met = met && int64_t{kDozen} * r.wins * p.runs <=
                       int64_t{kDozen} * p.wins * r.runs + int64_t{kRampRise} * r.runs * p.runs;
      const double rise = static_cast<double>(r.wins) * kDozen / r.runs -
                          static_cast<double>(p.wins) * kDozen / p.runs;
      if (largest_stage == 0 || rise > largest) {
        largest = rise;
        largest_stage = stage;
      }
    }
    if (measured) {
      const bool whole = largest == static_cast<int>(largest);
      const std::string amount =
          whole ? std::to_string(static_cast<int>(largest)) : fixed1(largest);
      t.measured = largest > 0 ? "largest rise +" + amount + " (" + stage_label(largest_stage) +
                                     " over " + stage_label(largest_stage - 1) + ")"
                               : "no stage won more often than the one before";
    }
    t.verdict = verdict_of(measured, met);
    targets.push_back(t);
  }
  return targets;
}

}  // namespace balance
