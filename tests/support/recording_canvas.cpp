#include "support/recording_canvas.h"

#include <utility>

namespace calveth::testing {
namespace {

std::string colourText(Rgb colour) {
  return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
         std::to_string(colour.blue);
}

std::string pointsText(const ScreenPoint* points, std::uint32_t count) {
  std::string text;
  for (std::uint32_t k = 0; k < count; ++k) {
    text += (k > 0 ? " (" : "(") + std::to_string(points[k].x) + "," + std::to_string(points[k].y) +
            ")";
  }
  return text;
}

}  // namespace

RecordingCanvas::RecordingCanvas(int width, int height, int verticalDpi)
    : width_(width), height_(height), dpi_(verticalDpi) {}

void RecordingCanvas::clear() {
  calls_.clear();
  points_.clear();
  counts_.clear();
  texts_.clear();
}

void RecordingCanvas::add(Op op, int a, int b, int c, Rgb colour) {
  calls_.push_back(Call{op, a, b, c, colour, 0, 0});
}

void RecordingCanvas::beginPaint() {
  nextPen_ = 1;
  nextFont_ = 1;
  pen_ = 0;
  font_ = 0;
  add(Op::Begin);
}

void RecordingCanvas::endPaint() { add(Op::End); }

ClientSize RecordingCanvas::clientSize() const { return {width_, height_}; }

void RecordingCanvas::fillBlack(ClientSize area) { add(Op::FillBlack, area.width, area.height); }

PenHandle RecordingCanvas::createPen(PenStyle style, int width, Rgb colour) {
  ++toolsHeld_;
  add(Op::CreatePen, static_cast<int>(style), width, nextPen_, colour);
  return PenHandle{nextPen_++};
}

PenHandle RecordingCanvas::selectPen(PenHandle pen) {
  add(Op::SelectPen, pen.id, pen_);
  return PenHandle{std::exchange(pen_, pen.id)};
}

void RecordingCanvas::releasePen(PenHandle pen) {
  --toolsHeld_;
  add(Op::ReleasePen, pen.id);
}

FontHandle RecordingCanvas::createFont(std::string_view face, int tenthsOfPoint) {
  ++toolsHeld_;
  calls_.push_back(Call{Op::CreateFont,
                        tenthsOfPoint,
                        fontPixelHeight(dpi_, tenthsOfPoint),
                        nextFont_,
                        {},
                        static_cast<std::uint32_t>(texts_.size()),
                        1});
  texts_.emplace_back(face);
  return FontHandle{nextFont_++};
}

FontHandle RecordingCanvas::selectFont(FontHandle font) {
  add(Op::SelectFont, font.id, font_);
  return FontHandle{std::exchange(font_, font.id)};
}

void RecordingCanvas::releaseFont(FontHandle font) {
  --toolsHeld_;
  add(Op::ReleaseFont, font.id);
}

void RecordingCanvas::polyPolyline(const ScreenPoint* points, const int* counts,
                                   int polylineCount) {
  int total = 0;
  for (int k = 0; k < polylineCount; ++k) {
    total += counts[k];
  }
  calls_.push_back(Call{Op::PolyPolyline,
                        total,
                        0,
                        0,
                        {},
                        static_cast<std::uint32_t>(counts_.size()),
                        static_cast<std::uint32_t>(polylineCount)});
  // The points go first, then the counts; describe() walks both.
  counts_.push_back(static_cast<int>(points_.size()));
  counts_.insert(counts_.end(), counts, counts + polylineCount);
  points_.insert(points_.end(), points, points + total);
}

void RecordingCanvas::polyline(const ScreenPoint* points, int count) {
  calls_.push_back(Call{Op::Polyline,
                        0,
                        0,
                        0,
                        {},
                        static_cast<std::uint32_t>(points_.size()),
                        static_cast<std::uint32_t>(count)});
  points_.insert(points_.end(), points, points + count);
}

void RecordingCanvas::setPixel(int x, int y, Rgb colour) { add(Op::Pixel, x, y, 0, colour); }
void RecordingCanvas::moveTo(int x, int y) { add(Op::MoveTo, x, y); }
void RecordingCanvas::lineTo(int x, int y) { add(Op::LineTo, x, y); }
void RecordingCanvas::setTextColor(Rgb colour) { add(Op::TextColor, 0, 0, 0, colour); }
void RecordingCanvas::setBackgroundColor(Rgb colour) { add(Op::BackgroundColor, 0, 0, 0, colour); }

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
  calls_.push_back(Call{Op::Text, x, y, 0, {}, static_cast<std::uint32_t>(texts_.size()), 1});
  texts_.emplace_back(text);
}

std::string RecordingCanvas::describe(const Call& call) const {
  const std::string xy = std::to_string(call.a) + "," + std::to_string(call.b);
  switch (call.op) {
    case Op::Begin:
      return "begin";
    case Op::End:
      return "end";
    case Op::FillBlack:
      return "fillBlack " + std::to_string(call.a) + "x" + std::to_string(call.b);
    case Op::CreatePen:
      return std::string("createPen ") + (call.a == 0 ? "solid " : "dotted ") +
             std::to_string(call.b) + " " + colourText(call.colour) + " = pen" +
             std::to_string(call.c);
    case Op::SelectPen:
      return "selectPen pen" + std::to_string(call.a) + " (was pen" + std::to_string(call.b) + ")";
    case Op::ReleasePen:
      return "releasePen pen" + std::to_string(call.a);
    case Op::CreateFont:
      return "createFont " + texts_[call.first] + " " + std::to_string(call.a) + " (" +
             std::to_string(call.b) + "px) = font" + std::to_string(call.c);
    case Op::SelectFont:
      return "selectFont font" + std::to_string(call.a) + " (was font" + std::to_string(call.b) +
             ")";
    case Op::ReleaseFont:
      return "releaseFont font" + std::to_string(call.a);
    case Op::PolyPolyline: {
      std::string text = "polyPolyline " + std::to_string(call.count);
      std::size_t point = static_cast<std::size_t>(counts_[call.first]);
      for (std::uint32_t k = 0; k < call.count; ++k) {
        const auto length = static_cast<std::uint32_t>(counts_[call.first + 1 + k]);
        text += " [" + pointsText(points_.data() + point, length) + "]";
        point += length;
      }
      return text;
    }
    case Op::Polyline:
      return "polyline " + pointsText(points_.data() + call.first, call.count);
    case Op::Pixel:
      return "pixel " + xy + " " + colourText(call.colour);
    case Op::MoveTo:
      return "moveTo " + xy;
    case Op::LineTo:
      return "lineTo " + xy;
    case Op::TextColor:
      return "textColor " + colourText(call.colour);
    case Op::BackgroundColor:
      return "bkColor " + colourText(call.colour);
    case Op::Text:
      return "text " + xy + " \"" + texts_[call.first] + "\"";
  }
  return "?";
}

std::vector<std::string> RecordingCanvas::calls() const { return calls(""); }

std::vector<std::string> RecordingCanvas::calls(std::string_view prefix) const {
  std::vector<std::string> texts;
  for (const Call& call : calls_) {
    std::string text = describe(call);
    if (text.starts_with(prefix)) {
      texts.push_back(std::move(text));
    }
  }
  return texts;
}

}  // namespace calveth::testing
