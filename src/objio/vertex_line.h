// Reading "v" lines.
//
// A "v" line begins "v" followed by a blank or a tab. Tokens are separated by runs of blanks
// and tabs; a trailing CR or LF is white space. Each of the first three tokens must be a whole
// decimal number (decimal_reading.h); later tokens (w, vertex colours) are ignored.
#pragma once

#include <string_view>

namespace calveth {

struct VertexLine {
  bool ok = false;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  int converted = 0;  // numbers converted before the first bad or missing token (3 when ok)
};

// True for a line that the readers treat as a vertex line.
inline bool isVertexLine(std::string_view line) {
  return line.size() >= 2 && line[0] == 'v' && (line[1] == ' ' || line[1] == '\t');
}

// Reads a line for which isVertexLine holds, through the quickest reading built here
// (reading_variants.h).
VertexLine parseVertexLine(std::string_view line);

}  // namespace calveth
