// GdiTextPainter: the viewer's legend letters on Windows, drawn by GDI itself.
//
// Each text is drawn by TextOutA over an opaque box of its background colour into a small
// picture in memory, without smoothing (as the classic desktop draws letters at this size),
// and those pixels are copied into the core's picture at the text's place. The viewer window
// and calveth-cli.exe's PNG pictures so have the very same pixels.
#pragma once

#include <windows.h>

#include <cstdint>

#include "viewer/pixel_canvas.h"

namespace calveth {

// A 32-bit DIB section of width x height pixels with its rows top to bottom, each pixel
// 0x00RRGGBB at `bits`; nullptr when it cannot be made.
HBITMAP topDownDibSection(HDC dc, int width, int height, std::uint32_t*& bits);

class GdiTextPainter final : public TextPainter {
 public:
  explicit GdiTextPainter(PixelLayout layout);
  ~GdiTextPainter() override;
  GdiTextPainter(const GdiTextPainter&) = delete;
  GdiTextPainter& operator=(const GdiTextPainter&) = delete;

  void drawText(PixelRaster& picture, const TextRequest& request) override;

 private:
  // The text in the font selected into the memory context.
  void paint(PixelRaster& picture, const TextRequest& request);

  PixelLayout layout_;
  HDC dc_ = nullptr;
};

}  // namespace calveth
