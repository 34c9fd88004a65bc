// What the campaign's stages are held to, judged from the built-in player's runs: how long a won
// stage takes, that no battle stalls, and that the stages get harder. Win counts are "of 12"
// whatever the number of seeds, scaled by the runs a stage had.
#pragma once

#include <string>
#include <vector>

#include "run.h"

namespace balance {

enum class Verdict { kMet, kMissed, kNotMeasured };

struct Target {
  std::string text;      // the target in words
  std::string measured;  // what the runs showed
  Verdict verdict = Verdict::kNotMeasured;
};

// Every target, in a fixed order, judged from the runs given (any stages, any seeds). A target
// about stages none of the runs played is not measured.
std::vector<Target> check_targets(const std::vector<Run>& runs);

// The median; 0 for none.
double median(std::vector<double> v);

// A figure of the report, with one decimal.
std::string fixed1(double v);

}  // namespace balance
