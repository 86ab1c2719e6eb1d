#include "objio/decimal_writing.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "objio/portable_decimal.h"

// Floating-point std::to_chars where the standard library has it; the portable stand-ins
// elsewhere (some WebAssembly toolchains' libraries).
namespace calveth {
namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes n, 10 or more, in decimal. Apart from writeUnsigned, so that its buffer and loop cost
// the one-digit case nothing.
[[gnu::noinline]] char* writeSeveralDigits(char* out, std::uint64_t n) {
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

// Writes n in decimal, no leading zeros (a single 0 for zero).
char* writeUnsigned(char* out, std::uint64_t n) {
  if (n < 10) {
    *out = static_cast<char>('0' + n);  // most coordinates' integer part
    return out + 1;
  }
  return writeSeveralDigits(out, n);
}

// Writes exactly six digits, leading zeros included: three pairs read off n / 10^4 as a
// fixed-point number with 48 fraction bits. The multiplier's excess over 2^48 / 10^4 adds less
// than 10^6 / 2^48 to the fraction, which keeps every pair exact for n below 10^6.
char* writeSixDigits(char* out, std::uint32_t n) {
  constexpr std::uint64_t kFraction = (std::uint64_t{1} << 48) - 1;
  const std::uint64_t t = std::uint64_t{n} * ((std::uint64_t{1} << 48) / 10000 + 1);
  const std::uint64_t u = (t & kFraction) * 100;
  const std::uint64_t w = (u & kFraction) * 100;
  std::memcpy(out, &kDigitPairs[(t >> 48) * 2], 2);
  std::memcpy(out + 2, &kDigitPairs[(u >> 48) * 2], 2);
  std::memcpy(out + 4, &kDigitPairs[(w >> 48) * 2], 2);
  return out + 6;
}

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Uint128;

// Magnitudes below 2^43 keep the scaled value below 2^63: every coordinate of a body part.
constexpr double kFastLimit = 8796093022208.0;

// scaled / 2^shift rounded to the nearest integer, ties to even: a remainder above half rounds
// up, and so does one of exactly half when the quotient is odd. The remainder is computed in
// `Remainder`, which must hold 2^shift.
template <typename Remainder>
[[gnu::always_inline]] inline std::uint64_t roundedQuotient(Uint128 scaled, int shift) {
  const auto quotient = static_cast<std::uint64_t>(scaled >> shift);
  const Remainder remainder = static_cast<Remainder>(scaled) & ((Remainder{1} << shift) - 1);
  const Remainder half = Remainder{1} << (shift - 1);
  return quotient + ((remainder + (quotient & 1)) > half ? 1 : 0);
}

// Below 2^-11 (shift 64 and more): rare, and apart so that it costs the common case nothing.
[[gnu::noinline]] std::uint64_t roundedQuotientOfTinyValue(Uint128 scaled, int shift) {
  return roundedQuotient<Uint128>(scaled, shift);
}

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
  if (shift >= 128) {
    return 0;  // m * 10^6 < 2^73, far below half of 2^shift
  }
  // Below 2^43 the exponent makes shift at least 10. From |value| of 2^-11 on (most
  // coordinates, shift below 64) the remainder fits 64 bits.
  const Uint128 scaled = static_cast<Uint128>(mantissa) * 1000000u;
  return shift < 64 ? roundedQuotient<std::uint64_t>(scaled, shift)
                    : roundedQuotientOfTinyValue(scaled, shift);
}
#endif

}  // namespace

// Measured (callgrind, the 120000 coordinates of bench VertexText, 2026-12-09): 110
// instructions a number here, 512 with std::to_chars and 1691 with snprintf("%f"), for the
// same text.
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
#if CALVETH_FLOAT_CHARCONV
  return std::to_chars(out, out + kFixedDecimalMaxChars, value, std::chars_format::fixed, 6).ptr;
#else
  return writeFixedSixPortably(out, value);
#endif
}

char* writeShortestDecimal(char* out, double value) {
#if CALVETH_FLOAT_CHARCONV
  return std::to_chars(out, out + kShortestDecimalMaxChars, value).ptr;
#else
  return writeShortestPortably(out, value);
#endif
}

}  // namespace calveth
