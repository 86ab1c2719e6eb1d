// Auto detection: pairs the vertices left without a partner by the exact pass, within a
// tolerance that grows pass by pass (tolerance.h).
//
// A pass visits the vertices whose MirrorMap entry is kNoPartner in ascending order; each
// takes the lowest-indexed vertex j, itself included, still without a partner, for which
// |X[j] + X[i]|, |Y[i] - Y[j]| and |Z[i] - Z[j]| are each below the tolerance, and the two
// are paired both ways (MirrorMap, AutoPartner, PairedFlags). Vertices with an exact partner
// or marked kDuplicatePartner are never touched.
//
// The detection stops when the hits reach the vertex count, when there are fewer than 2
// hits, when the first pass is declined, or when the tolerance passes its limit (then 150
// passes have run and level is 149). Passes that cannot pair anything are counted without
// being run: the closest unpaired match is known, and a pass pairs only once the tolerance
// exceeds it.
#pragma once

#include "store/mesh_store.h"
#include "symmetry/exact_pairs.h"
#include "symmetry/mirror_index.h"

namespace calveth {

class AutoDetectHooks : public PairingProgress {
 public:
  // Called once, before the first pass; false declines the detection.
  virtual bool startFirstPass() = 0;
};

struct AutoDetectResult {
  int symmetryHits = 0;
  int autoPairs = 0;  // pairings made by the detection
  int level = 0;      // passes after which the detection went on or found the map complete
};

AutoDetectResult autoDetectPartners(MeshStore& store, MirrorIndex& index, int symmetryHits,
                                    AutoDetectHooks& hooks);

}  // namespace calveth
