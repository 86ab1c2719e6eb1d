#include "win32/gdi_canvas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

namespace calveth {
namespace {

COLORREF colourOf(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

// The painter's points go to GDI as they are: the two layouts are the same.
static_assert(sizeof(ScreenPoint) == sizeof(POINT) &&
              offsetof(ScreenPoint, y) == offsetof(POINT, y));
static_assert(sizeof(int) == sizeof(DWORD));

const POINT* gdiPoints(const ScreenPoint* points) { return reinterpret_cast<const POINT*>(points); }

}  // namespace

DibPicture::DibPicture(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (dc_ == nullptr || bitmap_ == nullptr) {
    return;
  }
  pixels_ = static_cast<std::uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
  const COLORREF pixel = RGB(GetBValue(fill), GetGValue(fill), GetRValue(fill));
  for (std::size_t k = 0; k < static_cast<std::size_t>(width) * height; ++k) {
    pixels_[k] = pixel;
  }
}

DibPicture::~DibPicture() {
  if (dc_ != nullptr) {
    if (previous_ != nullptr) {
      SelectObject(dc_, previous_);
    }
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) {
    DeleteObject(bitmap_);
  }
}

GdiCanvas::GdiCanvas(HDC dc, ClientSize size, int verticalDpi, std::function<void()> painted)
    : dc_(dc), size_(size), dpi_(verticalDpi), painted_(std::move(painted)) {
  pens_.push_back(GetStockObject(BLACK_PEN));
  fonts_.push_back(GetStockObject(SYSTEM_FONT));
}

GdiCanvas::~GdiCanvas() {
  SelectObject(dc_, pens_.front());
  SelectObject(dc_, fonts_.front());
  for (std::size_t k = 1; k < pens_.size(); ++k) {
    if (pens_[k] != nullptr) {
      DeleteObject(pens_[k]);
    }
  }
  for (std::size_t k = 1; k < fonts_.size(); ++k) {
    if (fonts_[k] != nullptr) {
      DeleteObject(fonts_[k]);
    }
  }
}

// A fresh surface's defaults, as a window's device context has them: a one-pixel black pen,
// the system font, black text over an opaque white background, the position at (0, 0).
void GdiCanvas::beginPaint() {
  SelectObject(dc_, pens_.front());
  SelectObject(dc_, fonts_.front());
  SetTextColor(dc_, RGB(0, 0, 0));
  SetBkColor(dc_, RGB(255, 255, 255));
  SetBkMode(dc_, OPAQUE);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  MoveToEx(dc_, 0, 0, nullptr);
}

void GdiCanvas::endPaint() {
  GdiFlush();
  if (painted_) {
    painted_();
  }
}

void GdiCanvas::fillBlack(ClientSize area) {
  const HGDIOBJ brush = SelectObject(dc_, GetStockObject(BLACK_BRUSH));
  Rectangle(dc_, 0, 0, area.width, area.height);
  SelectObject(dc_, brush);
}

PenHandle GdiCanvas::createPen(PenStyle style, int width, Rgb colour) {
  const HPEN created =
      CreatePen(style == PenStyle::Dotted ? PS_DOT : PS_SOLID, width, colourOf(colour));
  if (created == nullptr) {
    return PenHandle{0};
  }
  pens_.push_back(created);
  return PenHandle{static_cast<int>(pens_.size() - 1)};
}

HGDIOBJ GdiCanvas::pen(PenHandle handle) const {
  return handle.id >= 0 && static_cast<std::size_t>(handle.id) < pens_.size()
             ? pens_[static_cast<std::size_t>(handle.id)]
             : nullptr;
}

HGDIOBJ GdiCanvas::font(FontHandle handle) const {
  return handle.id >= 0 && static_cast<std::size_t>(handle.id) < fonts_.size()
             ? fonts_[static_cast<std::size_t>(handle.id)]
             : nullptr;
}

PenHandle GdiCanvas::penHandleOf(HGDIOBJ object) const {
  for (std::size_t k = 0; k < pens_.size(); ++k) {
    if (pens_[k] == object) {
      return PenHandle{static_cast<int>(k)};
    }
  }
  return PenHandle{0};
}

FontHandle GdiCanvas::fontHandleOf(HGDIOBJ object) const {
  for (std::size_t k = 0; k < fonts_.size(); ++k) {
    if (fonts_[k] == object) {
      return FontHandle{static_cast<int>(k)};
    }
  }
  return FontHandle{0};
}

PenHandle GdiCanvas::selectPen(PenHandle handle) {
  const HGDIOBJ object = pen(handle);
  if (object == nullptr) {
    return penHandleOf(GetCurrentObject(dc_, OBJ_PEN));
  }
  return penHandleOf(SelectObject(dc_, object));
}

void GdiCanvas::releasePen(PenHandle handle) {
  if (handle.id > 0 && static_cast<std::size_t>(handle.id) < pens_.size() &&
      pens_[static_cast<std::size_t>(handle.id)] != nullptr) {
    HGDIOBJ& object = pens_[static_cast<std::size_t>(handle.id)];
    if (GetCurrentObject(dc_, OBJ_PEN) == object) {
      SelectObject(dc_, pens_.front());
    }
    DeleteObject(object);
    object = nullptr;
  }
  while (pens_.size() > 1 && pens_.back() == nullptr) {
    pens_.pop_back();
  }
}

FontHandle GdiCanvas::createFont(std::string_view face, int tenthsOfPoint) {
  LOGFONTA description{};
  description.lfHeight = -fontPixelHeight(dpi_, tenthsOfPoint);
  const std::size_t length = std::min(face.size(), sizeof description.lfFaceName - 1);
  std::memcpy(description.lfFaceName, face.data(), length);
  const HFONT created = CreateFontIndirectA(&description);
  if (created == nullptr) {
    return FontHandle{0};
  }
  fonts_.push_back(created);
  return FontHandle{static_cast<int>(fonts_.size() - 1)};
}

FontHandle GdiCanvas::selectFont(FontHandle handle) {
  const HGDIOBJ object = font(handle);
  if (object == nullptr) {
    return fontHandleOf(GetCurrentObject(dc_, OBJ_FONT));
  }
  return fontHandleOf(SelectObject(dc_, object));
}

void GdiCanvas::releaseFont(FontHandle handle) {
  if (handle.id > 0 && static_cast<std::size_t>(handle.id) < fonts_.size() &&
      fonts_[static_cast<std::size_t>(handle.id)] != nullptr) {
    HGDIOBJ& object = fonts_[static_cast<std::size_t>(handle.id)];
    if (GetCurrentObject(dc_, OBJ_FONT) == object) {
      SelectObject(dc_, fonts_.front());
    }
    DeleteObject(object);
    object = nullptr;
  }
  while (fonts_.size() > 1 && fonts_.back() == nullptr) {
    fonts_.pop_back();
  }
}

void GdiCanvas::polyPolyline(const ScreenPoint* points, const int* counts, int polylineCount) {
  if (polylineCount > 0) {
    PolyPolyline(dc_, gdiPoints(points), reinterpret_cast<const DWORD*>(counts),
                 static_cast<DWORD>(polylineCount));
  }
}

void GdiCanvas::polyline(const ScreenPoint* points, int count) {
  if (count > 0) {
    Polyline(dc_, gdiPoints(points), count);
  }
}

void GdiCanvas::setPixel(int x, int y, Rgb colour) { SetPixelV(dc_, x, y, colourOf(colour)); }

void GdiCanvas::moveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::lineTo(int x, int y) { LineTo(dc_, x, y); }

void GdiCanvas::setTextColor(Rgb colour) { SetTextColor(dc_, colourOf(colour)); }

void GdiCanvas::setBackgroundColor(Rgb colour) { SetBkColor(dc_, colourOf(colour)); }

void GdiCanvas::textOut(int x, int y, std::string_view text) {
  TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

}  // namespace calveth
