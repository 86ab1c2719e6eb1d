#include "support/uneven_base.h"

namespace calveth::testing {

void loadBase(MeshStore& store, const meshgen::Mesh& mesh) {
  store.baseVertexCount = static_cast<VertexIndex>(mesh.vertices.size());
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    store.BaseX[i] = mesh.vertices[i][0];
    store.BaseY[i] = mesh.vertices[i][1];
    store.BaseZ[i] = mesh.vertices[i][2];
  }
  int corner = 0;
  store.faceCount = static_cast<int>(mesh.faceVertices.size());
  for (std::size_t f = 0; f < mesh.faceVertices.size(); ++f) {
    store.FaceStart[f] = corner;
    store.FaceCornerCount[f] = static_cast<int>(mesh.faceVertices[f].size());
    for (int c : mesh.faceVertices[f]) {
      store.CornerVertex[static_cast<std::size_t>(corner++)] = c + 1;
    }
  }
}

MapScore scoreMap(const MeshStore& store, const std::vector<int>& truePartner) {
  MapScore score;
  for (std::size_t i = 0; i < store.baseVertexCount; ++i) {
    const int entry = store.MirrorMap[i];
    if (entry == kNoPartner || entry == kDuplicatePartner) {
      ++score.unpaired;
    } else if (entry == truePartner[i]) {
      ++score.right;
    } else {
      ++score.wrong;
    }
  }
  return score;
}

}  // namespace calveth::testing
