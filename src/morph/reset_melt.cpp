#include "morph/reset_melt.h"

#include "morph/finish_generation.h"
#include "ports/status_text.h"

namespace calveth {
namespace {

// With `rightFromBase` the right side (base X < 0) takes the base and the rest the MT;
// without it the reverse.
void resetBySide(MeshStore& store, bool rightFromBase) {
  for (VertexIndex i = 0; i < store.mtVertexCount; ++i) {
    const bool fromBase = (store.BaseX[i] < 0.0) == rightFromBase;
    store.WorkX[i] = fromBase ? store.BaseX[i] : store.MtX[i];
    store.WorkY[i] = fromBase ? store.BaseY[i] : store.MtY[i];
    store.WorkZ[i] = fromBase ? store.BaseZ[i] : store.MtZ[i];
  }
}

}  // namespace

bool ResetLeft(MeshStore& store, Host& host, ViewerPort& viewer) {
  resetBySide(store, false);
  finishGeneration(store, host, viewer, "OK: Left Reset.", "ResL", store.mtVertexCount);
  return true;
}

bool ResetRight(MeshStore& store, Host& host, ViewerPort& viewer) {
  resetBySide(store, true);
  finishGeneration(store, host, viewer, "OK: Right Reset.", "ResR", store.mtVertexCount);
  return true;
}

bool MeltMt(MeshStore& store, Host& host, ViewerPort& viewer) {
  double highest = -999999999999.0;
  double lowest = 999999999999.9;
  for (VertexIndex i = 0; i < store.mtVertexCount; ++i) {
    if (highest < store.BaseY[i]) {
      highest = store.BaseY[i];
    }
    if (lowest > store.BaseY[i]) {
      lowest = store.BaseY[i];
    }
  }
  if (highest == 0.0) {
    showStatus(host, "ERR: Melt impossible, highest Y is 0");
    return false;
  }
  const double height = highest - lowest;
  for (VertexIndex i = 0; i < store.mtVertexCount; ++i) {
    store.WorkX[i] = store.MtX[i] * kMeltSpread;
    store.WorkY[i] = highest - height * store.MtY[i] / highest;
    store.WorkZ[i] = store.MtZ[i] * kMeltSpread;
  }
  finishGeneration(store, host, viewer, "OK: Melt.", "Melt", store.mtVertexCount);
  return true;
}

bool VertexOnlyClicked(MeshStore& store, Host& host) {
  if (store.mtHasFaceLines == 0) {
    host.setStatusText("NO! Your MT is not included Face.");
    return true;
  }
  return false;
}

}  // namespace calveth
