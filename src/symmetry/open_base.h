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
#include "ports/command_steps.h"
#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "symmetry/mesh_pairs.h"
#include "symmetry/mirror_index.h"

namespace calveth {

// Work space of "Open Base" and of pairing by the mesh beside the store, fixed-capacity like
// it (several megabytes).
struct BaseScratch : ZeroedBySystem {
  BaseReadBuffer staging;
  MirrorIndex index;
  MeshPairScratch meshPairs;
};

inline constexpr const char* kAutoDetectQuestion =
    "Some Points are not symmetrical. Shall I try Auto detection?";

// At most this many face warnings reach the host per file; the rest are counted.
inline constexpr int kMaxFaceWarnings = 20;

// How "Open Base" ended, which decides what can be pressed next.
enum class BaseOutcome {
  Cancelled,      // no file chosen: nothing changed
  Refused,        // the file did not open, could not be read or was refused
  Usable,         // 2 or more vertices paired and no point shared
  WithoutMirror,  // fewer than 2 vertices paired ("NG: Mirror V.C.M can't build up.")
  SamePointHit,   // two or more vertices share a point ("CRITICAL ERR:Same Point HIT")
};

// Tells `steps` when a file was chosen, before it is opened.
BaseOutcome OpenBase(MeshStore& store, BaseScratch& scratch, Host& host, ViewerPort& viewer,
                     CommandSteps& steps = unwatchedSteps());

// The analysis of a base that the store holds: the progress bar, the mirror map, the viewer
// refresh and the status texts. Returns one of the last three outcomes.
BaseOutcome analyseBase(MeshStore& store, MirrorIndex& index, Host& host, ViewerPort& viewer);

}  // namespace calveth
