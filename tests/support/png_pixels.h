// A PNG file's pixels as 0xAARRGGBB values, decoded by libpng: the tests compare calveth-cli's
// pictures with the viewer's own pixels.
#pragma once

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace calveth::testing {

inline bool decodePngPixels(const std::string& bytes, std::vector<std::uint32_t>& pixels,
                            int* width = nullptr, int* height = nullptr) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    return false;
  }
  image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in a little-endian word
  pixels.assign(PNG_IMAGE_SIZE(image) / 4, 0);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    return false;
  }
  if (width != nullptr) {
    *width = static_cast<int>(image.width);
  }
  if (height != nullptr) {
    *height = static_cast<int>(image.height);
  }
  return true;
}

}  // namespace calveth::testing
