// Runs a program of the build to its end and captures what it printed.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kelvane::testing {

struct ProgramRun {
  int exit_code = -1;  // -1 when it did not end normally
  int signal = 0;
  std::string standard_output;
};

// Starts `program` with `arguments` and the current environment plus
// `environment` (NAME, value) and waits for it.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::pair<std::string, std::string>>& environment);

}  // namespace kelvane::testing
