// WireViewer: the wire-frame viewer behind the commands' refreshes.
//
// Owns the screen data and reads the store's mirror map and displacements for the markers.
// Every refresh projects the vertex set handed over and paints it on the open canvas; while
// no canvas is open only the projection is kept, and opening one paints the last projection.
// The canvas belongs to the caller and must outlive its time as the open one.
#pragma once

#include <memory>

#include "ports/canvas.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "viewer/screen_data.h"

namespace calveth {

class WireViewer final : public ViewerPort {
 public:
  explicit WireViewer(const MeshStore& store);

  void refresh(const ViewerInput& input) override;

  // Opens the viewer on the canvas and paints the last projection on it.
  void open(Canvas& canvas);
  void close();
  bool isOpen() const { return canvas_ != nullptr; }
  // Paints the last projection again (nothing while closed).
  void paint();

  const ScreenData& screen() const { return *screen_; }

 private:
  const MeshStore& store_;
  std::unique_ptr<ScreenData> screen_;
  Canvas* canvas_ = nullptr;
  bool marksMoved_ = true;
};

}  // namespace calveth
