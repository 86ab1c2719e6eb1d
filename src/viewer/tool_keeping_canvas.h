// ToolKeepingCanvas: the drawing tools and state that every canvas keeps the same way.
//
// Pens and fonts are descriptions handed out by index; selecting one returns the one that was
// selected before, and an unknown handle changes nothing. A canvas built on it only draws,
// reading the selected tools through the accessors.
#pragma once

#include <string>
#include <vector>

#include "ports/canvas.h"

namespace calveth {

class ToolKeepingCanvas : public Canvas {
 public:
  PenHandle createPen(PenStyle style, int width, Rgb colour) override;
  PenHandle selectPen(PenHandle pen) override;
  void releasePen(PenHandle) override {}
  FontHandle createFont(std::string_view face, int tenthsOfPoint) override;
  FontHandle selectFont(FontHandle font) override;
  void releaseFont(FontHandle) override {}
  void moveTo(int x, int y) override { position_ = {x, y}; }
  void setTextColor(Rgb colour) override { textColour_ = colour; }
  void setBackgroundColor(Rgb colour) override { background_ = colour; }

 protected:
  struct Pen {
    PenStyle style;
    int width;  // as created: 0 is the thinnest line
    Rgb colour;
  };
  struct Font {
    std::string face;  // empty: the surface's own font
    int pixelHeight;
  };

  explicit ToolKeepingCanvas(int verticalDpi) : dpi_(verticalDpi) {}

  // The surface's defaults at the start of a painting: a solid black one-pixel pen, the
  // system font (about 16 pixels high), black text, a white background, position (0, 0).
  void resetTools();

  const Pen& pen() const { return pens_[static_cast<std::size_t>(pen_)]; }
  const Font& font() const { return fonts_[static_cast<std::size_t>(font_)]; }
  Rgb textColour() const { return textColour_; }
  Rgb background() const { return background_; }
  ScreenPoint position() const { return position_; }

 private:
  int dpi_;
  std::vector<Pen> pens_;
  std::vector<Font> fonts_;
  int pen_ = 0;
  int font_ = 0;
  Rgb textColour_;
  Rgb background_;
  ScreenPoint position_;
};

}  // namespace calveth
