// The AVX2 reading of "f" lines (reading_variants.h), in a file of its own that is compiled for
// AVX2, BMI and BMI2 (CMakeLists.txt); it runs only where the processor has them.
//
// Everything here but parseFaceLineAvx2 is in the unnamed namespace, and bit counts are the
// compiler's builtins: an inline function of a shared header compiled here could take AVX2
// instructions into the one copy that the linker keeps for every caller.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "objio/eight_bytes.h"
#include "objio/obj_characters.h"
#include "objio/reading_variants.h"
#include "objio/vector_instructions.h"

#if CALVETH_SIMD

namespace calveth {
namespace {

// Where the processor has AVX2, BMI and BMI2 (most x86-64 ones since 2013; asked once, at
// start): a line of at most 63 bytes after its "f", made of white space, digits and "/" alone,
// where every group starts with one to seven digits. Its bytes are classified side by side
// into two masks, white space and field ends (white space and slashes); the group starts and
// the end of each group's vertex field follow from a few operations on them. One load a group
// takes the eight bytes that end where its vertex field ends, and four such lanes at a time
// have the bytes before the field cleared and the digits folded to numbers by multiply-adds.

constexpr std::size_t kAvx2LineMax = 63;
constexpr std::size_t kAvx2GroupsMax = (kAvx2LineMax + 1) / 2;
// The fold writes four corners at a time, so up to three past the last group.
static_assert(kFaceLineAvx2Room == (kAvx2GroupsMax + 3) / 4 * 4);

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

[[gnu::always_inline]] inline __m256i load32(const void* p) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

// The bytes of `values` (bytes less '0') that are no digit: all ones where one is 10 or more.
[[gnu::always_inline]] inline __m256i nonDigitBytes32(__m256i values) {
  return _mm256_cmpeq_epi8(_mm256_max_epu8(values, _mm256_set1_epi8(10)), values);
}

// The classification of 32 bytes: white space, field ends (white space and slashes), and the
// bytes that are neither digits nor field ends.
struct ByteClasses {
  std::uint32_t spaces;
  std::uint32_t fieldEnds;
  __m256i unknown;
};

[[gnu::always_inline]] inline ByteClasses classifyBytes(__m256i bytes) {
  const __m256i isSpace =
      _mm256_cmpeq_epi8(_mm256_shuffle_epi8(load32(kSpaceTable.bytes), bytes), bytes);
  const __m256i values = _mm256_sub_epi8(bytes, _mm256_set1_epi8('0'));  // "/" becomes 0xFF
  const __m256i isFieldEnd =
      _mm256_or_si256(isSpace, _mm256_cmpeq_epi8(values, _mm256_set1_epi8(-1)));
  return {static_cast<std::uint32_t>(_mm256_movemask_epi8(isSpace)),
          static_cast<std::uint32_t>(_mm256_movemask_epi8(isFieldEnd)),
          _mm256_andnot_si256(isFieldEnd, nonDigitBytes32(values))};
}

// Four lanes of eight bytes that each end with a vertex field: the bytes below a lane's last
// non-digit are cleared, the digits folded (the first the most significant) and the four
// numbers written to corners[0 .. 4). `nonDigitsBelow` keeps, and-ed over the lanes, which
// bytes have a non-digit at or above them.
[[gnu::always_inline]] inline void foldVertexFields(__m256i lanes, int* corners,
                                                    __m256i& nonDigitsBelow) {
  const __m256i values = _mm256_sub_epi8(lanes, _mm256_set1_epi8('0'));
  // Non-digits, then each byte or-ed with those above it in its lane.
  __m256i below = nonDigitBytes32(values);
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

}  // namespace

// Reads the lines described above and passes any other on to parseFaceLineSwar.
//
// Everything is loaded straight from the line, never from bytes just stored, so that no load
// waits for stores it overlaps; only a line of under 16 bytes is copied, to blanks, first.
FaceLine parseFaceLineAvx2(std::string_view line, int verticesReadSoFar, int* corners,
                           std::size_t room) {
  const std::size_t size = line.size() - 1;  // after the "f"; an empty line wraps round
  if (size > kAvx2LineMax || room < kFaceLineAvx2Room) {
    return parseFaceLineSwar(line, verticesReadSoFar, corners, room);
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
    first = load32(source);
    const ByteClasses head = classifyBytes(first);
    const ByteClasses tail = classifyBytes(load32(source + size - 32));
    const auto tailAt = static_cast<unsigned>(size) - 32;
    spaces |= head.spaces | (std::uint64_t{tail.spaces} << tailAt);
    fieldEnds |= head.fieldEnds | (std::uint64_t{tail.fieldEnds} << tailAt);
    unknown = _mm256_or_si256(head.unknown, tail.unknown);
  } else if (size >= 16) {
    first = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + size - 16)), 1);
    const ByteClasses both = classifyBytes(first);
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
    first = load32(source);
    const ByteClasses head = classifyBytes(first);
    spaces |= head.spaces;
    fieldEnds |= head.fieldEnds;
    unknown = head.unknown;
  }
  const std::uint64_t digits = ~fieldEnds;
  const std::uint64_t afterSpace = (spaces << 1) | 1;  // a group may start right after the "f"
  // Another byte anywhere, or a slash that starts a group: the other readings tell.
  if (!_mm256_testz_si256(unknown, unknown) || (afterSpace & fieldEnds & ~spaces) != 0) {
    return parseFaceLineSwar(line, verticesReadSoFar, corners, room);
  }
  const std::uint64_t starts = afterSpace & digits;
  // Adding a group's start to its run of digits carries to the byte after the run; bit
  // `size` is set, so no carry leaves the 64 bits. That bit itself ends a last field that
  // ends with the line (the last line of a file without a line end).
  std::uint64_t ends = (digits + starts) & fieldEnds & ~(past << 1);
  // Fewer than three groups, or a field after the first that ends within the line's first
  // eight bytes, whose eight-byte load would start before the line: the other readings.
  const std::uint64_t afterFirst = ends & (ends - 1);
  if ((afterFirst & (afterFirst - 1)) == 0 || (afterFirst & 0xFF) != 0) {
    return parseFaceLineSwar(line, verticesReadSoFar, corners, room);
  }

  // The eight bytes that end where each vertex field ends, four lanes at a time. The first
  // field may end within eight bytes of the line's start: it is taken from the first 32 bytes
  // then, moved to the high bytes.
  const auto next = [&ends, source] {
    const int at = __builtin_ctzll(ends);
    ends &= ends - 1;
    return static_cast<long long>(loadEight(source + at - 8));
  };
  const int firstEnd = __builtin_ctzll(ends);
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
  foldVertexFields(_mm256_set_epi64x(lane3, lane2, lane1, lane0), corners, nonDigitsBelow);
  // More than four groups: past the last field the lanes take the line's last eight bytes,
  // so that no load leaves the line; what they give is not kept.
  const std::uint64_t last = std::uint64_t{1} << size;
  for (int at = 4; ends != 0; at += 4) {
    long long lanes[4];
    for (long long& lane : lanes) {
      const int fieldEnd = __builtin_ctzll(ends | last);
      ends &= ends - 1;
      lane = static_cast<long long>(loadEight(source + fieldEnd - 8));
    }
    foldVertexFields(_mm256_set_epi64x(lanes[3], lanes[2], lanes[1], lanes[0]), corners + at,
                     nonDigitsBelow);
  }
  // A lane's lowest byte is clear when all eight are digits: the field may be longer.
  if (_mm256_testc_si256(nonDigitsBelow, _mm256_set1_epi64x(0xFF)) == 0) {
    // A vertex field of eight digits or more; the corners written are scratch.
    return parseFaceLineSwar(line, verticesReadSoFar, corners, room);
  }
  return FaceLine{FaceLineStatus::Ok, __builtin_popcountll(starts)};
}

}  // namespace calveth

#endif
