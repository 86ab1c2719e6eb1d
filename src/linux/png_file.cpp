#include "linux/png_file.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace calveth {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::string*>(png_get_io_ptr(png));
  bytes->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

}  // namespace

bool encodePng(const PixelRaster& picture, PixelLayout layout, std::string& bytes,
               std::string& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    error = "libpng could not start";
    return false;
  }
  std::string encoded;
  std::vector<png_byte> row(static_cast<std::size_t>(picture.width()) * 3);
  // libpng reports its errors by a long jump back here; nothing with a destructor is made
  // between this point and the jump.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = "libpng could not encode the picture";
    return false;
  }
  png_set_write_fn(png, &encoded, appendBytes, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
               static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint32_t* pixels = picture.row(y);
    for (int x = 0; x < picture.width(); ++x) {
      std::uint8_t rgb[3];
      if (layout == PixelLayout::Argb32) {
        rgb[0] = static_cast<std::uint8_t>(pixels[x] >> 16);
        rgb[1] = static_cast<std::uint8_t>(pixels[x] >> 8);
        rgb[2] = static_cast<std::uint8_t>(pixels[x]);
      } else {
        std::memcpy(rgb, &pixels[x], 3);  // red, green, blue in memory order
      }
      std::memcpy(&row[static_cast<std::size_t>(x) * 3], rgb, 3);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  bytes = std::move(encoded);
  return true;
}

}  // namespace calveth
