// ViewerPort: the wire-frame viewer as the commands see it.
//
// After changing what should be shown, a command hands the viewer the vertex set to show
// with the base's face table and the view angle. The viewer keeps nothing but what it draws.
#pragma once

#include "store/mesh_store.h"

namespace calveth {

struct ViewerInput {
  const double* x = nullptr;
  const double* y = nullptr;
  const double* z = nullptr;
  int vertexCount = 0;
  int faceCount = 0;
  const int* cornerVertex = nullptr;
  const int* faceCornerCount = nullptr;
  const int* faceStart = nullptr;
  double viewAngle = 0.0;
  // Whether vertices that the store's displacements move are marked (false while those
  // displacements belong to no MT that was accepted).
  bool marksMoved = true;
};

class ViewerPort {
 public:
  virtual ~ViewerPort() = default;
  virtual void refresh(const ViewerInput& input) = 0;
};

// Used until a viewer draws anything: the refreshes go nowhere.
class NullViewer final : public ViewerPort {
 public:
  void refresh(const ViewerInput&) override {}
};

// One vertex set of the store with the given counts and the store's face table.
inline ViewerInput storeViewerInput(const MeshStore& store, const double* x, const double* y,
                                    const double* z, int vertexCount, int faceCount) {
  return ViewerInput{x,
                     y,
                     z,
                     vertexCount,
                     faceCount,
                     store.CornerVertex.data(),
                     store.FaceCornerCount.data(),
                     store.FaceStart.data(),
                     store.viewAngle};
}

inline ViewerInput baseViewerInput(const MeshStore& store, int vertexCount, int faceCount) {
  return storeViewerInput(store, store.BaseX.data(), store.BaseY.data(), store.BaseZ.data(),
                          vertexCount, faceCount);
}

inline ViewerInput mtViewerInput(const MeshStore& store, int vertexCount, int faceCount) {
  return storeViewerInput(store, store.MtX.data(), store.MtY.data(), store.MtZ.data(), vertexCount,
                          faceCount);
}

inline ViewerInput workViewerInput(const MeshStore& store, int vertexCount, int faceCount) {
  return storeViewerInput(store, store.WorkX.data(), store.WorkY.data(), store.WorkZ.data(),
                          vertexCount, faceCount);
}

}  // namespace calveth
