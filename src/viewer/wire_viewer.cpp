#include "viewer/wire_viewer.h"

#include "viewer/paint_viewer.h"
#include "viewer/project_mesh.h"

namespace calveth {

WireViewer::WireViewer(const MeshStore& store)
    : store_(store), screen_(std::make_unique<ScreenData>()) {}

void WireViewer::refresh(const ViewerInput& input) {
  projectMesh(*screen_, input.vertexCount, input.x, input.y, input.z, input.faceCount,
              input.cornerVertex, input.faceCornerCount, input.faceStart, input.viewAngle);
  marksMoved_ = input.marksMoved;
  paint();
}

void WireViewer::open(Canvas& canvas) {
  canvas_ = &canvas;
  paint();
}

void WireViewer::close() { canvas_ = nullptr; }

void WireViewer::paint() { paintViewer(*screen_, store_, canvas_, marksMoved_); }

}  // namespace calveth
