#include "linux/freetype_text_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <string>

namespace calveth {
namespace {

// Where Debian's fonts-liberation2 (and the older fonts-liberation) put the sans face;
// CALVETH_FONT names another file.
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
};

}  // namespace

struct FreeTypeTextPainter::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  int pixelHeight = 0;  // the size the face is set to

  Library() {
    if (FT_Init_FreeType(&library) != 0) {
      library = nullptr;
      return;
    }
    std::string chosen;
    if (const char* named = std::getenv("CALVETH_FONT"); named != nullptr && *named != '\0') {
      chosen = named;
    }
    for (const char* file : kFontFiles) {
      if (face == nullptr && (chosen.empty() || chosen == file)) {
        FT_New_Face(library, chosen.empty() ? file : chosen.c_str(), 0, &face);
      }
    }
    if (face == nullptr && !chosen.empty()) {
      FT_New_Face(library, chosen.c_str(), 0, &face);
    }
  }
  ~Library() {
    if (face != nullptr) {
      FT_Done_Face(face);
    }
    if (library != nullptr) {
      FT_Done_FreeType(library);
    }
  }
  bool sizedTo(int height) {
    if (face == nullptr) {
      return false;
    }
    if (height != pixelHeight) {
      // The character height: the em square at that many pixels, as a point-size font is.
      if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(height)) != 0) {
        return false;
      }
      pixelHeight = height;
    }
    return true;
  }
};

FreeTypeTextPainter::FreeTypeTextPainter(PixelLayout layout)
    : layout_(layout), library_(std::make_unique<Library>()) {}

FreeTypeTextPainter::~FreeTypeTextPainter() = default;

bool FreeTypeTextPainter::available() const { return library_->face != nullptr; }

void FreeTypeTextPainter::drawText(PixelRaster& picture, const TextRequest& request) {
  const int height = request.pixelHeight > 0 ? request.pixelHeight : 1;
  if (!library_->sizedTo(height)) {
    return;
  }
  FT_Face face = library_->face;
  const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
  const int lineHeight =
      static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
  constexpr FT_Int32 kMonochrome = FT_LOAD_RENDER | FT_LOAD_TARGET_MONO;

  // The box first, as wide as the advances of the letters: whatever lies under it is covered.
  long advance = 0;
  for (const char c : request.text) {
    if (FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) ==
        0) {
      advance += face->glyph->advance.x;
    }
  }
  const int width = static_cast<int>((advance + 32) >> 6);
  picture.fill(request.x, request.y, width, lineHeight, packPixel(layout_, request.background));

  const std::uint32_t ink = packPixel(layout_, request.colour);
  long penX = 0;  // 26.6 fixed point
  for (const char c : request.text) {
    if (FT_Load_Char(face, static_cast<unsigned char>(c), kMonochrome) != 0) {
      continue;
    }
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int left = request.x + static_cast<int>((penX + 32) >> 6) + glyph->bitmap_left;
    const int top = request.y + ascent - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        if ((bits[column >> 3] & (0x80 >> (column & 7))) != 0) {
          picture.setPixel(left + static_cast<int>(column), top + static_cast<int>(row), ink);
        }
      }
    }
    penX += glyph->advance.x;
  }
}

}  // namespace calveth
