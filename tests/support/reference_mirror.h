// The base analysis written literally: the exact pass compares every vertex with every
// vertex, and every tolerance pass scans all vertices for each unpaired one, moving the
// progress bar at every hit. Quadratic, and the reference the fast analysis must equal.
#pragma once

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "symmetry/open_base.h"

namespace calveth::testing {

BaseOutcome referenceAnalyseBase(MeshStore& store, Host& host, ViewerPort& viewer);

}  // namespace calveth::testing
