#include "viewer/pixel_raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace calveth {

std::uint32_t packPixel(PixelLayout layout, Rgb colour) {
  if (layout == PixelLayout::Argb32) {
    return 0xff000000u | (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) |
           std::uint32_t{colour.blue};
  }
  // Byte by byte, so that the memory order holds whatever the machine's byte order.
  const std::uint8_t bytes[4] = {colour.red, colour.green, colour.blue, 0xff};
  std::uint32_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Each pixel is checked against the picture only when the line reaches outside it: the
// viewer's tens of thousands of short lines inside pay for no checks.
template <typename ValueOf>
void PixelRaster::bresenham(ScreenPoint from, ScreenPoint to, ValueOf valueOf) {
  const int dx = std::abs(to.x - from.x);
  const int dy = -std::abs(to.y - from.y);
  const int stepX = from.x < to.x ? 1 : -1;
  const int stepY = from.y < to.y ? 1 : -1;
  const bool checked = !inside(from) || !inside(to);
  int error = dx + dy;
  int x = from.x;
  int y = from.y;
  for (int k = 0; x != to.x || y != to.y; ++k) {
    if (!checked || inside({x, y})) {
      row(y)[x] = valueOf(k);
    }
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y += stepY;
    }
  }
}

void PixelRaster::line(ScreenPoint from, ScreenPoint to, std::uint32_t value) {
  bresenham(from, to, [value](int) { return value; });
}

void PixelRaster::dottedLine(ScreenPoint from, ScreenPoint to, std::uint32_t value,
                             std::uint32_t gap, int runLength) {
  const int run = std::max(runLength, 1);
  bresenham(from, to, [=](int k) { return (k / run) % 2 == 0 ? value : gap; });
}

void PixelRaster::fill(int x, int y, int width, int height, std::uint32_t value) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + std::max(width, 0), width_);
  const int bottom = std::min(y + std::max(height, 0), height_);
  if (pixels_ == nullptr) {
    return;
  }
  for (int row = top; row < bottom; ++row) {
    std::fill(this->row(row) + left, this->row(row) + std::max(left, right), value);
  }
}

}  // namespace calveth
