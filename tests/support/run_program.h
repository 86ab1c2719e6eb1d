// Runs the command-line program as a separate process and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace calveth::testing {

struct ProgramResult {
  int exitCode = -1;       // valid when not signalled
  bool signalled = false;  // ended by a signal (a crash)
  std::string out;
  std::string err;

  std::string lastOutLine() const;
};

ProgramResult runCliProgram(const std::vector<std::string>& arguments);

}  // namespace calveth::testing
