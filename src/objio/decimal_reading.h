// Reading decimal numbers.
//
// A decimal number is an optional sign, digits with an optional fraction (".5" and "2." count),
// and an optional exponent. "nan", "inf", hex forms and a decimal comma are not numbers, and
// neither is a value too large for a double; a value too small for one becomes zero (or a
// subnormal) as the C library has it. The result is the correctly rounded double, for any
// number of digits.
#pragma once

#include <string_view>

namespace calveth {

// Reads the number that begins at `begin` and returns the first character after it, or
// nullptr when no number begins there (value unchanged). Characters after the number are
// the caller's to judge.
const char* scanDecimalNumber(const char* begin, const char* end, double& value);

// True when the whole token is one number.
bool parseDecimalNumber(std::string_view token, double& value);

}  // namespace calveth
