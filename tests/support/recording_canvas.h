// A Canvas that records every call, cheaply enough to take a whole large picture.
//
// calls() gives each call as one line of text, for example
//   "createPen dotted 0 255,255,0 = pen4", "selectPen pen1 (was pen0)",
//   "polyline (26,373) (373,373) (26,26) (26,373)", "pixel 26,373 0,255,0",
//   "text 200,0 \"Y-axis\"".
// Pen and font handles count from 1 within each painting; 0 is the surface's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/canvas.h"

namespace calveth::testing {

class RecordingCanvas final : public Canvas {
 public:
  RecordingCanvas(int width = 408, int height = 389, int verticalDpi = 96);

  std::vector<std::string> calls() const;
  // Only the calls whose text starts with the prefix.
  std::vector<std::string> calls(std::string_view prefix) const;
  std::size_t callCount() const { return calls_.size(); }
  // Pens and fonts created and not yet released.
  int toolsHeld() const { return toolsHeld_; }
  // Forgets the calls and keeps the storage.
  void clear();

  void beginPaint() override;
  void endPaint() override;
  ClientSize clientSize() const override;
  void fillBlack(ClientSize area) override;
  PenHandle createPen(PenStyle style, int width, Rgb colour) override;
  PenHandle selectPen(PenHandle pen) override;
  void releasePen(PenHandle pen) override;
  FontHandle createFont(std::string_view face, int tenthsOfPoint) override;
  FontHandle selectFont(FontHandle font) override;
  void releaseFont(FontHandle font) override;
  void polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) override;
  void polyline(const ScreenPoint* points, int count) override;
  void setPixel(int x, int y, Rgb colour) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void setTextColor(Rgb colour) override;
  void setBackgroundColor(Rgb colour) override;
  void textOut(int x, int y, std::string_view text) override;

 private:
  enum class Op : std::uint8_t {
    Begin,
    End,
    FillBlack,
    CreatePen,
    SelectPen,
    ReleasePen,
    CreateFont,
    SelectFont,
    ReleaseFont,
    PolyPolyline,
    Polyline,
    Pixel,
    MoveTo,
    LineTo,
    TextColor,
    BackgroundColor,
    Text
  };
  struct Call {
    Op op;
    int a = 0;
    int b = 0;
    int c = 0;
    Rgb colour{};
    std::uint32_t first = 0;  // into points_, counts_ or texts_
    std::uint32_t count = 0;
  };

  std::string describe(const Call& call) const;
  void add(Op op, int a = 0, int b = 0, int c = 0, Rgb colour = {});

  int width_;
  int height_;
  int dpi_;
  std::vector<Call> calls_;
  std::vector<ScreenPoint> points_;
  std::vector<int> counts_;
  std::vector<std::string> texts_;
  int nextPen_ = 1;
  int nextFont_ = 1;
  int pen_ = 0;
  int font_ = 0;
  int toolsHeld_ = 0;
};

}  // namespace calveth::testing
