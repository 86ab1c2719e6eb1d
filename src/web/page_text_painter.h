// PageTextPainter: the viewer's legend texts drawn by the page's 2-D context.
//
// The page measures and draws each text with the browser's fonts ("Arial", or a sans face
// with its metrics) on its box of the background colour and copies the pixels into the
// viewer's picture at the painter's place, so that later drawing lies over them as it does
// on the desktop.
#pragma once

#include "viewer/pixel_canvas.h"

namespace calveth {

class PageTextPainter final : public TextPainter {
 public:
  void drawText(PixelRaster& picture, const TextRequest& request) override;
};

}  // namespace calveth
