// PNG bytes of a picture on Windows, encoded by the system's PNG encoder (Windows Imaging
// Component): the viewer's pictures that calveth-cli.exe writes.
#pragma once

#include <string>

#include "viewer/pixel_raster.h"

namespace calveth {

// The picture (pixels in `layout`) as an RGB PNG file's bytes; false with `error` set when
// the encoder fails.
bool encodePng(const PixelRaster& picture, PixelLayout layout, std::string& bytes,
               std::string& error);

}  // namespace calveth
