// calveth-png.so: the PNG pictures of calveth-cli as a module that the program loads only when
// a PNG is asked for, so that it starts without loading Qt. The core's code comes from the
// program that loads it; the module holds the Qt painter and the PNG encoding.
#include "qt/png_picture.h"

extern "C" __attribute__((visibility("default"))) bool calveth_paint_png(
    calveth::WireViewer& viewer, int width, int height, int verticalDpi, std::string& pngBytes,
    std::string& error) {
  return calveth::paintPng(viewer, width, height, verticalDpi, pngBytes, error);
}
