#include "objio/obj_tokens.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

// Floating-point std::from_chars / std::to_chars where the standard library has them; the
// portable forms below, made of the C library alone, stand in elsewhere (some WebAssembly
// toolchains' libraries). The tests also build this file with CALVETH_FLOAT_CHARCONV=0 under
// another namespace and compare the two forms.
#include <charconv>
// On x86-64 the three numbers of a common "v" line are read side by side; the eight-byte form
// below serves elsewhere, and the tests build it here too (CALVETH_SIMD=0).
#if CALVETH_SIMD
#include <emmintrin.h>
#endif
#ifndef CALVETH_FLOAT_CHARCONV
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define CALVETH_FLOAT_CHARCONV 1
#else
#define CALVETH_FLOAT_CHARCONV 0
#endif
#endif

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

char* copyText(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// The correctly rounded value of the unsigned decimal text [begin, end), read as in the "C"
// locale whatever the current one; false when it is too large for a double.
bool decimalValue(const char* begin, const char* end, double& value) {
  // strtod reads the current locale's decimal point: put that in place of the point.
  const char* const point = std::localeconv()->decimal_point;
  std::string text;
  text.reserve(static_cast<std::size_t>(end - begin) + 4);
  for (const char* p = begin; p != end; ++p) {
    if (*p == '.') {
      text += point;
    } else {
      text += *p;
    }
  }
  errno = 0;
  char* stop = nullptr;
  const double parsed = std::strtod(text.c_str(), &stop);
  if (stop != text.c_str() + text.size() || std::isinf(parsed)) {
    return false;
  }
  value = parsed;
  return true;
}

#if !CALVETH_FLOAT_CHARCONV
// The digits and decimal exponent of printf's "%.*e" text: d.ddd...e+XX gives "dddd" and XX.
// Whatever the locale writes as the decimal point is skipped.
struct DecimalDigits {
  char digits[24];
  int count = 0;
  int exponent = 0;
};

DecimalDigits scientificDigits(double magnitude, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*e", decimals, magnitude);
  DecimalDigits result;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (isDecimalDigit(*p)) {
      result.digits[result.count++] = *p;
    }
  }
  result.exponent = std::atoi(p + 1);
  return result;
}

// True when the digits read back as `magnitude`; `below` tells whether they are smaller. The
// text has no decimal point, so the locale does not matter.
bool readsBackAs(const DecimalDigits& d, double magnitude, bool& below) {
  char text[48];
  std::memcpy(text, d.digits, static_cast<std::size_t>(d.count));
  std::snprintf(text + d.count, sizeof text - static_cast<std::size_t>(d.count), "e%d",
                d.exponent - (d.count - 1));
  const double back = std::strtod(text, nullptr);
  below = back < magnitude;
  return back == magnitude;
}

// The next larger digit string of the same length: 1.29 gives 1.30, 9.99 gives 1.00e+1.
DecimalDigits nextUp(DecimalDigits d) {
  int k = d.count - 1;
  while (k >= 0 && d.digits[k] == '9') {
    d.digits[k--] = '0';
  }
  if (k >= 0) {
    ++d.digits[k];
  } else {
    d.digits[0] = '1';
    ++d.exponent;
  }
  return d;
}

// std::to_chars(out, end, value, std::chars_format::fixed, 6).
char* writeFixedSix(char* out, double value) {
  // printf's "%f" is exact; only the locale's decimal point is put right.
  char text[kFixedDecimalMaxChars + 8];
  const int length = std::snprintf(text, sizeof text, "%.6f", value);
  if (length <= 0) {
    return out;
  }
  const char* p = text;
  if (*p == '-') {
    *out++ = *p++;
  }
  while (isDecimalDigit(*p)) {
    *out++ = *p++;
  }
  *out++ = '.';
  return copyText(out, std::string_view(text + length - 6, 6));
}

