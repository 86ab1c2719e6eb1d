#include "morph/delta_ops.h"

#include <cmath>

#include "morph/finish_generation.h"

namespace calveth {
namespace {

constexpr double kPi = 3.141592613;
constexpr double kOneOver180 = 0.005555555555555556;

struct Turn {
  double cosine;
  double sine;
};

Turn plusTurn() {
  const double t = degreesToRadians(kPlusRotationDegrees);
  return {std::cos(t), std::sin(t)};
}

}  // namespace

double degreesToRadians(double degrees) {
  while (degrees > 360.0) {
    degrees -= 360.0;
  }
  while (degrees < -360.0) {
    degrees += 360.0;
  }
  if (degrees > 180.0) {
    degrees -= 360.0;
  }
  if (degrees < -180.0) {
    degrees += 360.0;
  }
  return degrees * kPi * kOneOver180;
}

std::array<double, 3> rotateAboutX(double x, double y, double z) {
  static const Turn turn = plusTurn();
  return {x, y * turn.cosine - z * turn.sine, y * turn.sine + z * turn.cosine};
}

bool MinusDelta(MeshStore& store, Host& host, ViewerPort& viewer) {
  for (VertexIndex i = 0; i < store.baseVertexCount; ++i) {
    store.WorkX[i] = store.BaseX[i] - store.MtX[i];
    store.WorkY[i] = store.BaseY[i] - store.MtY[i];
    store.WorkZ[i] = store.BaseZ[i] - store.MtZ[i];
  }
  finishGeneration(store, host, viewer, "OK: Minus Delta.", "Minus", store.baseVertexCount);
  return true;
}

bool PlusDelta(MeshStore& store, Host& host, ViewerPort& viewer) {
  for (VertexIndex i = 0; i < store.baseVertexCount; ++i) {
    const auto [x, y, z] = rotateAboutX(store.MtX[i], store.MtY[i], store.MtZ[i]);
    store.WorkX[i] = store.BaseX[i] + x;
    store.WorkY[i] = store.BaseY[i] + y;
    store.WorkZ[i] = store.BaseZ[i] + z;
  }
  finishGeneration(store, host, viewer, "OK: Plus Delta.", "Plus", store.baseVertexCount);
  return true;
}

}  // namespace calveth
