#include "viewer/sans_text_metrics.h"

#include <array>
#include <cmath>

namespace calveth {
namespace {

// Advance widths of the printable ASCII characters (space to tilde) in thousandths of the em,
// as the font's published metrics give them.
// clang-format off
constexpr std::array<int, 95> kAdvance = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,   // space to /
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,   // 0 to ?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @ to O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,   // P to _
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,   // ` to o
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};       // p to ~
// clang-format on
constexpr int kFallbackAdvance = 556;  // "n"

// The font's ascent and descent below the baseline, in thousandths of the em.
constexpr int kAscent = 905;
constexpr int kDescent = 212;

int pixels(int thousandths, int pixelHeight) {
  return static_cast<int>(std::lround(thousandths * pixelHeight / 1000.0));
}

}  // namespace

int sansTextWidth(std::string_view text, int pixelHeight) {
  int width = 0;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    const int advance = code >= 32 && code < 127 ? kAdvance[code - 32] : kFallbackAdvance;
    width += pixels(advance, pixelHeight);
  }
  return width;
}

SansLineMetrics sansLineMetrics(int pixelHeight) {
  return {pixels(kAscent, pixelHeight), pixels(kAscent + kDescent, pixelHeight)};
}

}  // namespace calveth
