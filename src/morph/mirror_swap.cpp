#include "morph/mirror_swap.h"

#include "morph/finish_generation.h"

namespace calveth {
namespace {

void setMirrorOfPartner(MeshStore& store, VertexIndex i, int partner) {
  const auto p = static_cast<std::size_t>(partner);
  store.WorkX[i] = -store.MtX[p];
  store.WorkY[i] = store.MtY[p];
  store.WorkZ[i] = store.MtZ[p];
}

void setOwn(MeshStore& store, VertexIndex i) {
  store.WorkX[i] = store.MtX[i];
  store.WorkY[i] = store.MtY[i];
  store.WorkZ[i] = store.MtZ[i];
}

// Vertices of the side chosen by `generated` (given the base's X) take their partner's
// mirrored MT position; all others keep their own.
template <typename Side>
void mirrorOnto(MeshStore& store, Side generated) {
  for (VertexIndex i = 0; i < store.mtVertexCount; ++i) {
    const int partner = store.MirrorMap[i];
    if (generated(store.BaseX[i]) && partner >= 0) {
      setMirrorOfPartner(store, i, partner);
    } else {
      setOwn(store, i);
    }
  }
}

// A half MT of n vertices against a base of 2n: the MT covers the base half whose X sum has
// the sign of the MT's (a sum of 0 counts as left), and the result is the other half, each of
// its vertices the mirrored MT position of its partner, or its base position when the
// partner does not lie in the MT's half.
VertexIndex swapHalf(MeshStore& store) {
  const VertexIndex n = store.mtVertexCount;
  double firstHalfSum = 0.0;
  for (VertexIndex i = 0; i < n; ++i) {
    firstHalfSum += store.BaseX[i];
  }
  const bool mtInFirstHalf = (firstHalfSum >= 0.0) == (store.mtXSum >= 0.0);
  const VertexIndex mtStart = mtInFirstHalf ? 0 : n;
  const VertexIndex outputStart = n - mtStart;
  for (VertexIndex k = 0; k < n; ++k) {
    const VertexIndex j = outputStart + k;
    const int partner = store.MirrorMap[j];
    if (partner >= static_cast<int>(mtStart) && partner < static_cast<int>(mtStart + n)) {
      setMirrorOfPartner(store, k, partner - static_cast<int>(mtStart));
    } else {
      store.WorkX[k] = store.BaseX[j];
      store.WorkY[k] = store.BaseY[j];
      store.WorkZ[k] = store.BaseZ[j];
    }
  }
  return n;
}

}  // namespace

bool MirrorLeftToRight(MeshStore& store, Host& host, ViewerPort& viewer) {
  mirrorOnto(store, [](double baseX) { return baseX < 0.0; });
  finishGeneration(store, host, viewer, "OK: Left Seed,Right Generate.", "MirR",
                   store.mtVertexCount);
  return true;
}

bool MirrorRightToLeft(MeshStore& store, Host& host, ViewerPort& viewer) {
  mirrorOnto(store, [](double baseX) { return baseX > 0.0; });
  finishGeneration(store, host, viewer, "OK: Right Seed,Left Generate.", "MirL",
                   store.mtVertexCount);
  return true;
}

bool SwapSides(MeshStore& store, Host& host, ViewerPort& viewer) {
  VertexIndex produced = store.mtVertexCount;
  if (store.halfBase == 1) {
    produced = swapHalf(store);
  } else if (store.mirrorIncomplete == 1) {
    for (VertexIndex i = 0; i < store.mtVertexCount; ++i) {
      const int partner = store.MirrorMap[i];
      if (store.PairedFlags[i] == 1 && partner >= 0) {
        setMirrorOfPartner(store, i, partner);
      } else {
        setOwn(store, i);
      }
    }
  } else {
    mirrorOnto(store, [](double) { return true; });
  }
  finishGeneration(store, host, viewer, "OK: Swap Generate.", "Swap", produced);
  return true;
}

}  // namespace calveth
