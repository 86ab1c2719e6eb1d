// One libFuzzer program per target: CALVETH_FUZZ_TARGET names the body to run.
#include <cstddef>
#include <cstdint>

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calveth::fuzzing::CALVETH_FUZZ_TARGET(data, size);
  return 0;
}
