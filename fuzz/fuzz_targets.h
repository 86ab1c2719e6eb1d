// The bodies of the fuzz targets, shared by the libFuzzer programs (fuzz/fuzz_main.cpp) and
// the test that replays the kept inputs (tests/fuzz_regression_test.cpp).
//
// Each body runs the input through the command router as the dialog would and checks what
// the commands promise: no crash, a refused file leaves what was loaded before, a save either
// replaces its target with a whole file or leaves it as it was, and no temporary file stays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace calveth::fuzzing {

// Called with the broken promise; the default prints it and aborts, which is how libFuzzer
// learns that the input is a finding.
using FailureHandler = void (*)(const char* what, const char* file, int line);
void setFailureHandler(FailureHandler handler);

// First byte: bit 0 answers the auto-detection question. The rest is a base file, opened
// after a small accepted base.
void runOpenBase(const std::uint8_t* data, std::size_t size);

// First byte modulo 4 picks the loaded base (a cube, a small "#HALF" base, the head or the
// hands sample); the rest is opened as the MT.
void runOpenMt(const std::uint8_t* data, std::size_t size);

// First byte: bits 0-2 the generating command, bit 3 the answer to the question, bit 4 keeps
// "vertex only (for MT)" checked, bit 5 saves over the MT file itself, bit 6 saves over an
// existing file. The rest is the base file, kSequenceSeparator and the MT file; without the
// separator the same bytes are both.
void runSequence(const std::uint8_t* data, std::size_t size);

inline constexpr std::string_view kSequenceSeparator = "\n@@MT@@\n";

struct NamedTarget {
  const char* name;
  void (*run)(const std::uint8_t*, std::size_t);
};

inline constexpr NamedTarget kTargets[] = {
    {"open_base", runOpenBase},
    {"open_mt", runOpenMt},
    {"sequence", runSequence},
};

}  // namespace calveth::fuzzing
