#include "viewer/tool_keeping_canvas.h"

namespace calveth {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
// A surface's own font before any is selected: the system font, about 16 pixels high.
constexpr int kSurfaceFontHeight = 16;

template <typename Handle, typename Tools>
Handle selectFrom(int& current, Handle wanted, const Tools& tools) {
  const Handle previous{current};
  if (wanted.id >= 0 && wanted.id < static_cast<int>(tools.size())) {
    current = wanted.id;
  }
  return previous;
}

}  // namespace

void ToolKeepingCanvas::resetTools() {
  pens_.assign(1, Pen{PenStyle::Solid, 1, kBlack});
  fonts_.assign(1, Font{"", kSurfaceFontHeight});
  pen_ = 0;
  font_ = 0;
  textColour_ = kBlack;
  background_ = kWhite;
  position_ = {};
}

PenHandle ToolKeepingCanvas::createPen(PenStyle style, int width, Rgb colour) {
  pens_.push_back(Pen{style, width, colour});
  return PenHandle{static_cast<int>(pens_.size()) - 1};
}

PenHandle ToolKeepingCanvas::selectPen(PenHandle pen) { return selectFrom(pen_, pen, pens_); }

FontHandle ToolKeepingCanvas::createFont(std::string_view face, int tenthsOfPoint) {
  fonts_.push_back(Font{std::string(face), fontPixelHeight(dpi_, tenthsOfPoint)});
  return FontHandle{static_cast<int>(fonts_.size()) - 1};
}

FontHandle ToolKeepingCanvas::selectFont(FontHandle font) {
  return selectFrom(font_, font, fonts_);
}

}  // namespace calveth
