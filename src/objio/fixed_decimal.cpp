#include "objio/fixed_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace calveth {
namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes n in decimal, no leading zeros (a single 0 for zero).
char* writeUnsigned(char* out, std::uint64_t n) {
  char digits[20];
  char* end = digits + sizeof digits;
  char* p = end;
  while (n >= 100) {
    const auto pair = static_cast<std::size_t>(n % 100) * 2;
    n /= 100;
    *--p = kDigitPairs[pair + 1];
    *--p = kDigitPairs[pair];
  }
  if (n >= 10) {
    const auto pair = static_cast<std::size_t>(n) * 2;
    *--p = kDigitPairs[pair + 1];
    *--p = kDigitPairs[pair];
  } else {
    *--p = static_cast<char>('0' + n);
  }
  const auto length = static_cast<std::size_t>(end - p);
  std::memcpy(out, p, length);
  return out + length;
}

// Writes exactly six digits, leading zeros included.
char* writeSixDigits(char* out, std::uint32_t n) {
  for (int k = 4; k >= 0; k -= 2) {
    const auto pair = static_cast<std::size_t>(n % 100) * 2;
    n /= 100;
    out[k] = kDigitPairs[pair];
    out[k + 1] = kDigitPairs[pair + 1];
  }
  return out + 6;
}

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Uint128;

// Magnitudes below 2^43 keep the scaled value below 2^63: every coordinate of a body part.
constexpr double kFastLimit = 8796093022208.0;

// |value| * 10^6 rounded to the nearest integer, ties to even, computed exactly: the value is
// m * 2^-k with a 53-bit m, so m * 10^6 fits in 128 bits and the shift gives quotient and
// remainder without any rounding of its own.
std::uint64_t scaledMagnitude(double magnitude) {
  std::uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biasedExponent = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int shift;
  if (biasedExponent == 0) {
    shift = 1074;  // subnormal
  } else {
    mantissa |= std::uint64_t{1} << 52;
    shift = 1075 - biasedExponent;
  }
  // Below 2^43 the exponent makes shift at least 10.
  if (shift >= 128) {
    return 0;  // m * 10^6 < 2^73, far below half of 2^shift
  }
  const Uint128 scaled = static_cast<Uint128>(mantissa) * 1000000u;
  auto quotient = static_cast<std::uint64_t>(scaled >> shift);
  const Uint128 remainder = scaled & ((static_cast<Uint128>(1) << shift) - 1);
  const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
  if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
    ++quotient;
  }
  return quotient;
}
#endif

}  // namespace

char* writeFixedDecimal(char* out, double value) {
  if (value == 0.0) {
    std::memcpy(out, "0.000000", 8);
    return out + 8;
  }
#if defined(__SIZEOF_INT128__)
  const double magnitude = std::fabs(value);
  if (magnitude < kFastLimit) {
    if (value < 0.0) {
      *out++ = '-';
    }
    const std::uint64_t scaled = scaledMagnitude(magnitude);
    out = writeUnsigned(out, scaled / 1000000);
    *out++ = '.';
    return writeSixDigits(out, static_cast<std::uint32_t>(scaled % 1000000));
  }
#endif
  // Large values are rare: the standard conversion gives the same digits, only slower.
  return std::to_chars(out, out + kFixedDecimalMaxChars, value, std::chars_format::fixed, 6).ptr;
}

}  // namespace calveth
