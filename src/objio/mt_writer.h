// The new MT file: a three-line header, one "v" line per vertex and the vertex count, and,
// when asked, the texture, normal, face and material-use lines of the loaded MT file.
//
// The file is written crash-safe (safe_file_writer.h): the target holds either its previous
// content or the whole new file. Every line the writer makes ends in a single LF; copied
// lines keep the line end they have in the MT file (a lone CR arrives as LF), and a copied
// last line without one gets an LF.
#pragma once

#include <cstdint>
#include <string>

#include "objio/safe_file_writer.h"
#include "store/mesh_store.h"

namespace calveth {

struct MtFileContent {
  std::string title;  // the MT's title, header line 2
  const double* x = nullptr;
  const double* y = nullptr;
  const double* z = nullptr;
  VertexIndex vertexCount = 0;
  // The MT file whose "vt", "vn", "f" and "u" lines follow the vertices; empty for none.
  std::string copyFrom;
};

enum class MtWriteOutcome {
  Saved,
  OpenError,    // the target is a folder or refuses writing, or nothing can be created beside it
  NotFinite,    // a coordinate is NaN or infinite: nothing is written
  MtReadError,  // the MT file cannot be opened or read for the copy pass
  WriteError,   // a write, the close or the replacing of the target failed
};

// Writes the file at `target` (UTF-8), whose path also goes into header line 3 as given (a CR
// or LF in the title or the path as '?', so that the header keeps its three lines).
MtWriteOutcome writeMtFile(const std::string& target, const MtFileContent& content,
                           FileWriteLayer& layer = systemFileLayer());

// True for an MT line that the copy pass carries over: "vt", "vn", or a first byte f or u.
inline bool isCopiedLine(std::string_view line) {
  if (line.empty()) {
    return false;
  }
  if (line[0] == 'v') {
    return line.size() >= 2 && (line[1] == 't' || line[1] == 'n');
  }
  return line[0] == 'f' || line[0] == 'u';
}

}  // namespace calveth
