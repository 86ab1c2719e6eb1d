// PNG pictures of the viewer on Windows: painted through GDI into a picture in memory and
// encoded by the system's PNG encoder (Windows Imaging Component); no Qt.
#pragma once

#include <string>

#include "viewer/wire_viewer.h"

namespace calveth {

// Paints what the viewer shows (its last projection) into a width x height picture and gives
// it as PNG bytes. False with `error` set when the picture cannot be made or encoded.
bool paintPng(WireViewer& viewer, int width, int height, int verticalDpi, std::string& pngBytes,
              std::string& error);

}  // namespace calveth
