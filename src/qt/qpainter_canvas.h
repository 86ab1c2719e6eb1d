// QPainterCanvas: the viewer's Canvas on any Qt paint device (an image, a window's picture).
//
// Drawn without antialiasing, pixel for pixel as the viewer window draws: one-pixel lines
// leave out their end point (on an image of 32-bit pixels they are set directly through the
// core's PixelRaster, Bresenham's pixels; elsewhere, and for lines reaching outside the image, Qt's
// own aliased lines, which may differ by a pixel on a slant), dotted lines run 3 pixels on and 3 in
// the background colour, texts sit on boxes of the background colour measured with the real font.
// "Arial" is resolved by the system's font matching (Liberation Sans on Debian with
// fonts-liberation2).
#pragma once

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPainter>
#include <QRgb>
#include <vector>

#include "viewer/pixel_raster.h"
#include "viewer/tool_keeping_canvas.h"

class QPaintDevice;

namespace calveth {

class QPainterCanvas final : public ToolKeepingCanvas {
 public:
  // verticalDpi converts point sizes to pixels (fontPixelHeight).
  QPainterCanvas(QPaintDevice& device, int verticalDpi);

  void beginPaint() override;
  void endPaint() override;
  ClientSize clientSize() const override;
  void fillBlack(ClientSize area) override;
  void polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) override;
  void polyline(const ScreenPoint* points, int count) override;
  void setPixel(int x, int y, Rgb colour) override;
  void lineTo(int x, int y) override;
  void textOut(int x, int y, std::string_view text) override;

 private:
  void line(ScreenPoint from, ScreenPoint to);
  void alongAxis(ScreenPoint from, ScreenPoint to, bool dotted);
  void usePen(const QPen& pen);
  bool inside(ScreenPoint p) const { return raster_.inside(p); }
  void solidOutlines(const ScreenPoint* points, const int* counts, int polylineCount);

  QPaintDevice& device_;
  QPainter painter_;
  std::vector<QLine> lines_;  // kept between paintings, so its storage is reused
  // The image's pixels while painting an image of 32-bit pixels, else an empty raster.
  PixelRaster raster_;
};

}  // namespace calveth
