#include "support/reference_mirror.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "symmetry/open_base.h"

namespace calveth::testing {
namespace {

// Deliberately independent of the production constants and formatting (the viewer input is
// plumbing, not part of what is compared, and is shared).
const double kFirst = static_cast<double>(0.000005f);
const double kStep = static_cast<double>(0.00001f);

void show(MeshStore&, Host& host, const char* text) { host.setStatusText(text); }

}  // namespace

BaseOutcome referenceAnalyseBase(MeshStore& store, Host& host, ViewerPort& viewer) {
  auto& X = store.BaseX;
  auto& Y = store.BaseY;
  auto& Z = store.BaseZ;
  const int n = static_cast<int>(store.baseVertexCount);
  store.mirrorIncomplete = 0;
  show(store, host, "Processing...");
  host.repaintNow();
  host.setProgressRange(0, n);
  store.mtVertexCount = store.baseVertexCount;

  // Exact pass.
  int hits = 0;
  store.duplicateHit = 0;
  for (int i = 0; i < n; ++i) {
    store.DeltaX[i] = 0.0;
    store.MirrorMap[i] = -1;
    store.PairedFlags[i] = 0;
    int hitCount = 0;
    for (int j = 0; j < n; ++j) {
      if (-X[j] == X[i] && Y[i] == Y[j] && Z[i] == Z[j]) {
        ++hits;
        store.MirrorMap[i] = j;
        store.PairedFlags[i] = 1;
        host.setProgressPosition(hits);
        if (++hitCount == 2) {
          store.MirrorMap[i] = -2;
          store.duplicateHit = 1;
          break;
        }
      }
    }
  }

  // Auto detection.
  int autoPairs = 0;
  int level = 0;
  double tolerance = kFirst;
  for (int i = 0; i < n; ++i) {
    store.AutoPartner[i] = 0;
  }
  for (;;) {
    if (hits == n || hits < 2) {
      break;
    }
    if (level == 0) {
      viewer.refresh(baseViewerInput(store, n, store.faceCount));
      if (!host.askYesNo(kAutoDetectQuestion)) {
        break;
      }
    }
    for (int i = 0; i < n; ++i) {
      if (store.MirrorMap[i] != -1) {
        continue;
      }
      for (int j = 0; j < n; ++j) {
        if (store.MirrorMap[j] == -1 && std::fabs(X[j] + X[i]) < tolerance &&
            std::fabs(Y[i] - Y[j]) < tolerance && std::fabs(Z[i] - Z[j]) < tolerance) {
          store.MirrorMap[i] = j;
          store.AutoPartner[i] = j;
          store.PairedFlags[i] = 1;
          store.MirrorMap[j] = i;
          store.AutoPartner[j] = i;
          store.PairedFlags[j] = 1;
          hits += j == i ? 1 : 2;
          host.setProgressPosition(hits);
          ++autoPairs;
          break;
        }
      }
    }
    tolerance += kStep;
    if (tolerance > 0.0015) {
      break;
    }
    ++level;
  }

  viewer.refresh(baseViewerInput(store, n, store.faceCount));
  char text[128];
  std::snprintf(text, sizeof text, "OK:Symmetry(%d/%d) LVL=%d", hits, n, level);
  show(store, host, text);
  store.mirrorIncomplete = 1;
  if (hits == n) {
    if (autoPairs == 0) {
      std::snprintf(text, sizeof text, "OK: Perfect symmetry V=%d F=%d", n, store.faceCount);
    } else {
      std::snprintf(text, sizeof text, "OK: symmetry  H=%d E=%d LVL=%d", n, autoPairs, level);
    }
    show(store, host, text);
    store.mirrorIncomplete = 0;
  }
  if (hits < 2) {
    show(store, host, "NG: Mirror V.C.M can't build up.");
    return BaseOutcome::WithoutMirror;
  }
  if (store.duplicateHit == 1) {
    show(store, host, "CRITICAL ERR:Same Point HIT");
    viewer.refresh(baseViewerInput(store, n, store.faceCount));
    return BaseOutcome::SamePointHit;
  }
  return BaseOutcome::Usable;
}

}  // namespace calveth::testing
