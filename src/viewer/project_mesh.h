// projectMesh: one vertex set with the base's faces, turned and fitted into the 400-pixel
// square, as screen positions, back and front outlines and the axis line.
//
// - x, y, z: vertexCount coordinates each (vertex i at index i).
// - cornerVertex, faceCornerCount, faceStart: the store's face table, faceCount faces; corners
//   hold 1-based vertex numbers. A face with fewer than 3 corners, a corner outside
//   1..vertexCount, or corners outside the table's capacity is not drawn (facing value 0).
// - angle: radians about the vertical axis; 0 looks at the model from +Z with +Y up.
// Replaces the whole screen data; allocates nothing. vertexCount and faceCount are taken as
// at most kViewCapacity.
#pragma once

#include "viewer/screen_data.h"

namespace calveth {

void projectMesh(ScreenData& screen, int vertexCount, const double* x, const double* y,
                 const double* z, int faceCount, const int* cornerVertex,
                 const int* faceCornerCount, const int* faceStart, double angle);

}  // namespace calveth
