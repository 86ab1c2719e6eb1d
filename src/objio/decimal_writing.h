// Writing decimal numbers: coordinates with six decimals (the digits of printf's "%f") and the
// shortest text that reads back as a value (SVG pictures).
#pragma once

#include <cstddef>

namespace calveth {

// Room for the longest six-decimal text: a minus, 309 integer digits, the point and six
// decimals.
inline constexpr std::size_t kFixedDecimalMaxChars = 320;

// Writes `value` with exactly six decimals, the digits of printf's "%f", at `out` (which has
// kFixedDecimalMaxChars bytes of room) and returns the text's end. The value is rounded
// correctly (to nearest, ties to even) from its exact binary value. A zero is written without
// a sign, a negative zero included, while a negative value that rounds to zero keeps its
// minus: -0.0000001 is "-0.000000". The value must be finite.
char* writeFixedDecimal(char* out, double value);

// Room for the longest shortest text ("-2.2250738585072014e-308").
inline constexpr std::size_t kShortestDecimalMaxChars = 32;

// Writes the shortest text that reads back as `value`, exactly as std::to_chars(out, end,
// value) does, and returns its end.
char* writeShortestDecimal(char* out, double value);

}  // namespace calveth