// std::to_chars(out, end, value).
char* writeShortest(char* out, double value) {
  if (std::isnan(value)) {
    return copyText(out, std::signbit(value) ? "-nan" : "nan");
  }
  if (std::signbit(value)) {
    *out++ = '-';
  }
  const double magnitude = std::fabs(value);
  if (std::isinf(magnitude)) {
    return copyText(out, "inf");
  }
  if (magnitude == 0.0) {
    return copyText(out, "0");
  }
  // The shortest digits: the correctly rounded ones of growing length until they read back.
  // Just above a power of two the gap below is half the gap above, so the nearest digits can
  // miss while the next larger ones of the same length still read back.
  DecimalDigits d;
  for (int decimals = 0; decimals <= 16; ++decimals) {
    d = scientificDigits(magnitude, decimals);
    bool below = false;
    if (readsBackAs(d, magnitude, below)) {
      break;
    }
    if (below) {
      const DecimalDigits up = nextUp(d);
      bool ignored = false;
      if (readsBackAs(up, magnitude, ignored)) {
        d = up;
        break;
      }
    }
  }
  while (d.count > 1 && d.digits[d.count - 1] == '0') {
    --d.count;
  }
  // Plain or scientific notation, whichever is shorter; plain on a tie.
  const int exponentDigits = std::abs(d.exponent) >= 100 ? 3 : 2;
  const int scientificLength = d.count + (d.count > 1 ? 1 : 0) + 2 + exponentDigits;
  int plainLength;
  if (d.exponent >= 0) {
    plainLength = d.count > d.exponent + 1 ? d.count + 1 : d.exponent + 1;
  } else {
    plainLength = 2 - d.exponent - 1 + d.count;
  }
  const std::string_view digits(d.digits, static_cast<std::size_t>(d.count));
  if (plainLength <= scientificLength) {
    if (d.exponent < 0) {
      out = copyText(out, "0.");
      for (int k = 0; k < -d.exponent - 1; ++k) {
        *out++ = '0';
      }
      return copyText(out, digits);
    }
    const auto whole = static_cast<std::size_t>(d.exponent + 1);
    if (digits.size() < whole) {
      // A whole number written plain shows all its exact digits, not the shortest ones and
      // zeros; "%.0f" writes them exactly and has no decimal point.
      char text[kFixedDecimalMaxChars];
      const int length = std::snprintf(text, sizeof text, "%.0f", magnitude);
      return copyText(out, std::string_view(text, static_cast<std::size_t>(length)));
    }
    if (digits.size() == whole) {
      return copyText(out, digits);
    }
    out = copyText(out, digits.substr(0, whole));
    *out++ = '.';
    return copyText(out, digits.substr(whole));
  }
  *out++ = digits[0];
  if (digits.size() > 1) {
    *out++ = '.';
    out = copyText(out, digits.substr(1));
  }
  *out++ = 'e';
  *out++ = d.exponent < 0 ? '-' : '+';
  const int e = std::abs(d.exponent);
  if (e >= 100) {
    *out++ = static_cast<char>('0' + e / 100);
  }
  *out++ = static_cast<char>('0' + e / 10 % 10);
  *out++ = static_cast<char>('0' + e % 10);
  return out;
}

#endif

#if CALVETH_FLOAT_CHARCONV
// The rare numbers outside the fast path: from_chars rounds correctly for any length, and
// strtod tells an underflow (accepted) from an overflow (refused).
bool convertSlowly(const char* begin, const char* end, double& magnitude) {
  const auto [stop, error] = std::from_chars(begin, end, magnitude);
  if (stop != end) {
    return false;
  }
  if (error == std::errc::result_out_of_range) {
    return decimalValue(begin, end, magnitude);
  }
  return error == std::errc{};
}
#else
bool convertSlowly(const char* begin, const char* end, double& magnitude) {
  return decimalValue(begin, end, magnitude);
}
#endif

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

// ---- Decimal numbers -----------------------------------------------------------------------

// Measured (bench NumberScan, 120000 six-decimal coordinates, CPU time, 2026-12-09): 1.6 ms
// here, 2.8 ms with std::from_chars and 11.4 ms with strtod, for the same values.
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

