// The last step of every generating command.
#pragma once

#include <cstdint>
#include <string>

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

// The command filled WorkTarget entries 0 to `produced` - 1: "&Save MT" will write that many,
// the status line and `operationTag` tell what was made, and the viewer shows the result over
// `mtVertexCount` vertices. Each generating command returns true when it got this far, and
// the router then offers "&Save MT".
void finishGeneration(MeshStore& store, Host& host, ViewerPort& viewer, const char* status,
                      const char* tag, VertexIndex produced);

}  // namespace calveth
