// The whole pixel of a fractional screen position: truncation toward zero.
#pragma once

#include <cstdint>

namespace calveth {

// Truncates toward zero, as a plain conversion would. A value beyond the 32-bit range
// saturates and NaN gives 0: converting those would be undefined, and they can only come
// from coordinates that are themselves out of all proportion.
inline std::int32_t pixelOf(double position) {
  constexpr double kBelowMin = -2147483649.0;
  constexpr double kAboveMax = 2147483648.0;
  if (position > kBelowMin && position < kAboveMax) {
    return static_cast<std::int32_t>(position);
  }
  if (position >= kAboveMax) {
    return INT32_MAX;
  }
  return position <= kBelowMin ? INT32_MIN : 0;
}

}  // namespace calveth
