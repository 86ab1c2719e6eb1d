// Reading a run of decimal digits, eight at a time where the text allows it.
//
// Parsing OBJ numbers digit by digit costs a mispredicted branch at the end of nearly every
// number; reading eight bytes at once finds the run's length without one. The eight-byte
// step is taken only while eight bytes remain before `end`, so nothing past it is read.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace calveth {

inline bool isDecimalDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

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

}  // namespace calveth
