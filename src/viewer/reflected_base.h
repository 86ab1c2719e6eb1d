// "R": the base mirrored across X = 0 as a preview, or back to the base.
#pragma once

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

// Switched on, the WorkTarget becomes the mirrored base and "&Save MT" can write it (all
// base vertices); switched off, the WorkTarget is the base again and saving is withdrawn.
// Does nothing while no base is loaded. `reflectPreview` is the switch's state.
void ToggleReflectedBase(MeshStore& store, Host& host, ViewerPort& viewer, int& reflectPreview);

}  // namespace calveth
