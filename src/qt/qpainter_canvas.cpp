#include "qt/qpainter_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPen>
#include <QPoint>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace calveth {
namespace {

QColor toQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

// A cosmetic pen (one pixel whatever the transformation) with flat caps: Qt's aliased lines
// then leave out their last pixel, as the viewer's lines do.
QPen linePen(const QColor& colour, int width) {
  QPen pen(colour, width <= 1 ? 0 : width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  return pen;
}

QFont legendFont(const QString& face, int pixelHeight) {
  QFont font(face);
  font.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
  // Sharp, hinted glyphs as on the classic desktop.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPaintDevice& device, int verticalDpi)
    : ToolKeepingCanvas(verticalDpi), device_(device) {}

void QPainterCanvas::beginPaint() {
  // An image of 32-bit pixels is written directly for the thin solid lines and the pixels, a
  // large base's tens of thousands of outlines: Qt's line drawing costs several times more
  // per short line. Its pixels are taken before the painter holds the image, so that taking
  // them cannot copy it away from the painter.
  raster_ = PixelRaster();
  if (device_.devType() == QInternal::Image) {
    auto& image = static_cast<QImage&>(device_);
    const QImage::Format format = image.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
        format == QImage::Format_ARGB32_Premultiplied) {
      // QRgb is the 32-bit 0xAARRGGBB value that PixelLayout::Argb32 packs.
      raster_ = PixelRaster(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(),
                            image.height(), image.bytesPerLine() / static_cast<int>(sizeof(QRgb)));
    }
  }
  painter_.begin(&device_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  resetTools();
  usePen(linePen(toQColor(pen().colour), 1));
}

void QPainterCanvas::endPaint() { painter_.end(); }

ClientSize QPainterCanvas::clientSize() const { return {device_.width(), device_.height()}; }

void QPainterCanvas::fillBlack(ClientSize area) {
  painter_.fillRect(0, 0, area.width, area.height, Qt::black);
}

void QPainterCanvas::usePen(const QPen& pen) {
  if (painter_.pen() != pen) {
    painter_.setPen(pen);
  }
}

// Solid outlines: the lines inside the image are drawn directly, the others (which Qt clips)
// go to Qt as one list. Each line leaves out its end, which the next line of the outline
// starts with, so the pixels are those of the outlines.
void QPainterCanvas::solidOutlines(const ScreenPoint* points, const int* counts,
                                   int polylineCount) {
  const Pen& pen = this->pen();
  const bool thin = pen.width <= 1;
  const std::uint32_t colour = packPixel(PixelLayout::Argb32, pen.colour);
  lines_.clear();
  for (int k = 0; k < polylineCount; ++k) {
    for (int j = 1; j < counts[k]; ++j) {
      const ScreenPoint from = points[j - 1];
      const ScreenPoint to = points[j];
      if (thin && inside(from) && inside(to)) {
        raster_.line(from, to, colour);
      } else {
        lines_.emplace_back(from.x, from.y, to.x, to.y);
      }
    }
    points += counts[k] > 0 ? counts[k] : 0;
  }
  if (!lines_.empty()) {
    usePen(linePen(toQColor(pen.colour), pen.width));
    painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  }
}

void QPainterCanvas::polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) {
  if (pen().style == PenStyle::Dotted) {
    for (int k = 0; k < polylineCount; ++k) {
      polyline(points, counts[k]);
      points += counts[k];
    }
    return;
  }
  solidOutlines(points, counts, polylineCount);
}

void QPainterCanvas::polyline(const ScreenPoint* points, int count) {
  if (count < 2) {
    return;
  }
  if (pen().style == PenStyle::Dotted) {
    for (int k = 1; k < count; ++k) {
      line(points[k - 1], points[k]);
    }
    return;
  }
  solidOutlines(points, &count, 1);
}

void QPainterCanvas::setPixel(int x, int y, Rgb colour) {
  if (inside({x, y})) {
    raster_.setPixel(x, y, packPixel(PixelLayout::Argb32, colour));
  } else {
    painter_.fillRect(x, y, 1, 1, toQColor(colour));
  }
}

void QPainterCanvas::lineTo(int x, int y) {
  const ScreenPoint from = position();
  moveTo(x, y);
  line(from, position());
}

void QPainterCanvas::line(ScreenPoint from, ScreenPoint to) {
  if (from == to) {
    return;
  }
  const Pen& pen = this->pen();
  if (pen.width <= 1 && (from.x == to.x || from.y == to.y)) {
    alongAxis(from, to, pen.style == PenStyle::Dotted);
    return;
  }
  if (pen.style == PenStyle::Dotted) {
    usePen(linePen(toQColor(background()), pen.width));
    painter_.drawLine(from.x, from.y, to.x, to.y);
    QPen dashes = linePen(toQColor(pen.colour), pen.width);
    dashes.setDashPattern({kDotPixels, kDotPixels});
    usePen(dashes);
  } else {
    usePen(linePen(toQColor(pen.colour), pen.width));
  }
  painter_.drawLine(from.x, from.y, to.x, to.y);
}

// The exact pixels of a thin line along an axis, from the start pixel up to the end pixel,
// which is left out (Qt's own lines leave out whichever end comes last in its drawing order).
// Dotted: kDotPixels in the pen's colour, then kDotPixels in the background colour.
void QPainterCanvas::alongAxis(ScreenPoint from, ScreenPoint to, bool dotted) {
  const int length = std::abs(to.x - from.x) + std::abs(to.y - from.y);
  const int stepX = to.x > from.x ? 1 : (to.x < from.x ? -1 : 0);
  const int stepY = to.y > from.y ? 1 : (to.y < from.y ? -1 : 0);
  const QColor colours[2] = {toQColor(pen().colour), toQColor(background())};
  const int runLength = dotted ? kDotPixels : length;
  for (int start = 0; start < length; start += runLength) {
    const int run = std::min(runLength, length - start);
    const int x0 = from.x + stepX * start;
    const int y0 = from.y + stepY * start;
    const int x1 = from.x + stepX * (start + run - 1);
    const int y1 = from.y + stepY * (start + run - 1);
    painter_.fillRect(std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0) + 1,
                      std::abs(y1 - y0) + 1, colours[(start / runLength) % 2]);
  }
}

void QPainterCanvas::textOut(int x, int y, std::string_view text) {
  const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font =
      legendFont(QString::fromStdString(this->font().face), this->font().pixelHeight);
  const QFontMetrics metrics(font, &device_);
  painter_.fillRect(x, y, metrics.horizontalAdvance(string), metrics.height(),
                    toQColor(background()));
  painter_.setFont(font);
  usePen(QPen(toQColor(textColour())));
  painter_.drawText(x, y + metrics.ascent(), string);
}

}  // namespace calveth
