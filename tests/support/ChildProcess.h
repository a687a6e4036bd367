#pragma once

#include <string>
#include <vector>

namespace pel::test {

// What a program run printed and how it ended.
struct ProcessResult {
  bool started = false;
  int exitStatus = -1;  // the exit code; -1 when it did not start or ended by a signal
  std::string out;      // standard output
  std::string err;      // standard error
};

// Runs `program` with `args` (each passed as one argument, empty ones included) and waits for
// it to end, collecting both output streams.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

}  // namespace pel::test
