// PixelRaster: a picture of 32-bit pixels in memory that lines and pixels are set in directly.
//
// The memory belongs to the caller (an image of a toolkit, a buffer a page puts on its
// canvas). Lines are Bresenham's pixels and leave out their end point, as the viewer's lines
// do; every call keeps to the picture, so a line or box reaching outside is cut at its edge.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ports/canvas.h"
#include "viewer/screen_data.h"

namespace calveth {

// How a colour is laid out in a 32-bit pixel.
enum class PixelLayout {
  Argb32,     // one 32-bit value 0xAARRGGBB, as toolkits keep their images
  RgbaBytes,  // the bytes red, green, blue, alpha in memory order, as a web canvas wants them
};

// The opaque pixel of the colour in the layout.
std::uint32_t packPixel(PixelLayout layout, Rgb colour);

class PixelRaster {
 public:
  PixelRaster() = default;
  // stride: pixels from one row to the next (at least width).
  PixelRaster(std::uint32_t* pixels, int width, int height, int stride)
      : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t* row(int y) const { return pixels_ + static_cast<std::ptrdiff_t>(y) * stride_; }

  bool inside(ScreenPoint p) const {
    return pixels_ != nullptr && p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_;
  }
  void setPixel(int x, int y, std::uint32_t value) {
    if (inside({x, y})) {
      row(y)[x] = value;
    }
  }
  // The pixels from `from` to `to`, `to` left out.
  void line(ScreenPoint from, ScreenPoint to, std::uint32_t value);
  // The same pixels in runs of runLength: the first run `value`, the next `gap`, and so on.
  void dottedLine(ScreenPoint from, ScreenPoint to, std::uint32_t value, std::uint32_t gap,
                  int runLength);
  // A box from (x, y), width by height pixels, cut at the picture's edges.
  void fill(int x, int y, int width, int height, std::uint32_t value);

 private:
  template <typename ValueOf>
  void bresenham(ScreenPoint from, ScreenPoint to, ValueOf valueOf);

  std::uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
};

}  // namespace calveth
