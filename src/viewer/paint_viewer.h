// paintViewer: the last projection as a wire frame with the mirror-map markers and a legend.
//
// Draws on the canvas at once (nullptr = no viewer open: nothing happens). Reads the screen
// data and, for vertices 0 to viewVertexCount-1, the store's MirrorMap, AutoPartner,
// MeshPairedFlags and DeltaX/Y/Z, and baseVertexCount; writes nothing. Each call draws the
// whole picture over a black fill, so the picture is that of the last call. Pairs made by the
// mesh get cyan crosses and a legend line of their own, both only when there are any.
#pragma once

#include "ports/canvas.h"
#include "store/mesh_store.h"
#include "viewer/screen_data.h"

namespace calveth {

// A base with fewer vertices than this, every one with a partner, gets the all-green banner.
inline constexpr VertexIndex kAllGreenVertexLimit = 15000;

// `marksMoved`: whether vertices that the store's displacements move get a yellow pixel.
void paintViewer(const ScreenData& screen, const MeshStore& store, Canvas* canvas,
                 bool marksMoved = true);

}  // namespace calveth
