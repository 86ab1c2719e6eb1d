#include "windows/gdi_text_painter.h"

#include <cstdint>

#include "windows/wide_text.h"

namespace calveth {

HBITMAP topDownDibSection(HDC dc, int width, int height, std::uint32_t*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  const HBITMAP made = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  bits = static_cast<std::uint32_t*>(memory);
  return made;
}

GdiTextPainter::GdiTextPainter(PixelLayout layout)
    : layout_(layout), dc_(CreateCompatibleDC(nullptr)) {}

GdiTextPainter::~GdiTextPainter() {
  if (dc_ != nullptr) {
    DeleteDC(dc_);
  }
}

void GdiTextPainter::drawText(PixelRaster& picture, const TextRequest& request) {
  if (dc_ == nullptr || request.text.empty()) {
    return;
  }
  // Arial (or the face asked for) at the character height; the system font for a text
  // without a face.
  const HFONT font =
      request.face.empty()
          ? nullptr
          : CreateFontW(-request.pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        wideFromUtf8(request.face).c_str());
  const HGDIOBJ firstFont = SelectObject(dc_, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  paint(picture, request);
  SelectObject(dc_, firstFont);
  if (font != nullptr) {
    DeleteObject(font);
  }
}

void GdiTextPainter::paint(PixelRaster& picture, const TextRequest& request) {
  const int length = static_cast<int>(request.text.size());
  SIZE extent{};
  TEXTMETRICW metrics{};
  if (!GetTextExtentPoint32A(dc_, request.text.data(), length, &extent) ||
      !GetTextMetricsW(dc_, &metrics) || extent.cx <= 0) {
    return;
  }
  // The box is as wide as the letters' advances and as high as the font's lines.
  const int width = extent.cx;
  const int height = metrics.tmHeight;
  std::uint32_t* pixels = nullptr;
  const HBITMAP box = topDownDibSection(dc_, width, height, pixels);
  if (box == nullptr) {
    return;
  }
  const HGDIOBJ before = SelectObject(dc_, box);
  const Rgb ink = request.colour;
  const Rgb paper = request.background;
  SetTextColor(dc_, RGB(ink.red, ink.green, ink.blue));
  SetBkColor(dc_, RGB(paper.red, paper.green, paper.blue));
  SetBkMode(dc_, OPAQUE);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  TextOutA(dc_, 0, 0, request.text.data(), length);
  GdiFlush();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      const Rgb colour{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                       static_cast<std::uint8_t>(p)};
      picture.setPixel(request.x + x, request.y + y, packPixel(layout_, colour));
    }
  }
  SelectObject(dc_, before);
  DeleteObject(box);
}

}  // namespace calveth
