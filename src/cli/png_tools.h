// PngTools: how a platform makes the viewer's PNG pictures for calveth-cli: the painter of the
// legend's letters and the PNG encoder. Each platform's main hands its own to runCli (FreeType
// and libpng on Linux, GDI and the system's encoder on Windows); the picture itself is drawn by
// the core's PixelCanvas, as in every viewer window.
#pragma once

#include <memory>
#include <string>

#include "viewer/pixel_canvas.h"

namespace calveth {

struct PngTools {
  // Made only when a PNG is asked for, so that no other command pays for loading fonts.
  std::unique_ptr<TextPainter> (*makeTextPainter)(PixelLayout layout);
  // The picture's PNG bytes; false with `error` set when it cannot be encoded.
  bool (*encode)(const PixelRaster& picture, PixelLayout layout, std::string& bytes,
                 std::string& error);
};

}  // namespace calveth
