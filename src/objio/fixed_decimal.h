// Coordinates as text with exactly six decimals, the digits of printf's "%f".
//
// The value is rounded correctly (to nearest, ties to even) from its exact binary value. A
// zero is written without a sign, a negative zero included, while a negative value that rounds
// to zero keeps its minus: -0.0000001 is "-0.000000". The value must be finite.
#pragma once

#include <cstddef>

namespace calveth {

// Room for the longest text: a minus, 309 integer digits, the point and six decimals.
inline constexpr std::size_t kFixedDecimalMaxChars = 320;

// Writes the text at `out`, which has kFixedDecimalMaxChars bytes of room; returns its end.
char* writeFixedDecimal(char* out, double value);

}  // namespace calveth
