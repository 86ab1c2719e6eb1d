// The characters that OBJ text is split by: white space between fields, and decimal digits.
#pragma once

#include <cstdint>

namespace calveth {

// White space between the fields of a "v" or "f" line; a line's own CR or LF counts too.
// One comparison and one bit test instead of four comparisons: it runs for every field.
constexpr bool isObjSpace(char c) {
  const auto code = static_cast<unsigned char>(c);
  constexpr std::uint64_t kSpaces =
      (1ULL << ' ') | (1ULL << '\t') | (1ULL << '\r') | (1ULL << '\n');
  return code <= ' ' && ((kSpaces >> code) & 1) != 0;
}

// The first byte at or after p that is no white space, or end.
inline const char* skipObjSpaces(const char* p, const char* end) {
  while (p != end && isObjSpace(*p)) {
    ++p;
  }
  return p;
}

constexpr bool isDecimalDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

}  // namespace calveth
