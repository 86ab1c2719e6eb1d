#include "web/page_text_painter.h"

#include <emscripten/emscripten.h>

EM_JS(void, calveth_page_text,
      (void* pixels, int width, int height, int stride, int x, int y, const char* text, int length,
       const char* face, int faceLength, int pixelHeight, int colour, int background),
      {
        Module.page.drawText(pixels, width, height, stride, x, y,
                             // single-byte characters: each byte is one Latin-1 letter
                             String.fromCharCode.apply(null, HEAPU8.subarray(text, text + length)),
                             UTF8ToString(face, faceLength), pixelHeight, colour, background);
      });

namespace calveth {
namespace {

int packedRgb(Rgb colour) { return (colour.red << 16) | (colour.green << 8) | colour.blue; }

}  // namespace

void PageTextPainter::drawText(PixelRaster& picture, const TextRequest& request) {
  calveth_page_text(picture.row(0), picture.width(), picture.height(),
                    picture.width() > 0 ? static_cast<int>(picture.row(1) - picture.row(0)) : 0,
                    request.x, request.y, request.text.data(),
                    static_cast<int>(request.text.size()), request.face.data(),
                    static_cast<int>(request.face.size()), request.pixelHeight,
                    packedRgb(request.colour), packedRgb(request.background));
}

}  // namespace calveth
