// Parsing of "f" lines.
//
// Corners are the groups of non-blank characters after the "f"; a corner's vertex number is
// the first field of its group ("7", "7/3", "7/3/2" and "7//2" all give 7). The vertex field
// must be an optional sign and digits (at most 19, leading zeros counted) that fit a 32-bit
// integer; texture and normal fields
// are not checked. Negative numbers count back from the last vertex read so far (-1 is that
// vertex) and are stored as the absolute 1-based number; a 0, or a relative number that
// resolves below 1, is stored as it stands.
#pragma once

#include <cstddef>
#include <string_view>

namespace calveth {

enum class FaceLineStatus {
  Ok,              // every corner written
  Malformed,       // fewer than 3 corners, or a vertex field that is not an integer
  TooManyCorners,  // well-formed, but more corners than the room given
};

struct FaceLine {
  FaceLineStatus status = FaceLineStatus::Malformed;
  int groups = 0;  // corner groups on the line
};

inline bool isFaceLine(std::string_view line) {
  return line.size() >= 2 && line[0] == 'f' && (line[1] == ' ' || line[1] == '\t');
}

// Writes the corners' vertex numbers to corners[0 .. room). On a status other than Ok the
// entries written are scratch that the caller does not keep. Reads through the quickest
// reading that runs here, chosen on the first call (reading_variants.h).
FaceLine parseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                       std::size_t room);

// The corner type that the first group's slashes tell: 1 = v, 2 = v/vt, 3 = v/vt/vn or v//vn
// (1 when the line has no group). Only warnings show it, so it is read apart, when one is.
int faceCornerType(std::string_view line);

}  // namespace calveth
