#include "targets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using balance::check_targets;
using RunRecord = balance::Run;
using balance::Verdict;

// The targets in the order check_targets gives them.
enum TargetRow {
  kFirstStageTurns,
  kEarlyStagesTurns,
  kAnyStageTurns,
  kNoStalemate,
  kEasyStagesWon,
  kHardStagesLost,
  kRamp,
  kTargetRows
};

// `runs` runs of a stage: the first `wins` won in `win_turns`, the rest lost in `loss_turns`.
void add_stage(std::vector<RunRecord>& out, int stage, int runs, int wins, int win_turns,
               int loss_turns = 20) {
  for (int i = 0; i < runs; ++i) {
    RunRecord r;
    r.stage = stage;
    r.seed = i + 1;
    r.outcome = i < wins ? "victory" : "defeat";
    r.turns = i < wins ? win_turns : loss_turns;
    out.push_back(r);
  }
}

// A campaign that meets every target: a dozen runs a stage, wins falling from 12 to 8.
std::vector<RunRecord> good_campaign() {
  std::vector<RunRecord> runs;
  const int wins[] = {12, 12, 11, 11, 10, 10, 10, 9, 8, 8};
  const int turns[] = {6, 14, 16, 18, 22, 24, 22, 25, 28, 28};
  for (int s = 1; s <= 10; ++s) add_stage(runs, s, 12, wins[s - 1], turns[s - 1]);
  return runs;
}

std::vector<Verdict> verdicts(const std::vector<RunRecord>& runs) {
  std::vector<Verdict> out;
  for (const balance::Target& t : check_targets(runs)) out.push_back(t.verdict);
  return out;
}

TEST(BalanceTargets, AGoodCampaignMeetsEveryTargetAndSaysWhatItMeasured) {
  const auto targets = check_targets(good_campaign());
  ASSERT_EQ(targets.size(), static_cast<size_t>(kTargetRows));
  for (const auto& t : targets) {
    EXPECT_EQ(t.verdict, Verdict::kMet) << t.text << ": " << t.measured;
    EXPECT_FALSE(t.text.empty());
  }
  EXPECT_EQ(targets[kFirstStageTurns].measured, "stage 1: 6.0");
  EXPECT_EQ(targets[kAnyStageTurns].measured, "slowest stage 9: 28.0");
  EXPECT_EQ(targets[kNoStalemate].measured, "longest 28 turns (stage 9, seed 1)");
  EXPECT_EQ(targets[kHardStagesLost].measured,
            "stage 8: 9 / 12, stage 9: 8 / 12, stage 10: 8 / 12");
  EXPECT_EQ(targets[kRamp].measured, "no stage won more often than the one before");
}

// Each case spoils one stage of the good campaign and names the one target that must fail.
struct Spoiled {
  const char* what;
  int stage;
  int runs, wins, win_turns, loss_turns;
  TargetRow missed;  // kTargetRows: every target still met
};

// Printed into the test names, which would otherwise carry the case's raw bytes.
void PrintTo(const Spoiled& c, std::ostream* os) {
  *os << c.what;
}

class OneStageSpoiled : public testing::TestWithParam<Spoiled> {};

