#include "win32/gdi_text_painter.h"

#include <cstdint>

#include "win32/wide_text.h"

namespace calveth {

GdiTextPainter::GdiTextPainter(PixelLayout layout)
    : layout_(layout), dc_(CreateCompatibleDC(nullptr)) {
  if (dc_ != nullptr) {
    firstFont_ = SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  }
}

GdiTextPainter::~GdiTextPainter() {
  if (dc_ != nullptr) {
    SelectObject(dc_, firstFont_);
    DeleteDC(dc_);
  }
  if (font_ != nullptr) {
    DeleteObject(font_);
  }
}

void GdiTextPainter::selectFontOf(const TextRequest& request) {
  if (request.face.empty()) {
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    return;
  }
  if (font_ == nullptr || fontFace_ != request.face || fontHeight_ != request.pixelHeight) {
    const HFONT made =
        CreateFontW(-request.pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, wideFromUtf8(request.face).c_str());
    if (made == nullptr) {
      SelectObject(dc_, GetStockObject(SYSTEM_FONT));
      return;
    }
    SelectObject(dc_, made);
    if (font_ != nullptr) {
      DeleteObject(font_);
    }
    font_ = made;
    fontFace_ = request.face;
    fontHeight_ = request.pixelHeight;
  }
  SelectObject(dc_, font_);
}

void GdiTextPainter::drawText(PixelRaster& picture, const TextRequest& request) {
  if (dc_ == nullptr || request.text.empty()) {
    return;
  }
  selectFontOf(request);
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
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP box = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
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
  // A 32-bit DIB holds 0x00RRGGBB in each pixel.
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
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
