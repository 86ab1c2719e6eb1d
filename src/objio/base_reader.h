// Reading a base body part: vertices, faces and the "#HALF" mark.
//
// The file is read into a BaseReadBuffer, never into the store directly, so that a file
// refused part-way leaves the loaded base whole; commitBase() copies an accepted read over.
//
// Vertex lines: a line that fails to parse ends the reading (VertexLineError). After storing
// the (kMaxVertices + 1)th vertex reading stops with tooManyVertices set.
// Face lines never lose vertices: a malformed face, one past kMaxFaces, or one whose corners
// do not fit the corner table is not stored, a warning text is handed to the sink, and the
// reading goes on. Other lines (vt, vn, g, s, usemtl, comments, blank lines) are ignored.
#pragma once

#include <cstdint>
#include <string_view>

#include "objio/line_reader.h"
#include "store/mesh_store.h"

namespace calveth {

class WarningSink {
 public:
  virtual ~WarningSink() = default;
  // Whether the next warning's text is shown: the reader formats it only then, and calls
  // skip() instead otherwise.
  virtual bool shows() const { return true; }
  virtual void warn(std::string_view text) = 0;
  virtual void skip() {}
};

// Lives inside calloc-ed storage (see ZeroedBySystem): its arrays carry no initialiser.
struct BaseReadBuffer {
  BaseArray X;
  BaseArray Y;
  BaseArray Z;
  CornerArray FaceStart;
  CornerArray FaceCornerCount;
  CornerArray CornerVertex;
  VertexIndex vertexCount = 0;
  int faceCount = 0;
  std::size_t cornerCount = 0;
  int vLinesMet = 0;  // "v" lines met, the one that failed or passed the limit included
  int halfBase = 0;
  int vTokenCount = 0;
  bool tooManyVertices = false;
  bool longLine = false;
};

enum class BaseReadOutcome { Read, VertexLineError, ReadError };

BaseReadOutcome readBaseFile(LineReader& reader, BaseReadBuffer& buffer, WarningSink& warnings);

// Makes an accepted read the store's base: vertices, faces, counts and the half mark.
void commitBase(const BaseReadBuffer& buffer, MeshStore& store);

}  // namespace calveth
