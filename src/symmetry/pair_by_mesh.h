// "Pair the rest by the mesh": the stage after the analysis of a base (symmetry/mesh_pairs.h),
// as the front ends and the command line run it.
//
// Pairs what the faces decide, shows "OK: Mesh pairing P=%d U=%d" (pairings made, vertices
// still without a partner or with several), refreshes the viewer with the base and tells
// whether the base can now be used. mirrorIncomplete is 1 exactly when some vertex stays
// unpaired; duplicateHit exactly when some vertex stays kDuplicatePartner.
#pragma once

#include <string>

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "symmetry/mesh_pairs.h"
#include "symmetry/open_base.h"

namespace calveth {

struct MeshPairingOutcome {
  MeshPairingResult counts;
  // Usable, WithoutMirror (fewer than 2 vertices paired) or SamePointHit (a duplicate left),
  // judged as the analysis judges a base.
  BaseOutcome base = BaseOutcome::Usable;
};

// The status text of the stage.
std::string meshPairingStatus(const MeshPairingResult& counts);

// How the map of the store's base would be judged now, as analyseBase judges it.
BaseOutcome judgeMirrorMap(const MeshStore& store);

MeshPairingOutcome PairByMesh(MeshStore& store, MeshPairScratch& scratch, Host& host,
                              ViewerPort& viewer);

}  // namespace calveth
