// "Open Base": loads a base body part and builds its mirror map.
//
// Asks the host for a file; a cancelled choice changes nothing. The file is read into the
// scratch buffer first: a file refused for a bad "v" line, for having no vertices or more
// than kMaxVertices, or that cannot be read, leaves the loaded base (vertices, faces, map,
// flags and counts) whole. An accepted file becomes the base, its mirror map is built (the
// exact pass, then, with the user's consent, the tolerance passes), the viewer shows it and
// the status line tells the result. Face lines that are not stored come as host warnings.
#pragma once

#include "objio/base_reader.h"
#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "symmetry/mirror_index.h"

namespace calveth {

// Work space of "Open Base" beside the store, fixed-capacity like it (several megabytes).
struct BaseScratch {
  BaseReadBuffer staging;
  MirrorIndex index;
};

inline constexpr const char* kAutoDetectQuestion =
    "Some Points are not symmetrical. Shall I try Auto detection?";

// At most this many face warnings reach the host per file; the rest are counted.
inline constexpr int kMaxFaceWarnings = 20;

void OpenBase(MeshStore& store, BaseScratch& scratch, Host& host, ViewerPort& viewer);

// The analysis of a base that the store holds: the progress bar, the mirror map, the viewer
// refresh, the status texts and what becomes available.
void analyseBase(MeshStore& store, MirrorIndex& index, Host& host, ViewerPort& viewer);

}  // namespace calveth
