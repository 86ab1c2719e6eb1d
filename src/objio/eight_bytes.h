// Eight bytes of text at a time in one 64-bit integer (a little-endian chunk, its first byte
// the lowest): the helpers that the readers' eight-byte paths share. Internal to objio.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace calveth {

// Whether the eight-byte paths run: they take a chunk's first byte as its lowest.
inline constexpr bool kEightBytesLittleEndian = std::endian::native == std::endian::little;

[[gnu::always_inline]] inline std::uint64_t loadEight(const char* p) {
  std::uint64_t chunk;
  std::memcpy(&chunk, p, 8);
  return chunk;
}

// The chunk's bytes that are no digit, flagged by their high bit: set when a byte is below '0'
// (borrow) or above '9' (carry past 0x7F). Borrows and carries run only towards later bytes,
// so the first flag is exact; later ones are not used.
[[gnu::always_inline]] inline std::uint64_t nonDigitBytes(std::uint64_t chunk) {
  return ((chunk - 0x3030303030303030ULL) | (chunk + 0x4646464646464646ULL)) &
         0x8080808080808080ULL;
}

// Bytes below 0x21 (white space, control bytes, zero) flagged by their high bit (exact for the
// lowest one).
[[gnu::always_inline]] inline std::uint64_t lowBytes(std::uint64_t chunk) {
  return (chunk - 0x2121212121212121ULL) & ~chunk & 0x8080808080808080ULL;
}

// The value of eight digit values 0 to 9 held as bytes, the first byte the most significant:
// pairs, then quads, then the two halves folded.
[[gnu::always_inline]] inline std::uint64_t eightDigitsValue(std::uint64_t digits) {
  const std::uint64_t pairs = (digits * 10) + (digits >> 8);
  return (((pairs & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
          (((pairs >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
         32;
}

// How many of the chunk's first bytes are digits (8 when all are); a zero byte is no digit.
[[gnu::always_inline]] inline int leadingDigitCount(std::uint64_t chunk) {
  const std::uint64_t nonDigits = nonDigitBytes(chunk);
  return nonDigits == 0 ? 8 : std::countr_zero(nonDigits) / 8;
}

// The value of the chunk's first `digits` digits, 1 to 8, moved to the high bytes.
[[gnu::always_inline]] inline std::uint64_t leadingDigitsValue(std::uint64_t chunk, int digits) {
  return eightDigitsValue((chunk - 0x3030303030303030ULL) << (8 * (8 - digits)));
}

// Copies `size` bytes, sixteen or eight at a time with the last step overlapping the one
// before: fewer steps than a copy of any length takes for a line this short.
[[gnu::always_inline]] inline void copyShortText(char* to, const char* from, std::size_t size) {
  if (size > 32) {
    for (std::size_t at = 0; at + 16 < size; at += 16) {
      std::memcpy(to + at, from + at, 16);
    }
    std::memcpy(to + size - 16, from + size - 16, 16);
  } else if (size >= 16) {
    std::memcpy(to, from, 16);
    std::memcpy(to + size - 16, from + size - 16, 16);
  } else if (size >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + size - 8, from + size - 8, 8);
  } else {
    std::memcpy(to, from, size);
  }
}

}  // namespace calveth
