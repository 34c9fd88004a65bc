// One stage played once by the built-in player, as the balance report counts it.
#pragma once

#include <string>

namespace balance {

struct Run {
  int stage = 0;  // 1 to 10
  long seed = 0;
  std::string outcome = "no battle";  // "victory", "defeat", "pass limit" or "no battle"
  int turns = 0;
  int units_lost = 0;
  int hqs_lost = 0;
  int units_built = 0;
  int enemies_destroyed = 0;
  int hqs_taken = 0;
  int cancels = 0;
  long passes = 0;
  double seconds = 0;
  std::string note;  // anything that went wrong around the battle
};

}  // namespace balance
