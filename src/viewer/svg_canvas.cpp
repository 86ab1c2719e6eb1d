#include "viewer/svg_canvas.h"

#include <charconv>
#include <cstdio>

#include "objio/decimal_writing.h"
#include "viewer/sans_text_metrics.h"

namespace calveth {
namespace {

constexpr Rgb kBlack{0, 0, 0};
// Fonts with Arial's metrics, for viewers of the file that lack the face asked for.
constexpr const char* kSansFamilies = "'Liberation Sans', Helvetica, sans-serif";

void append(std::string& out, int value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void append(std::string& out, double value) {
  char digits[kShortestDecimalMaxChars];
  out.append(digits, writeShortestDecimal(digits, value));
}

void appendColour(std::string& out, Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  out += text;
}

// Single-byte text as XML: the markup characters escaped, bytes above ASCII read as Latin-1,
// control characters (not allowed in XML) shown as "?".
void appendXmlText(std::string& out, std::string_view text) {
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (code < 32) {
          out += '?';
        } else if (code >= 128) {
          out += "&#";
          append(out, static_cast<int>(code));
          out += ';';
        } else {
          out += c;
        }
    }
  }
}

void appendRect(std::string& out, int x, int y, int width, int height, Rgb fill) {
  out += "<rect x=\"";
  append(out, x);
  out += "\" y=\"";
  append(out, y);
  out += "\" width=\"";
  append(out, width);
  out += "\" height=\"";
  append(out, height);
  out += "\" fill=\"";
  appendColour(out, fill);
  out += "\"/>\n";
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height, int verticalDpi)
    : ToolKeepingCanvas(verticalDpi), width_(width), height_(height) {
  beginPaint();
}

std::string SvgCanvas::document() const {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  text += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
  append(text, width_);
  text += "\" height=\"";
  append(text, height_);
  text += "\" viewBox=\"0 0 ";
  append(text, width_);
  text += " ";
  append(text, height_);
  text += "\" shape-rendering=\"crispEdges\">\n";
  text += body_;
  if (inStrokes_) {
    text += "</g>\n";
  }
  text += "</svg>\n";
  return text;
}

void SvgCanvas::beginPaint() {
  body_.clear();
  inStrokes_ = false;
  resetTools();
}

void SvgCanvas::endPaint() { closeStrokes(); }

void SvgCanvas::fillBlack(ClientSize area) {
  closeStrokes();
  appendRect(body_, 0, 0, area.width, area.height, kBlack);
}

// Strokes are drawn in a group moved by half a pixel, so that integer points lie on pixel
// centres and one-pixel lines cover whole pixels.
void SvgCanvas::openStrokes() {
  if (!inStrokes_) {
    body_ += "<g fill=\"none\" transform=\"translate(0.5 0.5)\">\n";
    inStrokes_ = true;
  }
}

void SvgCanvas::closeStrokes() {
  if (inStrokes_) {
    body_ += "</g>\n";
    inStrokes_ = false;
  }
}

// A dotted line's gaps show the background colour: the line is drawn twice, first solid in
// the background colour (backgroundGaps), then dashed in the pen's colour.
void SvgCanvas::strokeAttributes(const Pen& pen, bool backgroundGaps) {
  body_ += "\" stroke=\"";
  appendColour(body_, backgroundGaps ? background() : pen.colour);
  if (pen.width > 1) {
    body_ += "\" stroke-width=\"";
    append(body_, pen.width);
  }
  if (pen.style == PenStyle::Dotted && !backgroundGaps) {
    body_ += "\" stroke-dasharray=\"";
    append(body_, kDotPixels);
  }
  body_ += "\"/>\n";
}

void SvgCanvas::polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) {
  for (int k = 0; k < polylineCount; ++k) {
    polyline(points, counts[k]);
    points += counts[k];
  }
}

void SvgCanvas::polyline(const ScreenPoint* points, int count) {
  if (count < 2) {
    return;  // a single point draws nothing
  }
  openStrokes();
  const Pen& pen = this->pen();
  const int passes = pen.style == PenStyle::Dotted ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    // Square caps cover the corner pixels fully; dashes keep butt caps so their length holds.
    body_ += pen.style == PenStyle::Dotted ? "<polyline points=\""
                                           : "<polyline stroke-linecap=\"square\" points=\"";
    for (int k = 0; k < count; ++k) {
      if (k > 0) {
        body_ += ' ';
      }
      append(body_, points[k].x);
      body_ += ',';
      append(body_, points[k].y);
    }
    strokeAttributes(pen, passes == 2 && pass == 0);
  }
}

void SvgCanvas::setPixel(int x, int y, Rgb colour) {
  closeStrokes();
  appendRect(body_, x, y, 1, 1, colour);
}

void SvgCanvas::lineTo(int x, int y) {
  const ScreenPoint from = position();
  moveTo(x, y);
  if (from.x == x && from.y == y) {
    return;
  }
  openStrokes();
  // Within the half-pixel group an axis-parallel line from pixel s to pixel e (e left out)
  // runs from s - d/2 to e - d/2, d the direction: it covers s up to the pixel before e.
  double x0 = from.x;
  double y0 = from.y;
  double x1 = x;
  double y1 = y;
  if (from.y == y) {
    const double shift = x > from.x ? 0.5 : -0.5;
    x0 -= shift;
    x1 -= shift;
  } else if (from.x == x) {
    const double shift = y > from.y ? 0.5 : -0.5;
    y0 -= shift;
    y1 -= shift;
  }
  const Pen& pen = this->pen();
  const int passes = pen.style == PenStyle::Dotted ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    body_ += "<line x1=\"";
    append(body_, x0);
    body_ += "\" y1=\"";
    append(body_, y0);
    body_ += "\" x2=\"";
    append(body_, x1);
    body_ += "\" y2=\"";
    append(body_, y1);
    strokeAttributes(pen, passes == 2 && pass == 0);
  }
}

void SvgCanvas::textOut(int x, int y, std::string_view text) {
  closeStrokes();
  const Font& font = this->font();
  const SansLineMetrics line = sansLineMetrics(font.pixelHeight);
  appendRect(body_, x, y, sansTextWidth(text, font.pixelHeight), line.height, background());
  body_ += "<text x=\"";
  append(body_, x);
  body_ += "\" y=\"";
  append(body_, y + line.ascent);
  body_ += "\" font-family=\"";
  if (!font.face.empty()) {
    appendXmlText(body_, font.face);
    body_ += ", ";
  }
  body_ += kSansFamilies;
  body_ += "\" font-size=\"";
  append(body_, font.pixelHeight);
  body_ += "\" fill=\"";
  appendColour(body_, textColour());
  body_ += "\" xml:space=\"preserve\">";
  appendXmlText(body_, text);
  body_ += "</text>\n";
}

}  // namespace calveth
