#include "objio/face_line.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "objio/obj_tokens.h"

namespace calveth {
namespace {

bool ends(char c) { return c == '/' || isObjSpace(c); }

// The first blank, tab, CR or LF at or after p, or end; eight bytes at a time while they last.
const char* skipToSpace(const char* p, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (end - p >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      // Flags bytes below 0x21 (exact for the lowest one); other control bytes are checked.
      const std::uint64_t low = (chunk - kOnes * 0x21) & ~chunk & kHighBits;
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

}  // namespace

FaceLine parseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                       std::size_t room) {
  FaceLine result;
  bool malformed = false;
  const char* p = line.data() + 1;  // after the "f"
  const char* const end = line.data() + line.size();
  for (;;) {
    while (p != end && isObjSpace(*p)) {
      ++p;
    }
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
    // The rest of the group: texture and normal fields, not checked. The first group's
    // slashes tell the corner type.
    if (result.groups == 0) {
      int slashes = 0;
      for (; p != end && !isObjSpace(*p); ++p) {
        slashes += *p == '/' ? 1 : 0;
      }
      result.cornerType = slashes == 0 ? 1 : (slashes == 1 ? 2 : 3);
    } else {
      p = skipToSpace(p, end);
    }
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

}  // namespace calveth
