// "--auto yes|no": the answer to the question whether to pair the remaining vertices within a
// growing tolerance, shared by every command that opens a base.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace calveth {

inline constexpr const char* kAutoOptionProblem = "--auto takes yes or no";

// Reads the value after arguments[k] (moving k onto it) into `answer`; false when the value
// is missing or neither yes nor no.
inline bool readAutoAnswer(const std::vector<std::string>& arguments, std::size_t& k,
                           bool& answer) {
  if (k + 1 >= arguments.size()) {
    return false;
  }
  const std::string& value = arguments[++k];
  if (value != "yes" && value != "no") {
    return false;
  }
  answer = value == "yes";
  return true;
}

}  // namespace calveth
