// FreeTypeTextPainter: the viewer's legend letters on Linux, drawn by FreeType into the
// picture's own pixels, so that the desktop window and calveth-cli's PNG pictures are the very
// same pixels.
//
// Arial, the face the legend asks for, is set in Liberation Sans, which has Arial's metrics
// (Debian's fonts-liberation2). Letters are rendered without smoothing, one bit a pixel, as
// the classic desktop draws them at this size. Without the font file no letters are drawn
// (the boxes still are) and available() says so.
#pragma once

#include <memory>

#include "viewer/pixel_canvas.h"

namespace calveth {

class FreeTypeTextPainter final : public TextPainter {
 public:
  explicit FreeTypeTextPainter(PixelLayout layout);
  ~FreeTypeTextPainter() override;
  FreeTypeTextPainter(const FreeTypeTextPainter&) = delete;
  FreeTypeTextPainter& operator=(const FreeTypeTextPainter&) = delete;

  bool available() const;
  void drawText(PixelRaster& picture, const TextRequest& request) override;

 private:
  struct Library;
  PixelLayout layout_;
  std::unique_ptr<Library> library_;
};

}  // namespace calveth
