// A store holding a base made of the given points (no faces), for tests of the mirror search.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "store/mesh_store.h"

namespace calveth::testing {

using Point = std::array<double, 3>;

inline std::unique_ptr<MeshStore> storeWithPoints(const std::vector<Point>& points) {
  auto store = std::make_unique<MeshStore>();
  store->baseVertexCount = static_cast<std::uint32_t>(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    store->BaseX[i] = points[i][0];
    store->BaseY[i] = points[i][1];
    store->BaseZ[i] = points[i][2];
  }
  return store;
}

}  // namespace calveth::testing
