// PixelCanvas: the viewer's Canvas on a PixelRaster, with no toolkit at all.
//
// Lines and pixels are set directly (Bresenham's pixels, end point left out, dotted lines 3
// pixels on and 3 in the background colour). Letters need a font, which only a front end
// has: texts go to the front end's TextPainter, which puts them into the same pixels at the
// painter's places, so that whatever is drawn later lies over them.
#pragma once

#include <string>
#include <string_view>

#include "viewer/pixel_raster.h"
#include "viewer/tool_keeping_canvas.h"

namespace calveth {

struct TextRequest {
  int x = 0;  // top-left corner of the text's box
  int y = 0;
  std::string_view text;  // single-byte characters
  std::string_view face;  // empty: the surface's own font
  int pixelHeight = 0;    // the character height
  Rgb colour;             // of the letters
  Rgb background;         // of the box as wide as the text and as high as its lines
};

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual void drawText(PixelRaster& picture, const TextRequest& request) = 0;
};

class PixelCanvas final : public ToolKeepingCanvas {
 public:
  // The picture and the painter of texts belong to the caller and must outlive the canvas.
  PixelCanvas(PixelRaster picture, PixelLayout layout, int verticalDpi, TextPainter& text);

  void beginPaint() override;
  void endPaint() override {}
  ClientSize clientSize() const override;
  void fillBlack(ClientSize area) override;
  void polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) override;
  void polyline(const ScreenPoint* points, int count) override;
  void setPixel(int x, int y, Rgb colour) override;
  void lineTo(int x, int y) override;
  void textOut(int x, int y, std::string_view text) override;

 private:
  void line(ScreenPoint from, ScreenPoint to);

  PixelRaster picture_;
  PixelLayout layout_;
  TextPainter& text_;
};

}  // namespace calveth
