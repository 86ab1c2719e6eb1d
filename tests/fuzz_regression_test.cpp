// The fuzz targets' bodies, with their checks, on the inputs kept in
// tests/data/fuzz-regressions/TARGET/: every input that ever makes a target crash or break a
// promise is kept there once it is fixed. Each folder also holds a small input that takes its
// body through its checks: a vertex with two exact partners (two hits, so the progress bar
// passes the top of its range, as the analysis has always counted), a half MT, and a "Swap"
// saved over its own MT with the copy pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace calveth {
namespace fuzzing {

void PrintTo(const NamedTarget& target, std::ostream* os) { *os << target.name; }

}  // namespace fuzzing

namespace {

void failTheTest(const char* what, const char* file, int line) {
  ADD_FAILURE_AT(file, line) << "broken promise: " << what;
}

class FuzzRegressions : public ::testing::TestWithParam<fuzzing::NamedTarget> {};

TEST_P(FuzzRegressions, KeepThePromises) {
  const std::filesystem::path folder =
      std::filesystem::path(CALVETH_FUZZ_REGRESSIONS_DIR) / GetParam().name;
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty()) << folder;
  fuzzing::setFailureHandler(failTheTest);
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.string());
    std::ifstream in(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  fuzzing::setFailureHandler(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, ::testing::ValuesIn(fuzzing::kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
