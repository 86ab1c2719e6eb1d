// Pairing by the mesh written literally from its rule (symmetry/mesh_pairs.h): each decision
// looks at every vertex as a candidate, and sweeps in vertex order repeat until one pairs
// nothing. Quadratic; the reference the fast stage must equal.
#pragma once

#include "store/mesh_store.h"
#include "symmetry/mesh_pairs.h"

namespace calveth::testing {

MeshPairingResult referenceMeshPairs(MeshStore& store);

// True when some open vertex could still be paired by the rule: a map that the stage left
// is a fixed point exactly when this is false. Changes nothing.
bool referenceFindsAPair(const MeshStore& store);

}  // namespace calveth::testing
