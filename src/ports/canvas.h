// Canvas: what the viewer's painter needs from a drawing surface.
//
// The painter takes the surface, draws, and gives it back; pens and fonts are made, used and
// released within one painting. A canvas is pixel-addressed from the top-left corner of the
// drawing area, x to the right, y downwards.
//
// After beginPaint the surface has its defaults: a solid black pen of one pixel, the system
// font, black text, and a white background colour that fills text boxes and the gaps of
// dotted lines. Lines leave out their end point.
#pragma once

#include <cstdint>
#include <string_view>

namespace calveth {

// A screen position in whole pixels, x to the right, y downwards.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class PenStyle { Solid, Dotted };

// Dotted lines: this many pixels in the pen's colour, then as many in the background colour.
inline constexpr int kDotPixels = 3;

// Pens and fonts are named by handles that the canvas hands out. Handle 0 is the surface's
// own default tool, which is never released.
struct PenHandle {
  int id = 0;
  friend bool operator==(const PenHandle&, const PenHandle&) = default;
};
struct FontHandle {
  int id = 0;
  friend bool operator==(const FontHandle&, const FontHandle&) = default;
};

struct ClientSize {
  int width = 0;
  int height = 0;
};

// A point size in tenths of a point as a character height in pixels at the surface's
// vertical resolution (dots per inch), rounded down as integer arithmetic does.
inline int fontPixelHeight(int verticalDpi, int tenthsOfPoint) {
  return verticalDpi * tenthsOfPoint / 720;
}

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void beginPaint() = 0;
  virtual void endPaint() = 0;
  virtual ClientSize clientSize() const = 0;

  // Fills the rectangle from (0, 0) to the client size, right and bottom edges excluded,
  // with the stock black brush inside a black outline.
  virtual void fillBlack(ClientSize area) = 0;

  // width 0 is the thinnest line the surface draws (one pixel).
  virtual PenHandle createPen(PenStyle style, int width, Rgb colour) = 0;
  // Returns the pen that was selected before.
  virtual PenHandle selectPen(PenHandle pen) = 0;
  virtual void releasePen(PenHandle pen) = 0;

  // A font of the face, at tenthsOfPoint / 10 points converted with fontPixelHeight; width,
  // weight and style left to the surface.
  virtual FontHandle createFont(std::string_view face, int tenthsOfPoint) = 0;
  virtual FontHandle selectFont(FontHandle font) = 0;
  virtual void releaseFont(FontHandle font) = 0;

  // polylineCount outlines from one array: outline k has counts[k] points, following the
  // points of outline k-1.
  virtual void polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) = 0;
  virtual void polyline(const ScreenPoint* points, int count) = 0;
  virtual void setPixel(int x, int y, Rgb colour) = 0;
  virtual void moveTo(int x, int y) = 0;
  // A line from the current position to (x, y), (x, y) itself not drawn; (x, y) becomes the
  // current position.
  virtual void lineTo(int x, int y) = 0;

  virtual void setTextColor(Rgb colour) = 0;
  virtual void setBackgroundColor(Rgb colour) = 0;
  // The text with its top-left corner at (x, y), over a box of the background colour as wide
  // as the text and as high as the font's lines. Bytes are single-byte characters.
  virtual void textOut(int x, int y, std::string_view text) = 0;
};

}  // namespace calveth
