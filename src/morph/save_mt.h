// "&Save MT": writes the WorkTarget as a new OBJ file.
//
// The proposed name is the MT's title, the tag of the last generating command and ".obj".
// The file holds the vertices that the last generating command produced and, unless
// "vertex only (for MT)" is checked, the MT file's texture, normal, face and material-use
// lines. Saving is crash-safe and honest: the status line shows success only once the whole
// file has replaced the target; on any failure the target is untouched. A cancelled choice
// changes nothing.
#pragma once

#include "objio/safe_file_writer.h"
#include "ports/host.h"
#include "store/mesh_store.h"

namespace calveth {

void SaveMt(MeshStore& store, Host& host, bool vertexOnly,
            FileWriteLayer& files = systemFileLayer());

}  // namespace calveth
