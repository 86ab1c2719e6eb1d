// The mirror map as a tab-separated table: a header line, then one row per base vertex
// (index, MirrorMap, PairedFlags, AutoPartner), LF line ends.
#pragma once

#include <string>

#include "store/mesh_store.h"

namespace calveth {

std::string mirrorMapTable(const MeshStore& store);

}  // namespace calveth
