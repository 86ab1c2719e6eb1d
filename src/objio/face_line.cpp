#include "objio/face_line.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "objio/obj_tokens.h"

#if CALVETH_SIMD
#include <immintrin.h>
#endif

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

// The eight-byte reading, then the general one; apart, so that the call of the wide reading
// saves no registers for them.
[[gnu::noinline]] FaceLine parseFaceLineNarrow(std::string_view line, int verticesReadSoFar,
                                               int* corners, std::size_t room) {
  FaceLine result;
  if (line.empty()) {
    return result;  // not even the "f": nothing to read past it
  }
  if (parseCommonFaceLine(line, corners, room, result)) {
    return result;
  }
  return parseAnyFaceLine(line, verticesReadSoFar, corners, room);
}

#if CALVETH_SIMD
// ---- The common line of up to 63 bytes, classified thirty-two bytes at a time -------------
//
// Where the processor has AVX2, BMI and BMI2 (most x86-64 ones since 2013; asked once, at
// start): a line of at most 63 bytes after its "f", made of white space, digits and "/" alone,
// where every group starts with one to seven digits. Its bytes are classified side by side
// into two masks, white space and field ends (white space and slashes); the group starts and
// the end of each group's vertex field follow from a few operations on them. One load a group
// takes the eight bytes that end where its vertex field ends, and four such lanes at a time
// have the bytes before the field cleared and the digits folded to numbers by multiply-adds.

constexpr std::size_t kWideLineMax = 63;
constexpr std::size_t kWideGroupsMax = (kWideLineMax + 1) / 2;
// The fold writes four corners at a time, so up to three past the last group.
constexpr std::size_t kWideRoom = (kWideGroupsMax + 3) / 4 * 4;

// Indexed by a byte's low four bits (twice, one copy a 16-byte half): the white space byte with
// those bits, or a byte whose low bits differ, which no byte matches. Bytes from 0x80 look up
// zero, which matches none of them.
struct alignas(32) SpaceTable {
  char bytes[32];
};
constexpr SpaceTable spaceTable() {
  SpaceTable table{};
  for (int at = 0; at < 32; ++at) {
    const int low = at % 16;
    table.bytes[at] =
        static_cast<char>(low == 0 ? ' ' : (isObjSpace(static_cast<char>(low)) ? low : 0));
  }
  return table;
}
constexpr SpaceTable kSpaceTable = spaceTable();

[[gnu::target("avx2,bmi,bmi2")]] inline __m256i loadWide(const void* p) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

// The bytes of `values` (bytes less '0') that are no digit: all ones where one is 10 or more.
[[gnu::target("avx2,bmi,bmi2")]] inline __m256i wideNonDigits(__m256i values) {
  return _mm256_cmpeq_epi8(_mm256_max_epu8(values, _mm256_set1_epi8(10)), values);
}

// The classification of 32 bytes: white space, field ends (white space and slashes), and the
// bytes that are neither digits nor field ends.
struct WideClasses {
  std::uint32_t spaces;
  std::uint32_t fieldEnds;
  __m256i unknown;
};

[[gnu::target("avx2,bmi,bmi2")]] inline WideClasses classifyWide(__m256i bytes) {
  const __m256i isSpace =
      _mm256_cmpeq_epi8(_mm256_shuffle_epi8(loadWide(kSpaceTable.bytes), bytes), bytes);
  const __m256i values = _mm256_sub_epi8(bytes, _mm256_set1_epi8('0'));  // "/" becomes 0xFF
  const __m256i isFieldEnd =
      _mm256_or_si256(isSpace, _mm256_cmpeq_epi8(values, _mm256_set1_epi8(-1)));
  return {static_cast<std::uint32_t>(_mm256_movemask_epi8(isSpace)),
          static_cast<std::uint32_t>(_mm256_movemask_epi8(isFieldEnd)),
          _mm256_andnot_si256(isFieldEnd, wideNonDigits(values))};
}

