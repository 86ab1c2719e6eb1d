// "&Open MT": loads a morph target and checks it against the base.
//
// MT vertex i belongs to base vertex i, by position in the file. The command stores the MT,
// its displacements from the base, whether it has texture or face lines and the sum of its
// X coordinates, and then decides: as many vertices as the base is a full MT (every
// generating command becomes available), half as many against a base marked "#HALF" is a
// half MT ("Swap" only), anything else is refused. A cancelled choice changes nothing.
#pragma once

#include <string>

#include "ports/command_steps.h"
#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

// How "&Open MT" ended, which decides what can be pressed next.
enum class MtOutcome {
  Cancelled,  // no file chosen: nothing changed
  NotRead,    // the file did not open, could not be read, or held a malformed "v" line
  Refused,    // read to its end, but its vertex count does not fit the base
  Full,       // as many vertices as the base
  Half,       // half as many against a "#HALF" base
};

// Tells `steps` when a file was chosen and when it opened.
MtOutcome OpenMt(MeshStore& store, Host& host, ViewerPort& viewer,
                 CommandSteps& steps = unwatchedSteps());

// A file's name without its folder, cut before its last ".": my.head.obj gives my.head.
std::string mtTitleOf(const std::string& utf8Path);

}  // namespace calveth
