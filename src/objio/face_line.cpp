#include "objio/face_line.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "objio/obj_tokens.h"

namespace calveth {
namespace {

bool ends(char c) { return c == '/' || isObjSpace(c); }

// Bytes below 0x21 flagged by their high bit (exact for the lowest one).
[[gnu::always_inline]] inline std::uint64_t lowBytes(std::uint64_t chunk) {
  return (chunk - 0x2121212121212121ULL) & ~chunk & 0x8080808080808080ULL;
}

// The first blank, tab, CR or LF at or after p, or end; eight bytes at a time while they last.
const char* skipToSpace(const char* p, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    while (end - p >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      // Other control bytes than white space are checked below.
      const std::uint64_t low = lowBytes(chunk);
      if (low == 0) {
        p += 8;
        continue;
      }
      p += std::countr_zero(low) / 8;
      if (isObjSpace(*p)) {
        return p;
      }
      ++p;
    }
  }
  while (p != end && !isObjSpace(*p)) {
    ++p;
  }
  return p;
}

int resolveVertexNumber(int number, int verticesReadSoFar) {
  if (number >= 0) {
    return number;
  }
  const std::int64_t absolute = std::int64_t{verticesReadSoFar} + 1 + number;
  return absolute >= 1 ? static_cast<int>(absolute) : number;
}

// Reads the vertex field at p: an optional sign and digits fitting a 32-bit integer, ended by
// "/", white space or the end of the line. Returns where its digits end (the caller skips the
// rest of the group); `ok` tells whether the field is such an integer.
const char* readVertexField(const char* p, const char* end, int& number, bool& ok) {
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  const DigitRun digits = readDigits(p, end);
  p = digits.end;
  // Up to 19 digits the value is exact in 64 bits; the range check does the rest.
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  ok = digits.count > 0 && digits.count <= 19 && digits.value <= limit && (p == end || ends(*p));
  const auto magnitude = static_cast<std::int64_t>(ok ? digits.value : 0);
  number = static_cast<int>(negative ? -magnitude : magnitude);
  return p;
}

// ---- The common line, read eight bytes at a time -------------------------------------------
//
// Lines up to 112 bytes whose groups start with one to seven digits without a sign, followed
// by the group's end or by "/" and other fields: what nearly every file holds. The line is
// copied into a buffer with zero bytes after it, so eight bytes can be read anywhere in it and
// its end is the first zero byte. Anything else, on any group, sends the whole line to the general
// reading above, which gives the same result for these lines.

constexpr std::size_t kCommonLineMax = 112;

[[gnu::always_inline]] inline std::uint64_t loadEight(const char* p) {
  std::uint64_t chunk;
  std::memcpy(&chunk, p, 8);
  return chunk;
}

// How many of the chunk's first bytes are digits (8 when all are); a zero byte is no digit.
[[gnu::always_inline]] inline int leadingDigitCount(std::uint64_t chunk) {
  const std::uint64_t nonDigits = nonDigitBytes(chunk);
  return nonDigits == 0 ? 8 : std::countr_zero(nonDigits) / 8;
}

// The value of the chunk's first `digits` digits, 1 to 7, moved to the high bytes.
[[gnu::always_inline]] inline std::uint64_t digitsValue(std::uint64_t chunk, int digits) {
  return eightDigitsValue((chunk - 0x3030303030303030ULL) << (8 * (8 - digits)));
}

// Copies `size` bytes, sixteen or eight at a time with the last step overlapping the one
// before: fewer steps than a copy of any length takes for a line this short.
[[gnu::always_inline]] inline void copyShortText(char* to, const char* from, std::size_t size) {
  if (size >= 16) {
    for (std::size_t at = 0; at + 16 < size; at += 16) {
      std::memcpy(to + at, from + at, 16);
    }
    std::memcpy(to + size - 16, from + size - 16, 16);
  } else if (size >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + size - 8, from + size - 8, 8);
  } else {
    std::memcpy(to, from, size);
  }
}

