#include "qt/qpainter_canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPen>
#include <QPoint>
#include <QString>
#include <QVarLengthArray>
#include <algorithm>
#include <cstdlib>

namespace calveth {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
// A surface's own font before any is selected: the system font, about 16 pixels high.
constexpr int kSurfaceFontHeight = 16;

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
    : device_(device), dpi_(verticalDpi) {}

void QPainterCanvas::beginPaint() {
  painter_.begin(&device_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  pens_.assign(1, Pen{PenStyle::Solid, 1, toQColor(kBlack)});
  fonts_.assign(1, legendFont(QString(), kSurfaceFontHeight));
  pen_ = 0;
  font_ = 0;
  textColour_ = kBlack;
  background_ = kWhite;
  position_ = {};
  usePen(linePen(pens_[0].colour, 1));
}

void QPainterCanvas::endPaint() { painter_.end(); }

ClientSize QPainterCanvas::clientSize() const { return {device_.width(), device_.height()}; }

void QPainterCanvas::fillBlack(ClientSize area) {
  painter_.fillRect(0, 0, area.width, area.height, Qt::black);
}

PenHandle QPainterCanvas::createPen(PenStyle style, int width, Rgb colour) {
  pens_.push_back(Pen{style, width, toQColor(colour)});
  return PenHandle{static_cast<int>(pens_.size()) - 1};
}

PenHandle QPainterCanvas::selectPen(PenHandle pen) {
  const PenHandle previous{pen_};
  if (pen.id >= 0 && pen.id < static_cast<int>(pens_.size())) {
    pen_ = pen.id;
  }
  return previous;
}

FontHandle QPainterCanvas::createFont(std::string_view face, int tenthsOfPoint) {
  const QString name = QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()));
  fonts_.push_back(legendFont(name, fontPixelHeight(dpi_, tenthsOfPoint)));
  return FontHandle{static_cast<int>(fonts_.size()) - 1};
}

FontHandle QPainterCanvas::selectFont(FontHandle font) {
  const FontHandle previous{font_};
  if (font.id >= 0 && font.id < static_cast<int>(fonts_.size())) {
    font_ = font.id;
  }
  return previous;
}

void QPainterCanvas::usePen(const QPen& pen) {
  if (painter_.pen() != pen) {
    painter_.setPen(pen);
  }
}

void QPainterCanvas::polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) {
  for (int k = 0; k < polylineCount; ++k) {
    polyline(points, counts[k]);
    points += counts[k];
  }
}

void QPainterCanvas::polyline(const ScreenPoint* points, int count) {
  if (count < 2) {
    return;
  }
  const Pen& pen = pens_[pen_];
  if (pen.style == PenStyle::Dotted) {
    for (int k = 1; k < count; ++k) {
      line(points[k - 1], points[k]);
    }
    return;
  }
  QVarLengthArray<QPoint, 16> corners;
  for (int k = 0; k < count; ++k) {
    corners.append(QPoint(points[k].x, points[k].y));
  }
  usePen(linePen(pen.colour, pen.width));
  painter_.drawPolyline(corners.constData(), static_cast<int>(corners.size()));
}

void QPainterCanvas::setPixel(int x, int y, Rgb colour) {
  painter_.fillRect(x, y, 1, 1, toQColor(colour));
}

void QPainterCanvas::moveTo(int x, int y) { position_ = {x, y}; }

void QPainterCanvas::lineTo(int x, int y) {
  const ScreenPoint from = position_;
  position_ = {x, y};
  line(from, position_);
}

void QPainterCanvas::line(ScreenPoint from, ScreenPoint to) {
  if (from == to) {
    return;
  }
  const Pen& pen = pens_[pen_];
  if (pen.width <= 1 && (from.x == to.x || from.y == to.y)) {
    alongAxis(from, to, pen.style == PenStyle::Dotted);
    return;
  }
  if (pen.style == PenStyle::Dotted) {
    usePen(linePen(toQColor(background_), pen.width));
    painter_.drawLine(from.x, from.y, to.x, to.y);
    QPen dashes = linePen(pen.colour, pen.width);
    dashes.setDashPattern({kDotPixels, kDotPixels});
    usePen(dashes);
  } else {
    usePen(linePen(pen.colour, pen.width));
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
  const QColor colours[2] = {pens_[pen_].colour, toQColor(background_)};
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
  const QFont& font = fonts_[font_];
  const QFontMetrics metrics(font, &device_);
  painter_.fillRect(x, y, metrics.horizontalAdvance(string), metrics.height(),
                    toQColor(background_));
  painter_.setFont(font);
  usePen(QPen(toQColor(textColour_)));
  painter_.drawText(x, y + metrics.ascent(), string);
}

}  // namespace calveth
