// The readings behind the line parsers, for the tests and benchmarks that call each one
// directly. Each parser has a plain ...Reference that states its rule, and quick paths named
// for the instructions they use: ...Swar reads eight bytes in one 64-bit integer, ...Sse2 and
// ...Avx2 use those vector instructions. Every reading gives exactly what its reference gives,
// for every input; a quick path hands any input it does not take to the next reading in line.
// The parser itself (parseVertexLine, parseFaceLine, the line-feed search) uses the quickest
// one that runs here, chosen once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "objio/face_line.h"
#include "objio/vertex_line.h"

namespace calveth {

// One reading of a parser: what the tests and benchmarks call, or why it cannot run here.
template <typename Function>
struct ReadingVariant {
  const char* name;     // the function's name
  Function* function;   // null where it does not run here
  const char* absence;  // why it does not ("no AVX2 on this processor"), null where it runs
};

// ---- "v" lines: the first three tokens read one by one with scanDecimalNumber; the quick
// paths take lines of three one-digit six-decimal numbers ("0.123456", "-1.500000") with
// single blanks between them, the form most files use.

using VertexLineParser = VertexLine(std::string_view line);
VertexLine parseVertexLineReference(std::string_view line);
VertexLine parseVertexLineSwar(std::string_view line);
VertexLine parseVertexLineSse2(std::string_view line);  // built with CALVETH_SIMD only
// Reference first, then from the slowest quick path to the quickest.
std::span<const ReadingVariant<VertexLineParser>> vertexLineReadings();

// ---- "f" lines: the groups read one by one; the quick paths take lines whose groups start with
// one to seven digits without a sign (Swar: up to 112 bytes; Avx2: up to 63 bytes made of
// white space, digits and slashes alone, where the room holds 32 corners).

using FaceLineParser = FaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                                std::size_t room);
FaceLine parseFaceLineReference(std::string_view line, int verticesReadSoFar, int* corners,
                                std::size_t room);
FaceLine parseFaceLineSwar(std::string_view line, int verticesReadSoFar, int* corners,
                           std::size_t room);
// Built with CALVETH_SIMD on x86-64 by GCC and Clang (face_line_avx2.cpp); run only where the
// processor has AVX2, BMI and BMI2.
FaceLine parseFaceLineAvx2(std::string_view line, int verticesReadSoFar, int* corners,
                           std::size_t room);
// The room parseFaceLineAvx2 needs to take a line: it writes four corners at a time, up to
// three past the last of at most 32.
inline constexpr std::size_t kFaceLineAvx2Room = 32;
std::span<const ReadingVariant<FaceLineParser>> faceLineReadings();

// ---- Line feeds: bit k set when block[k] is an LF, for a block of kLineFeedBlock (64) bytes.

using LineFeedMaskFunction = std::uint64_t(const char* block);
std::uint64_t lineFeedMaskReference(const char* block);
std::uint64_t lineFeedMaskSse2(const char* block);  // built with CALVETH_SIMD only
std::span<const ReadingVariant<LineFeedMaskFunction>> lineFeedMaskReadings();

}  // namespace calveth