// Measured (bench VertexText, 120000 coordinates, CPU time, 2026-12-09): 2.5 ms here, 6.8 ms
// with std::to_chars and 20.4 ms with snprintf("%f"), for the same text.
char* writeFixedDecimal(char* out, double value) {
  if (value == 0.0) {
    return copyText(out, "0.000000");
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
  return writeFixedSix(out, value);
#endif
}

char* writeShortestDecimal(char* out, double value) {
#if CALVETH_FLOAT_CHARCONV
  return std::to_chars(out, out + kShortestDecimalMaxChars, value).ptr;
#else
  return writeShortest(out, value);
#endif
}

// ---- Vertex lines --------------------------------------------------------------------------

namespace {

#if !CALVETH_SIMD
// A line written as most are, "v" and three numbers of one digit, the point and six decimals
// ("0.123456", "-1.500000"), single blanks between them: each number is read with one
// eight-byte load and no loop, the line without a branch per character. The values are those
// scanDecimalNumber gives (the same mantissa divided by 10^6). False for any other text.
bool readSixDecimalLine(const char* p, const char* end, double* xyz) {
  if constexpr (std::endian::native == std::endian::little) {
    for (int k = 0; k < 3; ++k) {
      if (p == end) {
        return false;  // the line ends after a number's blank
      }
      const bool negative = *p == '-';
      p += negative ? 1 : 0;
      // Room for the number and the byte after it, which must be a blank (a line end after
      // the last number).
      if (end - p < 9) {
        return false;
      }
      std::uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      chunk ^= std::uint64_t{'.' ^ '0'} << 8;  // the point as a 0 digit: "D0dddddd"
      const std::uint64_t digits = chunk - 0x3030303030303030ULL;
      // Any byte not a digit, or a second byte that was not the point, refuses the line.
      if ((nonDigitBytes(chunk) | (digits & 0xFF00)) != 0) {
        return false;
      }
      const char after = p[8];
      if (k < 2 ? after != ' ' : !isObjSpace(after)) {
        return false;
      }
      const std::uint64_t mantissa =
          eightDigitsValue(digits) - (digits & 0xFF) * 9000000;  // D*10^7+f -> D*10^6+f
      // Below 10^7: as a signed number it converts in one instruction.
      const double magnitude = static_cast<double>(static_cast<std::int64_t>(mantissa)) / 1e6;
      std::uint64_t bits;
      std::memcpy(&bits, &magnitude, sizeof bits);
      bits |= static_cast<std::uint64_t>(negative) << 63;
      std::memcpy(&xyz[k], &bits, sizeof bits);
      p += 9;
    }
    return true;
  } else {
    return false;
  }
}

#endif

#if CALVETH_SIMD
// The same lines and values as readSixDecimalLine, the three numbers converted side by side:
// their digits widened to 16-bit lanes, the point's lane (a 0 digit) swapped before the first
// digit, then pairs, quads and octets folded by multiply-adds; the three mantissas below 10^7
// convert exactly, and one division each gives what the scalar division gives.
bool readSixDecimalLineSideBySide(const char* p, const char* end, double* xyz) {
  // Each number takes nine bytes with the one after it, a minus one more.
  if (end - p < 27) {
    return false;
  }
  const bool aNegative = p[0] == '-';
  const char* const a = p + (aNegative ? 1 : 0);
  const bool bNegative = a[9] == '-';
  const char* const b = a + 9 + (bNegative ? 1 : 0);
  const bool cNegative = b[9] == '-';
  const char* const c = b + 9 + (cNegative ? 1 : 0);
  if (end - c < 9 || a[8] != ' ' || b[8] != ' ' || !isObjSpace(c[8])) {
    return false;
  }
  // Digits less '0' and the point less '.': every byte must then be at most 9, the point's 0.
  const __m128i offsets = _mm_set_epi8('0', '0', '0', '0', '0', '0', '.', '0',  //
                                       '0', '0', '0', '0', '0', '0', '.', '0');
  const __m128i limits = _mm_set_epi8(9, 9, 9, 9, 9, 9, 0, 9, 9, 9, 9, 9, 9, 9, 0, 9);
  const __m128i ab =
      _mm_sub_epi8(_mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)),
                                      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b))),
                   offsets);
  const __m128i cc = _mm_sub_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c)), offsets);
  const int abFit = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(ab, limits), limits));
  const int cFit = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(cc, limits), limits));
  if ((abFit & 0xFFFF) != 0xFFFF || (cFit & 0xFF) != 0xFF) {
    return false;
  }
  // "D0dddddd" as 16-bit lanes, then "0Ddddddd": the value D * 10^6 + dddddd.
  const __m128i zero = _mm_setzero_si128();
  constexpr int kSwapFirstTwo = (3 << 6) | (2 << 4) | (0 << 2) | 1;
  const __m128i aDigits = _mm_shufflelo_epi16(_mm_unpacklo_epi8(ab, zero), kSwapFirstTwo);
  const __m128i bDigits = _mm_shufflelo_epi16(_mm_unpackhi_epi8(ab, zero), kSwapFirstTwo);
  const __m128i cDigits = _mm_shufflelo_epi16(_mm_unpacklo_epi8(cc, zero), kSwapFirstTwo);
  const __m128i tens = _mm_set1_epi32((1 << 16) | 10);        // first * 10 + second
  const __m128i hundreds = _mm_set1_epi32((1 << 16) | 100);   // first * 100 + second
  const __m128i myriads = _mm_set1_epi32((1 << 16) | 10000);  // first * 10^4 + second
  const __m128i abPairs =
      _mm_packs_epi32(_mm_madd_epi16(aDigits, tens), _mm_madd_epi16(bDigits, tens));
  const __m128i cPairs = _mm_packs_epi32(_mm_madd_epi16(cDigits, tens), zero);
  const __m128i quads =
      _mm_packs_epi32(_mm_madd_epi16(abPairs, hundreds), _mm_madd_epi16(cPairs, hundreds));
  const __m128i mantissas = _mm_madd_epi16(quads, myriads);  // a, b, c, 0
  const __m128d million = _mm_set1_pd(1e6);
  const __m128d abValues = _mm_div_pd(_mm_cvtepi32_pd(mantissas), million);
  const __m128d cValue = _mm_div_pd(_mm_cvtepi32_pd(_mm_srli_si128(mantissas, 8)), million);
  const auto sign = [](bool negative) {
    return static_cast<long long>(std::uint64_t{negative} << 63);
  };
  const __m128d abSigns = _mm_castsi128_pd(_mm_set_epi64x(sign(bNegative), sign(aNegative)));
  const __m128d cSign = _mm_castsi128_pd(_mm_cvtsi64_si128(sign(cNegative)));
  _mm_storeu_pd(xyz, _mm_or_pd(abValues, abSigns));
  _mm_store_sd(xyz + 2, _mm_or_pd(cValue, cSign));
  return true;
}
#endif

