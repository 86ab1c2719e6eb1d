// PNG pictures of the viewer, drawn with Qt; callers need no Qt header.
#pragma once

#include <string>

#include "viewer/wire_viewer.h"

namespace calveth {

// Paints what the viewer shows (its last projection) into a width x height image and gives
// it as PNG bytes. Starts a window-less Qt application when the program has none (the
// "offscreen" platform unless QT_QPA_PLATFORM names another). False with `error` set when
// the image cannot be encoded.
bool paintPng(WireViewer& viewer, int width, int height, int verticalDpi, std::string& pngBytes,
              std::string& error);

// calveth-cli starts without Qt: it loads paintPng from the module calveth-png.so (beside the
// program, or in its installed library folder) under this C name, when a PNG is asked for.
inline constexpr const char* kPngModuleName = "calveth-png.so";
inline constexpr const char* kPaintPngSymbol = "calveth_paint_png";
using PaintPngFunction = bool (*)(WireViewer&, int, int, int, std::string&, std::string&);

}  // namespace calveth
