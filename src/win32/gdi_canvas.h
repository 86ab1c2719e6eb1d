// GdiCanvas: the viewer's Canvas on a Windows device context, through GDI itself: real pens
// (solid, and dotted as the system draws them), PolyPolyline, Polyline, SetPixel, MoveToEx /
// LineTo, and TextOutA in the legend's Arial over an opaque background box.
//
// DibPicture is a 32-bit picture in memory with its own device context, where the viewer
// window keeps what the viewer painted, and where calveth-cli paints its PNG pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "ports/canvas.h"

namespace calveth {

class DibPicture {
 public:
  // A width x height picture filled with `fill`; the device context draws into it.
  DibPicture(int width, int height, COLORREF fill);
  ~DibPicture();
  DibPicture(const DibPicture&) = delete;
  DibPicture& operator=(const DibPicture&) = delete;

  bool valid() const { return dc_ != nullptr && bitmap_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Rows top to bottom, each pixel 0x00RRGGBB.
  const std::uint32_t* pixels() const { return pixels_; }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
};

class GdiCanvas final : public Canvas {
 public:
  // Draws on `dc` within `size`; fonts are converted with `verticalDpi`. `painted` runs at
  // the end of every painting (the window shows the new picture then).
  GdiCanvas(HDC dc, ClientSize size, int verticalDpi, std::function<void()> painted = {});
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void beginPaint() override;
  void endPaint() override;
  ClientSize clientSize() const override { return size_; }
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
  // Handles are indexes into these; entry 0 is the surface's own tool of a painting.
  HGDIOBJ pen(PenHandle handle) const;
  HGDIOBJ font(FontHandle handle) const;
  PenHandle penHandleOf(HGDIOBJ object) const;
  FontHandle fontHandleOf(HGDIOBJ object) const;

  HDC dc_;
  ClientSize size_;
  int dpi_;
  std::function<void()> painted_;
  std::vector<HGDIOBJ> pens_;
  std::vector<HGDIOBJ> fonts_;
};

}  // namespace calveth
