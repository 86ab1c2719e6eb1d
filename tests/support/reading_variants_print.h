// Test names and messages show a reading by its function's name.
#pragma once

#include <ostream>

#include "objio/reading_variants.h"

namespace calveth {

template <typename Function>
void PrintTo(const ReadingVariant<Function>& reading, std::ostream* os) {
  *os << reading.name;
}

}  // namespace calveth
