// The mirror map as a tab-separated table: a header line, then one row per base vertex
// (index, MirrorMap, PairedFlags, AutoPartner), LF line ends. With `withHow` a last column
// tells how the entry came about: "exact" (the partner lies exactly at the mirror position),
// "tolerance", "mesh" (MeshPairedFlags), "duplicate" (kDuplicatePartner) or "none".
#pragma once

#include <string>

#include "store/mesh_store.h"

namespace calveth {

std::string mirrorMapTable(const MeshStore& store, bool withHow = false);

}  // namespace calveth
