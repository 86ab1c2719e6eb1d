#include "symmetry/pair_by_mesh.h"

#include "ports/status_text.h"

namespace calveth {

std::string meshPairingStatus(const MeshPairingResult& counts) {
  return formatText("OK: Mesh pairing P=%d U=%d", counts.pairs, counts.unpaired);
}

BaseOutcome judgeMirrorMap(const MeshStore& store) {
  // The analysis' hit count: one per vertex with a partner, two per duplicate.
  int hits = 0;
  bool duplicate = false;
  for (VertexIndex i = 0; i < store.baseVertexCount; ++i) {
    const int entry = store.MirrorMap[i];
    if (entry >= 0) {
      hits += 1;
    } else if (entry == kDuplicatePartner) {
      hits += 2;
      duplicate = true;
    }
  }
  if (hits < 2) {
    return BaseOutcome::WithoutMirror;
  }
  return duplicate ? BaseOutcome::SamePointHit : BaseOutcome::Usable;
}

MeshPairingOutcome PairByMesh(MeshStore& store, MeshPairScratch& scratch, Host& host,
                              ViewerPort& viewer) {
  MeshPairingOutcome outcome;
  outcome.counts = pairByMesh(store, scratch);
  store.mirrorIncomplete = outcome.counts.unpaired > 0;
  viewer.refresh(baseViewerInput(store, static_cast<int>(store.baseVertexCount), store.faceCount));
  showStatus(host, meshPairingStatus(outcome.counts));
  outcome.base = judgeMirrorMap(store);
  return outcome;
}

}  // namespace calveth
