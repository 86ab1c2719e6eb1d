// Random "v" lines in the six-decimal form most files use, for the tests of its quick paths.
#pragma once

#include <random>
#include <string>

namespace calveth::testing {

// "v", then three numbers of one digit, the point and six decimals, each after one blank and
// negative half the time; no line end.
inline std::string randomSixDecimalLine(std::mt19937& random) {
  std::string line = "v";
  for (int n = 0; n < 3; ++n) {
    line += random() % 2 == 0 ? " -" : " ";
    line += std::to_string(random() % 10) + "." +
            std::to_string(1000000 + random() % 1000000).substr(1);
  }
  return line;
}

}  // namespace calveth::testing
