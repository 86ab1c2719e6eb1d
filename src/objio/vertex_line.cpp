#include "objio/vertex_line.h"

#include <cstdint>
#include <cstring>

#include "objio/decimal_reading.h"
#include "objio/eight_bytes.h"
#include "objio/obj_characters.h"
#include "objio/reading_variants.h"
#include "objio/vector_instructions.h"

#if CALVETH_SIMD
#include <emmintrin.h>
#endif

namespace calveth {
namespace {

// The three values read by a quick path.
VertexLine threeValues(const double* xyz) {
  VertexLine result;
  result.x = xyz[0];
  result.y = xyz[1];
  result.z = xyz[2];
  result.converted = 3;
  result.ok = true;
  return result;
}

// "v" and a single blank or tab, then something that is no white space: where the quick paths
// look for their numbers.
bool numbersRightAfterOneSpace(std::string_view line) {
  return line.size() > 2 && isObjSpace(line[1]) && !isObjSpace(line[2]);
}

// A line written as most are, "v" and three numbers of one digit, the point and six decimals
// ("0.123456", "-1.500000"), single blanks between them: each number is read with one
// eight-byte load and no loop, the line without a branch per character. The values are those
// scanDecimalNumber gives (the same mantissa divided by 10^6). False for any other text.
bool readSixDecimalLineSwar(const char* p, const char* end, double* xyz) {
  if constexpr (kEightBytesLittleEndian) {
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

#if CALVETH_SIMD
// The same lines and values as readSixDecimalLineSwar, the three numbers converted side by side:
// their digits widened to 16-bit lanes, the point's lane (a 0 digit) swapped before the first
// digit, then pairs, quads and octets folded by multiply-adds; the three mantissas below 10^7
// convert exactly, and one division each gives what the scalar division gives.
bool readSixDecimalLineSse2(const char* p, const char* end, double* xyz) {
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

}  // namespace

// The rule itself, token by token. Apart from the quick paths (never inlined into them), so
// that its set-up costs the common line nothing.
[[gnu::noinline]] VertexLine parseVertexLineReference(std::string_view line) {
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

VertexLine parseVertexLineSwar(std::string_view line) {
  double xyz[3];
  if (numbersRightAfterOneSpace(line) &&
      readSixDecimalLineSwar(line.data() + 2, line.data() + line.size(), xyz)) {
    return threeValues(xyz);
  }
  return parseVertexLineReference(line);
}

#if CALVETH_SIMD
VertexLine parseVertexLineSse2(std::string_view line) {
  double xyz[3];
  if (numbersRightAfterOneSpace(line) &&
      readSixDecimalLineSse2(line.data() + 2, line.data() + line.size(), xyz)) {
    return threeValues(xyz);
  }
  return parseVertexLineReference(line);
}
#endif

// Measured (make bench-instructions, 40000 six-decimal "v" lines, 2026-12-09): 114
// instructions a line through parseVertexLineSse2; through parseVertexLineSwar the process
// takes 69 a line more, through the reference another 490.
VertexLine parseVertexLine(std::string_view line) {
#if CALVETH_SIMD
  return parseVertexLineSse2(line);
#else
  return parseVertexLineSwar(line);
#endif
}

std::span<const ReadingVariant<VertexLineParser>> vertexLineReadings() {
  static constexpr ReadingVariant<VertexLineParser> kReadings[] = {
    {"parseVertexLineReference", &parseVertexLineReference, nullptr},
    {"parseVertexLineSwar", &parseVertexLineSwar, nullptr},
#if CALVETH_SIMD
    {"parseVertexLineSse2", &parseVertexLineSse2, nullptr},
#else
    {"parseVertexLineSse2", nullptr, "not built here (x86-64 with CALVETH_SIMD only)"},
#endif
  };
  return kReadings;
}

}  // namespace calveth