// Four lanes of eight bytes that each end with a vertex field: the bytes below a lane's last
// non-digit are cleared, the digits folded (the first the most significant) and the four
// numbers written to corners[0 .. 4). `nonDigitsBelow` keeps, and-ed over the lanes, which
// bytes have a non-digit at or above them.
[[gnu::target("avx2,bmi,bmi2")]] inline void foldWide(__m256i lanes, int* corners,
                                                      __m256i& nonDigitsBelow) {
  const __m256i values = _mm256_sub_epi8(lanes, _mm256_set1_epi8('0'));
  // Non-digits, then each byte or-ed with those above it in its lane.
  __m256i below = wideNonDigits(values);
  below = _mm256_or_si256(below, _mm256_srli_epi64(below, 8));
  below = _mm256_or_si256(below, _mm256_srli_epi64(below, 16));
  below = _mm256_or_si256(below, _mm256_srli_epi64(below, 32));
  nonDigitsBelow = _mm256_and_si256(nonDigitsBelow, below);
  const __m256i pairs =  // first byte * 10 + second
      _mm256_maddubs_epi16(_mm256_andnot_si256(below, values), _mm256_set1_epi16(0x010A));
  const __m256i quads = _mm256_madd_epi16(pairs, _mm256_set1_epi32((1 << 16) | 100));
  const __m256i numbers = _mm256_add_epi64(_mm256_mul_epu32(quads, _mm256_set1_epi64x(10000)),
                                           _mm256_srli_epi64(quads, 32));
  // The four numbers' low halves side by side.
  const __m256i packed = _mm256_permute4x64_epi64(_mm256_shuffle_epi32(numbers, 0x08), 0x08);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(corners), _mm256_castsi256_si128(packed));
}

