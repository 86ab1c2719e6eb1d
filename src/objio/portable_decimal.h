// Stand-ins for floating-point std::from_chars and std::to_chars made of the C library alone
// (strtod and printf), for standard libraries that lack them (some WebAssembly toolchains').
// They are built everywhere, so that the tests compare them with <charconv> wherever that
// exists. They are exact where the C library's strtod and printf round correctly, as glibc's
// and the WebAssembly toolchain's do (the Windows runtime's do not; Windows builds have
// <charconv>). The locale's decimal point never shows: text is read and written with a point.
#pragma once

#include <charconv>

#include "objio/decimal_writing.h"

// Whether this standard library has floating-point std::from_chars and std::to_chars; the
// readers and writers use the stand-ins below where it does not.
#ifndef CALVETH_FLOAT_CHARCONV
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define CALVETH_FLOAT_CHARCONV 1
#else
#define CALVETH_FLOAT_CHARCONV 0
#endif
#endif

namespace calveth {

// The correctly rounded value of [begin, end), an unsigned decimal number as scanDecimalNumber
// accepts it ("12", ".5", "2.", "1.5e-7"); false when the value is too large for a double. A
// value too small for one becomes zero or a subnormal.
bool readDecimalPortably(const char* begin, const char* end, double& value);

// std::to_chars(out, out + kFixedDecimalMaxChars, value, std::chars_format::fixed, 6) for a
// finite value.
char* writeFixedSixPortably(char* out, double value);

// std::to_chars(out, out + kShortestDecimalMaxChars, value).
char* writeShortestPortably(char* out, double value);

}  // namespace calveth
