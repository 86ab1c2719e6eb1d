#include "objio/face_line.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

#include "objio/eight_bytes.h"
#include "objio/obj_characters.h"
#include "objio/reading_variants.h"
#include "objio/vector_instructions.h"

namespace calveth {
namespace {

// A vertex field of more digits is refused, leading zeros counted.
constexpr int kMaxVertexFieldDigits = 19;

int resolveVertexNumber(std::int64_t number, int verticesReadSoFar) {
  if (number >= 0) {
    return static_cast<int>(number);
  }
  const std::int64_t absolute = std::int64_t{verticesReadSoFar} + 1 + number;
  return static_cast<int>(absolute >= 1 ? absolute : number);
}

// ---- The common line, read eight bytes at a time -------------------------------------------
//
// Lines up to 112 bytes whose groups start with one to seven digits without a sign, followed
// by the group's end or by "/" and other fields: what nearly every file holds. The line is
// copied into a buffer with zero bytes after it, so eight bytes can be read anywhere in it and
// its end is the first zero byte. Anything else, on any group, sends the whole line to the
// reference reading, which gives the same result for these lines.

constexpr std::size_t kCommonLineMax = 112;

bool readCommonFaceLineSwar(std::string_view line, int* corners, std::size_t room,
                            FaceLine& result) {
  if constexpr (!kEightBytesLittleEndian) {
    return false;
  }
  if (line.size() > kCommonLineMax) {
    return false;
  }
  // The line after its "f", zero bytes after it; a zero byte inside goes to the reference.
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
      corners[groups] = static_cast<int>(leadingDigitsValue(chunk, digits));
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

#if CALVETH_SIMD && CALVETH_FACE_LINE_AVX2
// Whether the processor and the system run parseFaceLineAvx2.
bool processorRunsAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
         __builtin_cpu_supports("bmi2");
}
#endif

// The quickest reading that runs here: the last one in the list that does.
FaceLineParser* quickestFaceLineReading() {
  const auto readings = faceLineReadings();
  for (auto reading = readings.rbegin(); reading != readings.rend(); ++reading) {
    if (reading->function != nullptr) {
      return reading->function;
    }
  }
  return &parseFaceLineReference;
}

FaceLine chooseThenParseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                                 std::size_t room);

// The reading parseFaceLine calls; until its first call, the one that chooses it. A constant
// until then, so that it is set before any code runs; one jump through it a line.
constinit std::atomic<FaceLineParser*> chosenFaceLineReading{&chooseThenParseFaceLine};

FaceLine chooseThenParseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                                 std::size_t room) {
  FaceLineParser* const chosen = quickestFaceLineReading();
  chosenFaceLineReading.store(chosen, std::memory_order_relaxed);
  return chosen(line, verticesReadSoFar, corners, room);
}

}  // namespace

// The rule itself, byte by byte. Apart from the quick paths (never inlined into them), so that
// its set-up costs the common line nothing.
[[gnu::noinline]] FaceLine parseFaceLineReference(std::string_view line, int verticesReadSoFar,
                                                  int* corners, std::size_t room) {
  // A magnitude past every 32-bit one: digits after it change nothing.
  constexpr std::int64_t kPastAnyInt = (std::int64_t{1} << 31) + 1;
  FaceLine result;
  bool malformed = false;
  std::size_t at = 1;  // after the "f"
  while (at < line.size()) {
    if (isObjSpace(line[at])) {
      ++at;
      continue;
    }
    // A group; its vertex field is an optional sign and digits, ended by "/", white space or
    // the end of the line.
    const bool negative = line[at] == '-';
    at += (line[at] == '-' || line[at] == '+') ? 1 : 0;
    std::int64_t magnitude = 0;
    int digits = 0;
    for (; at < line.size() && isDecimalDigit(line[at]); ++at, ++digits) {
      magnitude = std::min(magnitude * 10 + (line[at] - '0'), kPastAnyInt);
    }
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    const bool fieldEnds = at == line.size() || line[at] == '/' || isObjSpace(line[at]);
    if (digits == 0 || digits > kMaxVertexFieldDigits || magnitude > limit || !fieldEnds) {
      malformed = true;
    } else if (static_cast<std::size_t>(result.groups) < room) {
      corners[result.groups] =
          resolveVertexNumber(negative ? -magnitude : magnitude, verticesReadSoFar);
    }
    // The texture and normal fields are not checked.
    while (at < line.size() && !isObjSpace(line[at])) {
      ++at;
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

FaceLine parseFaceLineSwar(std::string_view line, int verticesReadSoFar, int* corners,
                           std::size_t room) {
  FaceLine result;
  if (!line.empty() && readCommonFaceLineSwar(line, corners, room, result)) {
    return result;
  }
  return parseFaceLineReference(line, verticesReadSoFar, corners, room);
}

std::span<const ReadingVariant<FaceLineParser>> faceLineReadings() {
  static const ReadingVariant<FaceLineParser> kReadings[] = {
    {"parseFaceLineReference", &parseFaceLineReference, nullptr},
    {"parseFaceLineSwar", &parseFaceLineSwar, nullptr},
#if CALVETH_SIMD && CALVETH_FACE_LINE_AVX2
    processorRunsAvx2()
        ? ReadingVariant<FaceLineParser>{"parseFaceLineAvx2", &parseFaceLineAvx2, nullptr}
        : ReadingVariant<FaceLineParser>{"parseFaceLineAvx2", nullptr,
                                         "no AVX2, BMI and BMI2 on this processor"},
#else
    {"parseFaceLineAvx2", nullptr,
     "not built here (x86-64 with GCC or Clang and CALVETH_SIMD only)"},
#endif
  };
  return kReadings;
}

// Measured (make bench-instructions, 2026-12-09): 145 instructions a triangle line ("v/vt")
// through parseFaceLineAvx2, 115 more through parseFaceLineSwar; 330 a quad line ("v/vt/vn",
// mostly longer than parseFaceLineAvx2 takes, so through parseFaceLineSwar), 426 more through
// the reference.
FaceLine parseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                       std::size_t room) {
  return chosenFaceLineReading.load(std::memory_order_relaxed)(line, verticesReadSoFar, corners,
                                                               room);
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