TEST_P(OneStageSpoiled, MissesExactlyItsTarget) {
  const Spoiled& c = GetParam();
  std::vector<RunRecord> runs;
  for (const RunRecord& r : good_campaign()) {
    if (r.stage != c.stage) runs.push_back(r);
  }
  add_stage(runs, c.stage, c.runs, c.wins, c.win_turns, c.loss_turns);
  const auto got = verdicts(runs);
  ASSERT_EQ(got.size(), static_cast<size_t>(kTargetRows));
  for (int row = 0; row < kTargetRows; ++row) {
    const Verdict want = row == c.missed ? Verdict::kMissed : Verdict::kMet;
    EXPECT_EQ(got[row], want) << c.what << ", target " << row;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Campaign, OneStageSpoiled,
    testing::Values(
        // The limits themselves still pass.
        Spoiled{"stage 1 in 12 turns", 1, 12, 12, 12, 20, kTargetRows},
        Spoiled{"stage 4 in 20 turns", 4, 12, 11, 20, 20, kTargetRows},
        Spoiled{"a defeat in 80 turns", 6, 12, 10, 24, 80, kTargetRows},
        Spoiled{"stage 2 won 11 times", 2, 12, 11, 14, 20, kTargetRows},
        Spoiled{"stage 10 won 9 times", 10, 12, 9, 28, 20, kTargetRows},
        Spoiled{"stage 5 won 8 times, stage 6 two above it", 5, 12, 8, 22, 20, kTargetRows},
        // One past them fails.
        Spoiled{"stage 1 in 13 turns", 1, 12, 12, 13, 20, kFirstStageTurns},
        Spoiled{"stage 3 in 21 turns", 3, 12, 11, 21, 20, kEarlyStagesTurns},
        Spoiled{"stage 7 in 31 turns", 7, 12, 10, 31, 20, kAnyStageTurns},
        Spoiled{"a defeat in 81 turns", 6, 12, 10, 24, 81, kNoStalemate},
        Spoiled{"stage 2 won 10 times", 2, 12, 10, 14, 20, kEasyStagesWon},
        Spoiled{"stage 9 won 10 times", 9, 12, 10, 28, 20, kHardStagesLost},
        Spoiled{"stage 5 won 7 times, stage 6 three above it", 5, 12, 7, 22, 20, kRamp},
        // Win counts are out of a dozen whatever the number of runs.
        Spoiled{"stage 2 won 22 of 24", 2, 24, 22, 14, 20, kTargetRows},
        Spoiled{"stage 2 won 21 of 24", 2, 24, 21, 14, 20, kEasyStagesWon}));

TEST(BalanceTargets, AStageNeverWonHasNoMedianAndMissesItsTurnsTargets) {
  std::vector<RunRecord> runs;
  for (const RunRecord& r : good_campaign()) {
    if (r.stage != 3) runs.push_back(r);
  }
  add_stage(runs, 3, 12, 0, 0, 20);
  const auto targets = check_targets(runs);
  EXPECT_EQ(targets[kEarlyStagesTurns].verdict, Verdict::kMissed);
  EXPECT_NE(targets[kEarlyStagesTurns].measured.find("stage 3: no win"), std::string::npos);
  EXPECT_EQ(targets[kAnyStageTurns].verdict, Verdict::kMissed);
}

TEST(BalanceTargets, ARunThatNeverEndedIsAStalemateWhateverItsTurns) {
  for (const char* outcome : {"pass limit", "no battle"}) {
    std::vector<RunRecord> runs = good_campaign();
    runs[40].outcome = outcome;
    runs[40].turns = 3;
    const auto targets = check_targets(runs);
    EXPECT_EQ(targets[kNoStalemate].verdict, Verdict::kMissed) << outcome;
    EXPECT_NE(targets[kNoStalemate].measured.find("unfinished"), std::string::npos);
  }
}

TEST(BalanceTargets, StagesThatWereNotPlayedAreNotMeasured) {
  std::vector<RunRecord> runs;
  for (const RunRecord& r : good_campaign()) {
    if (r.stage >= 5 && r.stage <= 7) runs.push_back(r);
  }
  const auto got = verdicts(runs);
  const Verdict want[kTargetRows] = {
      Verdict::kNotMeasured, Verdict::kNotMeasured, Verdict::kMet, Verdict::kMet,
      Verdict::kNotMeasured, Verdict::kNotMeasured, Verdict::kMet};
  for (int row = 0; row < kTargetRows; ++row) EXPECT_EQ(got[row], want[row]) << "target " << row;
  EXPECT_EQ(verdicts({}), std::vector<Verdict>(kTargetRows, Verdict::kNotMeasured));
}

}  // namespace
