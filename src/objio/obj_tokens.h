// The tokens of OBJ text: white space, digit runs, decimal numbers (read and written) and
// whole "v" lines.
//
// A decimal number is an optional sign, digits with an optional fraction (".5" and "2." count),
// and an optional exponent. "nan", "inf", hex forms and a decimal comma are not numbers, and
// neither is a value too large for a double; a value too small for one becomes zero (or a
// subnormal) as the C library has it. The result is the correctly rounded double, for any
// number of digits.
//
// A "v" line begins "v" followed by a blank or a tab. Tokens are separated by runs of blanks
// and tabs; a trailing CR or LF is white space. Each of the first three tokens must be a whole
// decimal number; later tokens (w, vertex colours) are ignored.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Whether the readers use vector instructions: SSE2, which every x86-64 processor has, and
// AVX2 where the processor has it (asked at start). Elsewhere they read eight bytes at a time
// in plain integers; the tests build that form on x86-64 too (CALVETH_SIMD=0) and compare.
#ifndef CALVETH_SIMD
#if defined(__SSE2__) && defined(__x86_64__)
#define CALVETH_SIMD 1
#else
#define CALVETH_SIMD 0
#endif
#endif

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

inline bool isDecimalDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// ---- Eight bytes at a time (a little-endian chunk, its first byte the lowest) -------------

// The chunk's bytes that are no digit, flagged by their high bit: set when a byte is below '0'
// (borrow) or above '9' (carry past 0x7F). Borrows and carries run only towards later bytes,
// so the first flag is exact; later ones are not used.
inline std::uint64_t nonDigitBytes(std::uint64_t chunk) {
  return ((chunk - 0x3030303030303030ULL) | (chunk + 0x4646464646464646ULL)) &
         0x8080808080808080ULL;
}

// The value of eight digit values 0 to 9 held as bytes, the first byte the most significant:
// pairs, then quads, then the two halves folded.
inline std::uint64_t eightDigitsValue(std::uint64_t digits) {
  const std::uint64_t pairs = (digits * 10) + (digits >> 8);
  return (((pairs & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
          (((pairs >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
         32;
}

// ---- Digit runs ----------------------------------------------------------------------------

struct DigitRun {
  const char* end;      // first character after the run
  std::uint64_t value;  // the digits' value, modulo 2^64 for runs longer than 19 digits
  int count;            // number of digits
};

// 10^0 to 10^19, all that 64 bits hold.
inline constexpr std::uint64_t kPowersOfTen64[] = {1ULL,
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

// Reads the run of decimal digits at p, eight at a time where the text allows it. Parsing OBJ
// numbers digit by digit costs a mispredicted branch at the end of nearly every number;
// reading eight bytes at once finds the run's length without one. The eight-byte step is
// taken only while eight bytes remain before `end`, so nothing past it is read.
inline DigitRun readDigits(const char* p, const char* end) {
  DigitRun run{p, 0, 0};
  if constexpr (std::endian::native == std::endian::little) {
    while (end - run.end >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, run.end, 8);
      const std::uint64_t shifted = chunk - 0x3030303030303030ULL;
      // A byte's high bit is set when it is below '0' (borrow) or above '9' (carry past 0x7F).
      // Borrows and carries only run towards later bytes, past the first non-digit.
      const std::uint64_t nonDigits =
          (shifted | (chunk + 0x4646464646464646ULL)) & 0x8080808080808080ULL;
      const int digits = nonDigits == 0 ? 8 : std::countr_zero(nonDigits) / 8;
      if (digits == 0) {
        return run;
      }
      // Keep the digits in the high bytes, then fold pairs, quads and octets (first byte is
      // the most significant digit).
      std::uint64_t v = shifted << (8 * (8 - digits));
      v = (v * 10) + (v >> 8);
      v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
           (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
          32;
      run.value = run.value * kPowersOfTen64[digits] + v;
      run.count += digits;
      run.end += digits;
      if (digits < 8) {
        return run;
      }
    }
  }
  while (run.end != end && isDecimalDigit(*run.end)) {
    run.value = run.value * 10 + static_cast<std::uint64_t>(*run.end - '0');
    ++run.count;
    ++run.end;
  }
  return run;
}

// ---- Decimal numbers -----------------------------------------------------------------------

// Reads the number that begins at `begin` and returns the first character after it, or
// nullptr when no number begins there (value unchanged). Characters after the number are
// the caller's to judge.
const char* scanDecimalNumber(const char* begin, const char* end, double& value);

// True when the whole token is one number.
bool parseDecimalNumber(std::string_view token, double& value);

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

// ---- Vertex lines --------------------------------------------------------------------------

struct VertexLine {
  bool ok = false;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  int converted = 0;  // numbers converted before the first bad or missing token (3 when ok)
};

// True for a line that the readers treat as a vertex line.
inline bool isVertexLine(std::string_view line) {
  return line.size() >= 2 && line[0] == 'v' && (line[1] == ' ' || line[1] == '\t');
}

VertexLine parseVertexLine(std::string_view line);

}  // namespace calveth
