// A copy of everything "Open Base" owns in the store: vertices, faces, mirror map, flags and
// counts. A refused base file must leave all of it as it was; comparing two snapshots tells.
#pragma once

#include <cstdint>
#include <vector>

#include "store/mesh_store.h"

namespace calveth::testing {

struct BaseSnapshot {
  std::uint32_t vertexCount = 0;
  int faceCount = 0;
  int halfBase = 0;
  int mirrorIncomplete = 0;
  int duplicateHit = 0;
  std::vector<double> x, y, z;
  std::vector<int> faceStart, faceCornerCount, corners;
  std::vector<int> mirrorMap, pairedFlags, autoPartner;

  friend bool operator==(const BaseSnapshot&, const BaseSnapshot&) = default;

  static BaseSnapshot of(const MeshStore& store) {
    BaseSnapshot s;
    s.vertexCount = store.baseVertexCount;
    s.faceCount = store.faceCount;
    s.halfBase = store.halfBase;
    s.mirrorIncomplete = store.mirrorIncomplete;
    s.duplicateHit = store.duplicateHit;
    const std::size_t n = store.baseVertexCount;
    s.x.assign(store.BaseX.begin(), store.BaseX.begin() + n);
    s.y.assign(store.BaseY.begin(), store.BaseY.begin() + n);
    s.z.assign(store.BaseZ.begin(), store.BaseZ.begin() + n);
    s.mirrorMap.assign(store.MirrorMap.begin(), store.MirrorMap.begin() + n);
    s.pairedFlags.assign(store.PairedFlags.begin(), store.PairedFlags.begin() + n);
    s.autoPartner.assign(store.AutoPartner.begin(), store.AutoPartner.begin() + n);
    const auto faces = static_cast<std::size_t>(store.faceCount);
    s.faceStart.assign(store.FaceStart.begin(), store.FaceStart.begin() + faces);
    s.faceCornerCount.assign(store.FaceCornerCount.begin(), store.FaceCornerCount.begin() + faces);
    std::size_t cornerCount = 0;
    for (std::size_t f = 0; f < faces; ++f) {
      cornerCount += static_cast<std::size_t>(store.FaceCornerCount[f]);
    }
    s.corners.assign(store.CornerVertex.begin(),
                     store.CornerVertex.begin() + static_cast<std::ptrdiff_t>(cornerCount));
    return s;
  }
};

}  // namespace calveth::testing
