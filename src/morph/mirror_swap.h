// "Mirror L->R", "Mirror R->L" and "Swap": new MTs from the mirror partners of the base.
//
// A generated vertex takes the MT position of its partner reflected in X = 0. Sides are told
// by the base's X: left X > 0, right X < 0. Each command computes the WorkTarget afresh from
// the MT, so commands never build on each other's results.
#pragma once

#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

// Right-side vertices take their partner's mirrored position; the middle keeps its own.
bool MirrorLeftToRight(MeshStore& store, Host& host, ViewerPort& viewer);
// Left-side vertices take their partner's mirrored position; the middle keeps its own.
bool MirrorRightToLeft(MeshStore& store, Host& host, ViewerPort& viewer);
// Every vertex with a partner takes its partner's mirrored position (a middle vertex that is
// its own partner has its X negated). For a half MT the result is the other half.
bool SwapSides(MeshStore& store, Host& host, ViewerPort& viewer);

}  // namespace calveth