// Reads the lines described above and passes any other on to the narrow reading.
//
// Everything is loaded straight from the line, never from bytes just stored, so that no load
// waits for stores it overlaps; only a line of under 16 bytes is copied, to blanks, first.
[[gnu::target("avx2,bmi,bmi2")]] FaceLine parseFaceLineWide(std::string_view line,
                                                            int verticesReadSoFar, int* corners,
                                                            std::size_t room) {
  const std::size_t size = line.size() - 1;  // after the "f"; an empty line wraps round
  if (size > kWideLineMax) {
    return parseFaceLineNarrow(line, verticesReadSoFar, corners, room);
  }
  // The line is classified 32 bytes at a time, the last 32 overlapping the first where the
  // line is shorter than 64; a line of 16 to 31 bytes as its first 16 and its last 16 side by
  // side. Past the line is white space, which also ends the last field.
  const char* source = line.data() + 1;
  const std::uint64_t past = ~std::uint64_t{0} << size;
  std::uint64_t spaces = past;
  std::uint64_t fieldEnds = past;
  __m256i unknown;
  __m256i first;        // its first eight bytes are the line's, for a field that ends among them
  char buffer[8 + 32];  // a line of under 16 bytes, eight blanks before it and blanks after it
  if (size >= 32) {
    first = loadWide(source);
    const WideClasses head = classifyWide(first);
    const WideClasses tail = classifyWide(loadWide(source + size - 32));
    const auto tailAt = static_cast<unsigned>(size) - 32;
    spaces |= head.spaces | (std::uint64_t{tail.spaces} << tailAt);
    fieldEnds |= head.fieldEnds | (std::uint64_t{tail.fieldEnds} << tailAt);
    unknown = _mm256_or_si256(head.unknown, tail.unknown);
  } else if (size >= 16) {
    first = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + size - 16)), 1);
    const WideClasses both = classifyWide(first);
    const auto tailAt = static_cast<unsigned>(size) - 16;
    spaces |= (both.spaces & 0xFFFF) | (std::uint64_t{both.spaces >> 16} << tailAt);
    fieldEnds |= (both.fieldEnds & 0xFFFF) | (std::uint64_t{both.fieldEnds >> 16} << tailAt);
    unknown = both.unknown;
  } else {
    const __m256i blank = _mm256_set1_epi8(' ');
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(buffer), blank);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(buffer + 8), blank);
    copyShortText(buffer + 8, source, size);
    source = buffer + 8;
    first = loadWide(source);
    const WideClasses head = classifyWide(first);
    spaces |= head.spaces;
    fieldEnds |= head.fieldEnds;
    unknown = head.unknown;
  }
  const std::uint64_t digits = ~fieldEnds;
  const std::uint64_t afterSpace = (spaces << 1) | 1;  // a group may start right after the "f"
  // Another byte anywhere, or a slash that starts a group: the other readings tell.
  if (!_mm256_testz_si256(unknown, unknown) || (afterSpace & fieldEnds & ~spaces) != 0) {
    return parseFaceLineNarrow(line, verticesReadSoFar, corners, room);
  }
  const std::uint64_t starts = afterSpace & digits;
  // Adding a group's start to its run of digits carries to the byte after the run; bit
  // `size` is set, so no carry leaves the 64 bits.
  std::uint64_t ends = (digits + starts) & fieldEnds & ~past;
  // Fewer than three groups, or a field after the first that ends within the line's first
  // eight bytes, whose eight-byte load would start before the line: the other readings.
  const std::uint64_t afterFirst = ends & (ends - 1);
  if ((afterFirst & (afterFirst - 1)) == 0 || (afterFirst & 0xFF) != 0) {
    return parseFaceLineNarrow(line, verticesReadSoFar, corners, room);
  }

  // The eight bytes that end where each vertex field ends, four lanes at a time. The first
  // field may end within eight bytes of the line's start: it is taken from the first 32 bytes
  // then, moved to the high bytes.
  const auto next = [&ends, source] {
    const int at = std::countr_zero(ends);
    ends &= ends - 1;
    return static_cast<long long>(loadEight(source + at - 8));
  };
  const int firstEnd = std::countr_zero(ends);
  long long lane0;
  if (firstEnd < 8) {
    lane0 = static_cast<long long>(static_cast<std::uint64_t>(_mm256_extract_epi64(first, 0))
                                   << (8 * (8 - firstEnd)));
    ends &= ends - 1;
  } else {
    lane0 = next();
  }
  const long long lane1 = next();
  const long long lane2 = next();
  const long long lane3 = ends != 0 ? next() : 0;
  __m256i nonDigitsBelow = _mm256_set1_epi8(-1);
  foldWide(_mm256_set_epi64x(lane3, lane2, lane1, lane0), corners, nonDigitsBelow);
  // More than four groups: past the last field the lanes take the line's last eight bytes,
  // so that no load leaves the line; what they give is not kept.
  const std::uint64_t last = std::uint64_t{1} << size;
  for (int at = 4; ends != 0; at += 4) {
    long long lanes[4];
    for (long long& lane : lanes) {
      const int fieldEnd = std::countr_zero(ends | last);
      ends &= ends - 1;
      lane = static_cast<long long>(loadEight(source + fieldEnd - 8));
    }
    foldWide(_mm256_set_epi64x(lanes[3], lanes[2], lanes[1], lanes[0]), corners + at,
             nonDigitsBelow);
  }
  // A lane's lowest byte is clear when all eight are digits: the field may be longer.
  if (_mm256_testc_si256(nonDigitsBelow, _mm256_set1_epi64x(0xFF)) == 0) {
    // A vertex field of eight digits or more; the corners written are scratch.
    return parseFaceLineNarrow(line, verticesReadSoFar, corners, room);
  }
  return FaceLine{FaceLineStatus::Ok, std::popcount(starts)};
}

// Whether the processor and the system run the wide reading.
const bool kWideReading = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
         __builtin_cpu_supports("bmi2");
}();
#endif

}  // namespace

FaceLine parseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                       std::size_t room) {
#if CALVETH_SIMD
  if (kWideReading && room >= kWideRoom) {
    return parseFaceLineWide(line, verticesReadSoFar, corners, room);
  }
#endif
  return parseFaceLineNarrow(line, verticesReadSoFar, corners, room);
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
