// ScreenData: what the last projection of the wire frame left for the painter.
//
// One instance per viewer, fixed capacities, replaced as a whole by projectMesh. Entries
// beyond the current counts keep what an earlier projection left; nothing reads them.
// Several megabytes: keep it on the heap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "ports/canvas.h"
#include "store/mesh_store.h"

namespace calveth {

// Vertex positions and per-face values are sized like the corner table, far above the
// readers' 40000 vertices and 100000 faces.
inline constexpr std::size_t kViewCapacity = 160010;
// Each drawn face adds its corners plus one closing point to one of the two outline lists.
inline constexpr std::size_t kOutlinePointCapacity = 480010;
static_assert(kCornerCapacity + kViewCapacity <= kOutlinePointCapacity,
              "every corner plus one closing point per face fits either outline list");

// The square that the model is fitted into, in pixels, and the axis line's clamp.
inline constexpr double kViewSquare = 400.0;
inline constexpr int kAxisLeftmost = 10;
inline constexpr int kAxisRightmost = 390;
inline constexpr int kAxisBeforeFirstProjection = 200;

struct ScreenData {
  int viewVertexCount = 0;
  // Fractional screen position of vertex i.
  std::array<double, kViewCapacity> ViewX{};
  std::array<double, kViewCapacity> ViewY{};
  // Twice the signed area of face f's first three corners; negative = turned away.
  std::array<double, kViewCapacity> FaceFacing{};

  // Closed outlines of the faces turned away, one after another in face order.
  std::array<ScreenPoint, kOutlinePointCapacity> BackPoints{};
  std::array<int, kViewCapacity> BackLengths{};
  int backPolylineCount = 0;

  // Closed outlines of the faces turned towards the viewer (facing value 0 or more).
  std::array<ScreenPoint, kOutlinePointCapacity> FrontPoints{};
  std::array<int, kViewCapacity> FrontLengths{};
  int frontPolylineCount = 0;

  // Screen x of the model's X = 0 plane, kept within kAxisLeftmost..kAxisRightmost.
  int axisX = kAxisBeforeFirstProjection;
};

}  // namespace calveth
