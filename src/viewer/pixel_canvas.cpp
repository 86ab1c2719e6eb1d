#include "viewer/pixel_canvas.h"

namespace calveth {

PixelCanvas::PixelCanvas(PixelRaster picture, PixelLayout layout, int verticalDpi,
                         TextPainter& text)
    : ToolKeepingCanvas(verticalDpi), picture_(picture), layout_(layout), text_(text) {}

void PixelCanvas::beginPaint() { resetTools(); }

ClientSize PixelCanvas::clientSize() const { return {picture_.width(), picture_.height()}; }

void PixelCanvas::fillBlack(ClientSize area) {
  picture_.fill(0, 0, area.width, area.height, packPixel(layout_, Rgb{0, 0, 0}));
}

// Every pen is drawn one pixel wide: the viewer's pens are all of the thinnest kind.
void PixelCanvas::line(ScreenPoint from, ScreenPoint to) {
  const Pen& pen = this->pen();
  const std::uint32_t value = packPixel(layout_, pen.colour);
  if (pen.style == PenStyle::Dotted) {
    picture_.dottedLine(from, to, value, packPixel(layout_, background()), kDotPixels);
  } else {
    picture_.line(from, to, value);
  }
}

void PixelCanvas::polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) {
  for (int k = 0; k < polylineCount; ++k) {
    polyline(points, counts[k]);
    points += counts[k] > 0 ? counts[k] : 0;
  }
}

// Each line leaves out its end, which the next line of the outline starts with.
void PixelCanvas::polyline(const ScreenPoint* points, int count) {
  for (int k = 1; k < count; ++k) {
    line(points[k - 1], points[k]);
  }
}

void PixelCanvas::setPixel(int x, int y, Rgb colour) {
  picture_.setPixel(x, y, packPixel(layout_, colour));
}

void PixelCanvas::lineTo(int x, int y) {
  const ScreenPoint from = position();
  moveTo(x, y);
  line(from, position());
}

void PixelCanvas::textOut(int x, int y, std::string_view text) {
  const Font& font = this->font();
  text_.drawText(picture_,
                 TextRequest{x, y, text, font.face, font.pixelHeight, textColour(), background()});
}

}  // namespace calveth
