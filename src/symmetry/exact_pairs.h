// The exact pass of the mirror search.
//
// For every base vertex i (ascending) the partners are the vertices j, i itself included,
// with X[j] == -X[i], Y[j] == Y[i] and Z[j] == Z[i] exactly as doubles (0.0 equals -0.0).
// One partner: MirrorMap[i] = j. Two or more: MirrorMap[i] = kDuplicatePartner and
// duplicateHit = 1. Either way PairedFlags[i] = 1; none: kNoPartner and 0. DeltaX[i] and
// MeshPairedFlags[i] are reset to 0. The result is the number of hits, a vertex with several
// partners counting 2.
#pragma once

#include "store/mesh_store.h"
#include "symmetry/mirror_index.h"

namespace calveth {

class PairingProgress {
 public:
  virtual ~PairingProgress() = default;
  virtual void hits(int symmetryHits) = 0;
};

int findExactPartners(MeshStore& store, MirrorIndex& index, PairingProgress& progress);

}  // namespace calveth