// Any other spelling: the general number scanner, token by token. Apart from the fast path, so
// that its set-up costs the common line nothing.
[[gnu::noinline]] VertexLine parseVertexLineSlowly(std::string_view line) {
  VertexLine result;
  double* const targets[3] = {&result.x, &result.y, &result.z};
  const char* p = line.data() + 1;  // after the "v"
  const char* const end = line.data() + line.size();
  for (double* target : targets) {
    p = skipObjSpaces(p, end);
    double value = 0.0;
    const char* const after = scanDecimalNumber(p, end, value);
    // The number must be the whole token: "1.5abc" or "0,5" is not a coordinate.
    if (after == nullptr || (after != end && !isObjSpace(*after))) {
      return result;
    }
    *target = value;
    p = after;
    ++result.converted;
  }
  result.ok = true;
  return result;
}

}  // namespace

// Measured (make bench-instructions, parseVertexLine on 40000 six-decimal "v" lines): 606
// instructions a line through the general scanner, 174 through this path.
VertexLine parseVertexLine(std::string_view line) {
  // "v" and a single blank or tab, then the numbers.
  if (line.size() > 2 && isObjSpace(line[1]) && !isObjSpace(line[2])) {
    double xyz[3];
#if CALVETH_SIMD
    if (readSixDecimalLineSideBySide(line.data() + 2, line.data() + line.size(), xyz)) {
#else
    if (readSixDecimalLine(line.data() + 2, line.data() + line.size(), xyz)) {
#endif
      VertexLine result;
      result.x = xyz[0];
      result.y = xyz[1];
      result.z = xyz[2];
      result.converted = 3;
      result.ok = true;
      return result;
    }
  }
  return parseVertexLineSlowly(line);
}

}  // namespace calveth
