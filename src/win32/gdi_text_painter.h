// GdiTextPainter: the viewer's legend letters on Windows, drawn by GDI itself.
//
// Each text is drawn by TextOutA over an opaque box of its background colour into a small
// picture in memory, without smoothing (as the classic desktop draws letters at this size),
// and those pixels are copied into the core's picture at the text's place. The viewer window
// and calveth-cli.exe's PNG pictures so have the very same pixels.
#pragma once

#include <windows.h>

#include <string>

#include "viewer/pixel_canvas.h"

namespace calveth {

class GdiTextPainter final : public TextPainter {
 public:
  explicit GdiTextPainter(PixelLayout layout);
  ~GdiTextPainter() override;
  GdiTextPainter(const GdiTextPainter&) = delete;
  GdiTextPainter& operator=(const GdiTextPainter&) = delete;

  void drawText(PixelRaster& picture, const TextRequest& request) override;

 private:
  // The request's font selected into the memory context: Arial (or the face asked for) at
  // the character height; the system font for a text without a face.
  void selectFontOf(const TextRequest& request);

  PixelLayout layout_;
  HDC dc_ = nullptr;
  HGDIOBJ firstFont_ = nullptr;
  HFONT font_ = nullptr;
  std::string fontFace_;
  int fontHeight_ = 0;
};

}  // namespace calveth
