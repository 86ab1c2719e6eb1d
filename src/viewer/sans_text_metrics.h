// Estimated size of a text in the legend's font (Arial, or a font with its metrics such as
// Liberation Sans), for surfaces that cannot measure text themselves, such as an SVG file.
//
// Each character advances by its width in the font's design, rounded to whole pixels as
// hinted screen text is; characters outside printable ASCII count as wide as "n". Line
// height and ascent are the font's line metrics rounded to whole pixels. An estimate: the
// viewer window measures its text with the real font.
#pragma once

#include <string_view>

namespace calveth {

struct SansLineMetrics {
  int ascent = 0;  // top of the line box to the baseline
  int height = 0;  // the whole line box
};

int sansTextWidth(std::string_view text, int pixelHeight);
SansLineMetrics sansLineMetrics(int pixelHeight);

}  // namespace calveth
