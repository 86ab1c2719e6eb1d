// "-" and "+": the base combined with the MT coordinate by coordinate.
//
// "-" gives the base minus the MT. "+" reads the MT as displacements, turns each about the X
// axis by -78 degrees and adds it to the base.
#pragma once

#include <array>

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

// The turn of "+", in degrees.
inline constexpr double kPlusRotationDegrees = -78.0;

// Degrees to radians after folding the angle into -180..180, with the program's own pi and
// 1/180 (kept as they are so that "+" gives the same numbers as it always has).
double degreesToRadians(double degrees);

// (x, y, z) turned about the X axis by kPlusRotationDegrees.
std::array<double, 3> rotateAboutX(double x, double y, double z);

bool MinusDelta(MeshStore& store, Host& host, ViewerPort& viewer);
bool PlusDelta(MeshStore& store, Host& host, ViewerPort& viewer);

}  // namespace calveth
