// Runs a program to its end, for the benchmarks that start the real game as a player would.
#pragma once

#include <string>
#include <vector>

namespace test_files {

// Runs `program` with `args`, its environment this process's with `env` ("NAME=value") added,
// its output thrown away and its errors written to `errors` (thrown away when empty). True when
// it ran and exited with 0.
bool run_program(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& env = {}, const std::string& errors = "");

}  // namespace test_files