bool parseCommonFaceLine(std::string_view line, int* corners, std::size_t room, FaceLine& result) {
  if constexpr (std::endian::native != std::endian::little) {
    return false;
  }
  if (line.size() > kCommonLineMax) {
    return false;
  }
  // The line after its "f", zero bytes after it; a zero byte inside goes to the general path.
  alignas(8) char text[kCommonLineMax + 16];
  const std::size_t size = line.size() - 1;
  copyShortText(text, line.data() + 1, size);
  std::memset(text + size, 0, 16);
  const char* p = text;
  std::size_t groups = 0;
  for (;;) {
    // p is at the byte before the next group: a blank, other white space, or the end.
    if (*p != ' ') {
      if (*p == 0) {
        break;
      }
      if (!isObjSpace(*p)) {
        return false;  // a control byte, or something no common line has
      }
    }
    ++p;
    const std::uint64_t chunk = loadEight(p);
    const int digits = leadingDigitCount(chunk);
    if (static_cast<unsigned>(digits - 1) >= 7) {
      if (digits == 0 && static_cast<unsigned char>(*p) <= ' ') {
        continue;  // more white space, or the end
      }
      return false;  // a sign, letters, a slash first, or eight digits or more
    }
    if (groups < room) {
      corners[groups] = static_cast<int>(digitsValue(chunk, digits));
    }
    ++groups;
    p += digits;
    if (*p == '/') {
      // The rest of the group, up to the first byte below 0x21.
      std::uint64_t low;
      while ((low = lowBytes(loadEight(p))) == 0) {
        p += 8;
      }
      p += std::countr_zero(low) / 8;
    }
  }
  if (p != text + size) {
    return false;  // a zero byte inside the line
  }
  result.groups = static_cast<int>(groups);
  result.status = groups < 3      ? FaceLineStatus::Malformed
                  : groups > room ? FaceLineStatus::TooManyCorners
                                  : FaceLineStatus::Ok;
  return true;
}

// Every line the common reading leaves: signs, relative numbers, long lines, odd bytes.
[[gnu::noinline]] FaceLine parseAnyFaceLine(std::string_view line, int verticesReadSoFar,
                                            int* corners, std::size_t room) {
  FaceLine result;
  bool malformed = false;
  const char* p = line.data() + 1;  // after the "f"
  const char* const end = line.data() + line.size();
  for (;;) {
    p = skipObjSpaces(p, end);
    if (p == end) {
      break;
    }
    int number = 0;
    bool ok = false;
    p = readVertexField(p, end, number, ok);
    if (!ok) {
      malformed = true;
    } else if (static_cast<std::size_t>(result.groups) < room) {
      corners[result.groups] = resolveVertexNumber(number, verticesReadSoFar);
    }
    p = skipToSpace(p, end);  // texture and normal fields, not checked
    ++result.groups;
  }
  if (malformed || result.groups < 3) {
    result.status = FaceLineStatus::Malformed;
  } else if (static_cast<std::size_t>(result.groups) > room) {
    result.status = FaceLineStatus::TooManyCorners;
  } else {
    result.status = FaceLineStatus::Ok;
  }
  return result;
}

}  // namespace

FaceLine parseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                       std::size_t room) {
  FaceLine result;
  if (line.empty()) {
    return result;  // not even the "f": nothing to read past it
  }
  if (parseCommonFaceLine(line, corners, room, result)) {
    return result;
  }
  return parseAnyFaceLine(line, verticesReadSoFar, corners, room);
}

int faceCornerType(std::string_view line) {
  const char* const end = line.data() + line.size();
  const char* p = skipObjSpaces(line.data() + (line.empty() ? 0 : 1), end);  // the first group
  int slashes = 0;
  for (; p != end && !isObjSpace(*p); ++p) {
    slashes += *p == '/' ? 1 : 0;
  }
  return slashes == 0 ? 1 : (slashes == 1 ? 2 : 3);
}

}  // namespace calveth
