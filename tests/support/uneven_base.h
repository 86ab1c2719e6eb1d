// Generated uneven bases (meshgen/uneven_part.h) in a store, and how a mirror map scores
// against their true partners.
#pragma once

#include <vector>

#include "meshgen/uneven_part.h"
#include "store/mesh_store.h"

namespace calveth::testing {

using meshgen::UnevenBase;
using meshgen::unevenBase;
using meshgen::UnevenOptions;

// The mesh's vertices and faces as the base of `store` (1-based corners, as the reader
// stores them); the map and flags are left to the analysis.
void loadBase(MeshStore& store, const meshgen::Mesh& mesh);

struct MapScore {
  int right = 0;     // vertices whose MirrorMap entry is their true partner
  int wrong = 0;     // vertices with a partner that is not their true one
  int unpaired = 0;  // kNoPartner or kDuplicatePartner
};

MapScore scoreMap(const MeshStore& store, const std::vector<int>& truePartner);

}  // namespace calveth::testing
