// "R": the base mirrored across X = 0 as a preview, or back to the base.
#pragma once

#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

enum class ReflectedPreview { NoBase, Shown, Withdrawn };

// Switched on (Shown), the WorkTarget becomes the mirrored base, which "&Save MT" can then
// write (all base vertices); switched off (Withdrawn), the WorkTarget is the base again and
// saving is withdrawn. Does nothing while no base is loaded. `reflectPreview` is the
// switch's state.
ReflectedPreview ToggleReflectedBase(MeshStore& store, ViewerPort& viewer, int& reflectPreview);

}  // namespace calveth
