#include "objio/base_reader.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "objio/face_line.h"
#include "objio/vertex_line.h"

namespace calveth {
namespace {

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  return line;
}

void readFace(std::string_view line, int lineNumber, BaseReadBuffer& buffer,
              WarningSink& warnings) {
  const std::size_t room = kCornerCapacity - buffer.cornerCount;
  if ((room < 3 || buffer.faceCount >= kMaxFaces) && !warnings.shows()) {
    // No face fits any more and no warning is shown: the line needs no reading to be counted.
    warnings.skip();
    return;
  }
  const FaceLine face = parseFaceLine(line, static_cast<int>(buffer.vertexCount),
                                      buffer.CornerVertex.data() + buffer.cornerCount, room);
  const bool stored = face.status == FaceLineStatus::Ok && buffer.faceCount < kMaxFaces;
  if (!stored && !warnings.shows()) {
    warnings.skip();
    return;
  }
  // Each text names the line it is about, so that the user can find it in the file.
  char text[128];
  if (face.status == FaceLineStatus::Malformed) {
    std::snprintf(text, sizeof text, "line %d: F MinERR FNum=%d FType=%d D=", lineNumber,
                  face.groups, faceCornerType(line));
    warnings.warn(std::string(text) + std::string(withoutLineEnd(line)));
  } else if (buffer.faceCount >= kMaxFaces) {
    // Unreachable with today's capacities (the corner table fills first), kept so that the
    // face arrays stay safe if those change.
    std::snprintf(text, sizeof text,
                  "line %d: F Max err FaceNum=%d FlineType=%d - the face table is full (%d faces)",
                  lineNumber, face.groups, faceCornerType(line), kMaxFaces);
    warnings.warn(text);
  } else if (face.status == FaceLineStatus::TooManyCorners) {
    // The corners of all faces share one table, which fills long before the face limit.
    std::snprintf(text, sizeof text,
                  "line %d: F Corner err FaceNum=%d FlineType=%d - the corner table is full "
                  "(%zu corners)",
                  lineNumber, face.groups, faceCornerType(line), buffer.cornerCount);
    warnings.warn(text);
  } else {
    buffer.FaceStart[static_cast<std::size_t>(buffer.faceCount)] =
        static_cast<int>(buffer.cornerCount);
    buffer.FaceCornerCount[static_cast<std::size_t>(buffer.faceCount)] = face.groups;
    buffer.cornerCount += static_cast<std::size_t>(face.groups);
    ++buffer.faceCount;
  }
}

}  // namespace

BaseReadOutcome readBaseFile(LineReader& reader, BaseReadBuffer& buffer, WarningSink& warnings) {
  buffer.vertexCount = 0;
  buffer.faceCount = 0;
  buffer.cornerCount = 0;
  buffer.vLinesMet = 0;
  buffer.halfBase = 0;
  buffer.tooManyVertices = false;
  std::string_view line;
  int lineNumber = 0;
  while (reader.next(line)) {
    ++lineNumber;
    if (isVertexLine(line)) {
      ++buffer.vLinesMet;
      const VertexLine vertex = parseVertexLine(line);
      buffer.vTokenCount = vertex.converted;
      if (!vertex.ok) {
        buffer.longLine = reader.sawLongLine();
        return BaseReadOutcome::VertexLineError;
      }
      buffer.X[buffer.vertexCount] = vertex.x;
      buffer.Y[buffer.vertexCount] = vertex.y;
      buffer.Z[buffer.vertexCount] = vertex.z;
      if (++buffer.vertexCount > kMaxVertices) {
        buffer.tooManyVertices = true;
        break;
      }
    } else if (isFaceLine(line)) {
      readFace(line, lineNumber, buffer, warnings);
    } else if (line.starts_with("#HALF")) {
      buffer.halfBase = 1;
    }
  }
  buffer.longLine = reader.sawLongLine();
  return reader.failed() ? BaseReadOutcome::ReadError : BaseReadOutcome::Read;
}

void commitBase(const BaseReadBuffer& buffer, MeshStore& store) {
  const std::size_t vertices = buffer.vertexCount;
  const std::size_t faces = static_cast<std::size_t>(buffer.faceCount);
  std::copy_n(buffer.X.begin(), vertices, store.BaseX.begin());
  std::copy_n(buffer.Y.begin(), vertices, store.BaseY.begin());
  std::copy_n(buffer.Z.begin(), vertices, store.BaseZ.begin());
  std::copy_n(buffer.FaceStart.begin(), faces, store.FaceStart.begin());
  std::copy_n(buffer.FaceCornerCount.begin(), faces, store.FaceCornerCount.begin());
  std::copy_n(buffer.CornerVertex.begin(), buffer.cornerCount, store.CornerVertex.begin());
  store.baseVertexCount = buffer.vertexCount;
  store.faceCount = buffer.faceCount;
  store.halfBase = buffer.halfBase;
}

}  // namespace calveth
