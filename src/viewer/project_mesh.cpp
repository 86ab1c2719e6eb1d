#include "viewer/project_mesh.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "viewer/pixel_position.h"

namespace calveth {
namespace {

// The running extremes start at 1e15 as a single-precision constant gives it, so a model
// beyond +-999999986991104 keeps the starting value as one of its extremes.
constexpr double kExtremeStart = static_cast<double>(1e15f);
static_assert(kExtremeStart == 999999986991104.0);

// The larger extent spans 1/1.15 of the square, leaving a margin on both sides.
constexpr double kMarginFactor = 1.15;

// Where every vertex goes when the model has no extent to fit.
constexpr double kSquareCentre = kViewSquare / 2;

struct FaceCorners {
  const int* vertex;  // the face's 1-based vertex numbers
  int count;
};

// The face's corners, or nothing to draw when a corner lies outside the vertex set or the
// face outside the corner table: such a face is left out rather than read from positions
// that belong to no vertex of this projection.
bool drawableFace(int f, int vertexCount, const int* cornerVertex, const int* faceCornerCount,
                  const int* faceStart, FaceCorners& corners) {
  const int start = faceStart[f];
  const int count = faceCornerCount[f];
  if (count < 3 || start < 0 || static_cast<std::size_t>(start) + count > kCornerCapacity) {
    return false;
  }
  const int* vertex = cornerVertex + start;
  for (int k = 0; k < count; ++k) {
    if (vertex[k] < 1 || vertex[k] > vertexCount) {
      return false;
    }
  }
  corners = {vertex, count};
  return true;
}

}  // namespace

void projectMesh(ScreenData& screen, int vertexCount, const double* x, const double* y,
                 const double* z, int faceCount, const int* cornerVertex,
                 const int* faceCornerCount, const int* faceStart, double angle) {
  constexpr int kCapacity = static_cast<int>(kViewCapacity);
  assert(vertexCount <= kCapacity && faceCount <= kCapacity);
  const int n = std::clamp(vertexCount, 0, kCapacity);
  const int faces = std::clamp(faceCount, 0, kCapacity);
  double* viewX = screen.ViewX.data();
  double* viewY = screen.ViewY.data();

  screen.viewVertexCount = n;

  // Turn about the vertical axis; the turned depth is not needed.
  const double sinA = std::sin(angle);
  const double cosA = std::cos(angle);
  for (int i = 0; i < n; ++i) {
    viewX[i] = cosA * x[i] + sinA * z[i];
    viewY[i] = y[i];
  }

  // Facing from the first three corners in model orientation (y up), before the fit flips y.
  for (int f = 0; f < faces; ++f) {
    FaceCorners corners{};
    if (!drawableFace(f, n, cornerVertex, faceCornerCount, faceStart, corners)) {
      screen.FaceFacing[f] = 0.0;
      continue;
    }
    const int p = corners.vertex[0] - 1;
    const int q = corners.vertex[1] - 1;
    const int r = corners.vertex[2] - 1;
    screen.FaceFacing[f] = (viewX[q] - viewX[p]) * (viewY[r] - viewY[p]) -
                           (viewX[r] - viewX[p]) * (viewY[q] - viewY[p]);
  }

  double minX = kExtremeStart;
  double maxX = -kExtremeStart;
  double minY = kExtremeStart;
  double maxY = -kExtremeStart;
  for (int i = 0; i < n; ++i) {
    if (viewX[i] > maxX) maxX = viewX[i];
    if (viewX[i] < minX) minX = viewX[i];
    if (viewY[i] > maxY) maxY = viewY[i];
    if (viewY[i] < minY) minY = viewY[i];
  }
  const double rangeX = maxX - minX;
  const double rangeY = maxY - minY;
  const double scaleBase = rangeX < rangeY ? kMarginFactor * rangeY : kMarginFactor * rangeX;

  // No extent (one vertex, or all on one point) or one too large to scale in finite numbers:
  // every vertex goes to the centre instead of dividing by zero or infinity.
  const bool fits = scaleBase != 0.0 && std::isfinite(scaleBase * kViewSquare);
  double offX = 0.0;
  if (fits) {
    // Multiply by 400 first, then divide: the order decides the last bit, and so the pixel.
    offX = (kViewSquare - rangeX * kViewSquare / scaleBase) * 0.5;
    const double offY = (kViewSquare - rangeY * kViewSquare / scaleBase) * 0.5;
    for (int i = 0; i < n; ++i) {
      viewX[i] = (viewX[i] - minX) * kViewSquare / scaleBase + offX;
      viewY[i] = kViewSquare - (viewY[i] - minY) * kViewSquare / scaleBase - offY;
    }
  } else {
    std::fill_n(viewX, n, kSquareCentre);
    std::fill_n(viewY, n, kSquareCentre);
  }

  int backPoints = 0;
  int frontPoints = 0;
  screen.backPolylineCount = 0;
  screen.frontPolylineCount = 0;
  for (int f = 0; f < faces; ++f) {
    FaceCorners corners{};
    if (!drawableFace(f, n, cornerVertex, faceCornerCount, faceStart, corners)) {
      continue;
    }
    const bool back = screen.FaceFacing[f] < 0.0;
    const int length = corners.count + 1;
    // Only a face table whose faces share corners could overfill a list; its extra faces
    // are left out rather than written past the end.
    if (static_cast<std::size_t>(back ? backPoints : frontPoints) + length >
        kOutlinePointCapacity) {
      continue;
    }
    ScreenPoint* out =
        back ? screen.BackPoints.data() + backPoints : screen.FrontPoints.data() + frontPoints;
    for (int k = 0; k < corners.count; ++k) {
      const int v = corners.vertex[k] - 1;
      out[k] = {pixelOf(viewX[v]), pixelOf(viewY[v])};
    }
    out[corners.count] = out[0];
    if (back) {
      screen.BackLengths[screen.backPolylineCount++] = length;
      backPoints += length;
    } else {
      screen.FrontLengths[screen.frontPolylineCount++] = length;
      frontPoints += length;
    }
  }

  if (!fits) {
    screen.axisX = static_cast<int>(kSquareCentre);
    return;
  }
  // Compared before truncation, which gives the same result as truncating first for every
  // finite value and keeps a far-off axis from overflowing the conversion.
  const double axis = offX + (-minX) * kViewSquare / scaleBase;
  if (axis > kAxisRightmost) {
    screen.axisX = kAxisRightmost;
  } else if (axis < kAxisLeftmost) {
    screen.axisX = kAxisLeftmost;
  } else {
    screen.axisX = pixelOf(axis);
  }
}

}  // namespace calveth
