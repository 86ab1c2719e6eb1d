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

}  // namespace calveth
