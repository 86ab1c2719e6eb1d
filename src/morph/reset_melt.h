// "Reset L", "Reset R", "Melt" and the "vertex only (for MT)" switch.
//
// The resets give back the base on one side while the other keeps the MT: "Reset L" resets
// the left side and the middle (base X >= 0), "Reset R" only the right side (base X < 0).
// "Melt" spreads the MT to 2.5 times its width and depth and turns it upside down over the
// height of the base.
#pragma once

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

inline constexpr double kMeltSpread = 2.5;

bool ResetLeft(MeshStore& store, Host& host, ViewerPort& viewer);
bool ResetRight(MeshStore& store, Host& host, ViewerPort& viewer);
// Refused, with everything left as it was, when the highest base Y is 0: the formula divides
// by it.
bool MeltMt(MeshStore& store, Host& host, ViewerPort& viewer);

// After a click has toggled the switch: an MT without texture or face lines has nothing to
// copy, so the status line says why and the result is true: the switch goes back to checked.
bool VertexOnlyClicked(MeshStore& store, Host& host);

}  // namespace calveth
