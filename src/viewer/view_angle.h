// The view angle that every projection receives, set from the slider's position.
#pragma once

#include "store/mesh_store.h"

namespace calveth {

// Whole radians: (p - 32) / 10 in integer arithmetic, truncated toward zero, so the middle
// position 31 and its neighbours give the unturned front view.
constexpr double viewAngleOfSlider(int position) {
  return static_cast<double>((position - 32) / 10);
}

// Nothing is projected again: the angle takes effect with the next refresh of the viewer.
inline void UpdateViewAngle(MeshStore& store, int sliderPosition) {
  store.viewAngle = viewAngleOfSlider(sliderPosition);
}

}  // namespace calveth
