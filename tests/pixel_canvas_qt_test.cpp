// The toolkit-free pixel canvas against the Qt canvas: the same painting, the same pixels
// wherever no text lies (the texts are each front end's own fonts).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "qt/qpainter_canvas.h"
#include "support/screen_mesh.h"
#include "viewer/paint_viewer.h"
#include "viewer/pixel_canvas.h"
#include "viewer/viewer_window_size.h"

namespace calveth {
namespace {

class NoText final : public TextPainter {
 public:
  void drawText(PixelRaster&, const TextRequest&) override {}
};

struct MeshCase {
  const char* name;
  testing::SmallMesh mesh;
  double angle;
};

class PixelCanvasAsQt : public ::testing::TestWithParam<MeshCase> {};

TEST_P(PixelCanvasAsQt, SamePixelsOutsideTheTexts) {
  if (QGuiApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "calveth-tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
  }
  auto store = std::make_unique<MeshStore>();
  // Every vertex without a partner: red crosses; vertex 1 a duplicate: a dotted cross.
  for (int i = 0; i < static_cast<int>(GetParam().mesh.points.size()); ++i) {
    store->MirrorMap[i] = i == 1 ? kDuplicatePartner : kNoPartner;
  }
  store->DeltaX[2] = 1.0;  // a moved vertex: a yellow pixel
  auto screen = std::make_unique<ScreenData>();
  testing::projectSmallMesh(*screen, GetParam().mesh, GetParam().angle);

  QImage image(kViewerClientWidth, kViewerClientHeight, QImage::Format_RGB32);
  QPainterCanvas qtCanvas(image, kViewerDpi);
  paintViewer(*screen, *store, &qtCanvas);

  std::vector<std::uint32_t> pixels(kViewerClientWidth * kViewerClientHeight);
  NoText text;
  PixelCanvas canvas(
      PixelRaster(pixels.data(), kViewerClientWidth, kViewerClientHeight, kViewerClientWidth),
      PixelLayout::Argb32, kViewerDpi, text);
  paintViewer(*screen, *store, &canvas);

  int differing = 0;
  for (int y = 16; y < 380; ++y) {
    for (int x = 0; x < kViewerClientWidth; ++x) {
      const QRgb expected = image.pixel(x, y);
      const std::uint32_t actual = pixels[static_cast<std::size_t>(y) * kViewerClientWidth + x];
      if (expected != actual && differing++ < 5) {
        ADD_FAILURE() << "at " << x << "," << y << ": " << std::hex << actual << " not "
                      << expected;
      }
    }
  }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, PixelCanvasAsQt,
    ::testing::Values(
        MeshCase{"two_triangles",
                 {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{2, 4, 3}, {1, 3, 2}}},
                 0.0},
        MeshCase{
            "slanted_quads_turned",
            {{{-1, 0, 0.2}, {1, 0.3, -0.4}, {0.2, 1.5, 0.1}, {-0.7, 1.1, 0.6}, {0.1, -0.8, 0.3}},
             {{1, 2, 3, 4}, {1, 5, 2}, {4, 3, 5}}},
            1.0},
        MeshCase{
            "fan_of_slants",
            {{{0, 0, 0}, {1, 0.1, 0}, {0.9, 0.6, 0}, {0.3, 1, 0}, {-0.4, 0.9, 0}, {-1, 0.2, 0}},
             {{1, 2, 3}, {1, 3, 4}, {1, 4, 5}, {1, 5, 6}}},
            0.0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
