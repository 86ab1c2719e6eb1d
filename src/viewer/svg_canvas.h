// SvgCanvas: the viewer's picture as an SVG document of a fixed client size.
//
// Pixel-exact where SVG allows: pixels are 1x1 rectangles, horizontal and vertical lines
// cover exactly the pixels the viewer window would (end point left out), outlines are one
// <polyline> each with the integer points in drawing order. Dotted lines are dashed strokes
// over a line of the background colour. Texts are drawn over their background boxes, whose
// size is estimated from the font's metrics (sans_text_metrics.h).
//
// Each painting starts the document afresh: the painter fills the whole area first, so
// nothing earlier would show. document() gives the whole file.
#pragma once

#include <string>
#include <vector>

#include "viewer/tool_keeping_canvas.h"

namespace calveth {

class SvgCanvas final : public ToolKeepingCanvas {
 public:
  SvgCanvas(int width, int height, int verticalDpi);

  std::string document() const;

  void beginPaint() override;
  void endPaint() override;
  ClientSize clientSize() const override { return {width_, height_}; }
  void fillBlack(ClientSize area) override;
  void polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) override;
  void polyline(const ScreenPoint* points, int count) override;
  void setPixel(int x, int y, Rgb colour) override;
  void lineTo(int x, int y) override;
  void textOut(int x, int y, std::string_view text) override;

 private:
  void openStrokes();
  void closeStrokes();
  void strokeAttributes(const Pen& pen, bool backgroundGaps);

  int width_;
  int height_;
  std::string body_;
  bool inStrokes_ = false;
};

}  // namespace calveth
