// PNG bytes of a picture, encoded by libpng: the viewer's pictures that calveth-cli writes on
// Linux.
#pragma once

#include <string>

#include "viewer/pixel_raster.h"

namespace calveth {

// The picture (pixels in `layout`) as an RGB PNG file's bytes; false with `error` set when
// libpng refuses.
bool encodePng(const PixelRaster& picture, PixelLayout layout, std::string& bytes,
               std::string& error);

}  // namespace calveth
