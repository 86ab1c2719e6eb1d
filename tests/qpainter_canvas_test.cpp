// The Qt canvas: the pixels that drawing calls set, and whole pictures as PNG.
#include "qt/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "qt/png_picture.h"
#include "support/screen_mesh.h"
#include "viewer/paint_viewer.h"
#include "viewer/viewer_window_size.h"

namespace calveth {
namespace {

using testing::projectSmallMesh;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{100, 100, 255};

void ensureApplication() {
  if (QGuiApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "calveth-tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
  }
}

Rgb pixelAt(const QImage& image, int x, int y) {
  const QRgb value = image.pixel(x, y);
  return Rgb{static_cast<std::uint8_t>(qRed(value)), static_cast<std::uint8_t>(qGreen(value)),
             static_cast<std::uint8_t>(qBlue(value))};
}

struct Pixel {
  int x;
  int y;
  Rgb colour;
};

struct PixelCase {
  const char* name;
  std::function<void(Canvas&)> draw;
  std::vector<Pixel> expected;
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.name; }

class QPainterPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(QPainterPixels, SetsExactlyThesePixels) {
  ensureApplication();
  QImage image(60, 40, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QPainterCanvas canvas(image, 96);
  canvas.beginPaint();
  canvas.fillBlack(canvas.clientSize());
  GetParam().draw(canvas);
  canvas.endPaint();
  for (const Pixel& p : GetParam().expected) {
    const Rgb actual = pixelAt(image, p.x, p.y);
    EXPECT_EQ(actual, p.colour) << "at " << p.x << "," << p.y << ": " << int(actual.red) << ","
                                << int(actual.green) << "," << int(actual.blue);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, QPainterPixels,
    ::testing::Values(
        PixelCase{"fill", [](Canvas&) {}, {{0, 0, kBlack}, {59, 39, kBlack}}},
        PixelCase{"pixel",
                  [](Canvas& c) { c.setPixel(7, 8, kGreen); },
                  {{7, 8, kGreen}, {8, 8, kBlack}, {7, 9, kBlack}}},
        // both directions: the start pixel drawn, the end pixel not
        PixelCase{"lines_leave_out_their_end",
                  [](Canvas& c) {
                    c.selectPen(c.createPen(PenStyle::Solid, 1, kRed));
                    c.moveTo(10, 5);
                    c.lineTo(20, 5);
                    c.moveTo(30, 20);
                    c.lineTo(30, 10);
                  },
                  {{10, 5, kRed},
                   {19, 5, kRed},
                   {20, 5, kBlack},
                   {9, 5, kBlack},
                   {30, 20, kRed},
                   {30, 11, kRed},
                   {30, 10, kBlack},
                   {30, 21, kBlack}}},
        // three on, three in the background colour (white by default), end pixel left out
        PixelCase{"dotted_line",
                  [](Canvas& c) {
                    c.selectPen(c.createPen(PenStyle::Dotted, 0, kYellow));
                    c.moveTo(40, 2);
                    c.lineTo(40, 10);
                    c.setBackgroundColor(kRed);
                    c.moveTo(50, 10);
                    c.lineTo(50, 2);
                  },
                  {{40, 2, kYellow},
                   {40, 4, kYellow},
                   {40, 5, kWhite},
                   {40, 7, kWhite},
                   {40, 8, kYellow},
                   {40, 9, kYellow},
                   {40, 10, kBlack},
                   {50, 10, kYellow},
                   {50, 8, kYellow},
                   {50, 7, kRed},
                   {50, 5, kRed},
                   {50, 4, kYellow},
                   {50, 3, kYellow},
                   {50, 2, kBlack}}},
        // a closed outline covers all its corners
        PixelCase{"outline",
                  [](Canvas& c) {
                    c.selectPen(c.createPen(PenStyle::Solid, 1, kGreen));
                    const ScreenPoint square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}, {2, 2}};
                    const int counts[] = {5};
                    c.polyPolyline(square, counts, 1);
                  },
                  {{2, 2, kGreen},
                   {8, 2, kGreen},
                   {8, 8, kGreen},
                   {2, 8, kGreen},
                   {5, 2, kGreen},
                   {5, 5, kBlack},
                   {9, 2, kBlack}}},
        // a slant inside the image: start drawn, end left out, one pixel per step
        PixelCase{"slanted_outline",
                  [](Canvas& c) {
                    c.selectPen(c.createPen(PenStyle::Solid, 1, kRed));
                    const ScreenPoint slant[] = {{12, 30}, {17, 35}, {27, 30}};
                    c.polyline(slant, 3);
                  },
                  {{12, 30, kRed},
                   {14, 32, kRed},
                   {16, 34, kRed},
                   {17, 35, kRed},
                   {19, 34, kRed},
                   {25, 31, kRed},
                   {27, 30, kBlack},
                   {13, 30, kBlack},
                   {12, 31, kBlack}}},
        // outlines reaching far outside the image are clipped, not drawn pixel by pixel
        PixelCase{"outline_beyond_the_image",
                  [](Canvas& c) {
                    c.selectPen(c.createPen(PenStyle::Solid, 1, kGreen));
                    const ScreenPoint far[] = {{30, 25}, {-2000000000, 25}, {30, 25}, {30, 60}};
                    const int counts[] = {2, 2};
                    c.polyPolyline(far, counts, 2);
                    c.setPixel(-5, 3, kRed);
                    c.setPixel(59, 39, kRed);
                  },
                  {{30, 25, kGreen},
                   {0, 25, kGreen},
                   {15, 25, kGreen},
                   {31, 25, kBlack},
                   {30, 39, kGreen},
                   {59, 39, kRed},
                   {0, 3, kBlack}}},
        // blanks only: the whole box shows the background colour
        PixelCase{"text_box",
                  [](Canvas& c) {
                    const FontHandle font = c.createFont("Arial", 80);
                    const FontHandle before = c.selectFont(font);
                    c.setBackgroundColor(kBlue);
                    c.textOut(5, 20, "     ");
                    c.selectFont(before);
                    c.releaseFont(font);
                  },
                  {{5, 20, kBlue}, {9, 25, kBlue}, {4, 20, kBlack}, {5, 19, kBlack}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QPainterCanvas, TextBoxIsTheFontsLineHigh) {
  ensureApplication();
  QImage image(100, 40, QImage::Format_RGB32);
  QPainterCanvas canvas(image, 96);
  canvas.beginPaint();
  canvas.fillBlack(canvas.clientSize());
  canvas.selectFont(canvas.createFont("Arial", 80));
  canvas.setBackgroundColor(kRed);
  canvas.textOut(0, 0, "  ");
  canvas.endPaint();
  QFont font("Arial");
  font.setPixelSize(10);
  const QFontMetrics metrics(font, &image);
  const int width = metrics.horizontalAdvance("  ");
  const int height = metrics.height();
  ASSERT_GT(width, 0);
  EXPECT_EQ(pixelAt(image, width - 1, height - 1), kRed);
  EXPECT_EQ(pixelAt(image, width, 0), kBlack);
  EXPECT_EQ(pixelAt(image, 0, height), kBlack);
}

// The viewer's picture before any base: black, the dotted axis at x = 200 and the legend.
TEST(PngPicture, EmptyViewer) {
  auto store = std::make_unique<MeshStore>();
  WireViewer viewer(*store);
  std::string png;
  std::string error;
  ASSERT_TRUE(paintPng(viewer, kViewerClientWidth, kViewerClientHeight, kViewerDpi, png, error))
      << error;
  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                 static_cast<int>(png.size()), "PNG"));
  EXPECT_EQ(image.width(), 408);
  EXPECT_EQ(image.height(), 389);
  EXPECT_FALSE(viewer.isOpen());
  EXPECT_EQ(pixelAt(image, 100, 100), kBlack);
  // the axis from y = 10, its top hidden under the "Y-axis" box, which is drawn later
  EXPECT_EQ(pixelAt(image, 200, 0), kBlue);
  EXPECT_EQ(pixelAt(image, 199, 20), kBlack);
  EXPECT_EQ(pixelAt(image, 200, 22), kYellow);  // 12 pixels from the start: a dash
  EXPECT_EQ(pixelAt(image, 200, 25), kWhite);   // 15: a gap in the background colour
  EXPECT_EQ(pixelAt(image, 200, 378), kYellow);
  EXPECT_EQ(pixelAt(image, 200, 379), kWhite);
  EXPECT_EQ(pixelAt(image, 0, 380), kYellow);   // duplicates
  EXPECT_EQ(pixelAt(image, 120, 380), kRed);    // vertices without a partner
  EXPECT_EQ(pixelAt(image, 260, 380), kGreen);  // pairs by auto detection
}

// Far side dark grey, near side grey over it, a green pixel on each vertex.
TEST(PngPicture, TriangleFromBothSides) {
  ensureApplication();
  auto store = std::make_unique<MeshStore>();
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{2, 4, 3}, {1, 3, 2}}});
  QImage image(408, 389, QImage::Format_RGB32);
  QPainterCanvas canvas(image, 96);
  paintViewer(*screen, *store, &canvas);
  EXPECT_EQ(pixelAt(image, 200, 373), (Rgb{64, 64, 64}));     // bottom edge: back face only
  EXPECT_EQ(pixelAt(image, 373, 200), (Rgb{128, 128, 128}));  // right edge: front face only
  EXPECT_EQ(pixelAt(image, 200, 26), (Rgb{128, 128, 128}));   // top edge: front face only
  EXPECT_EQ(pixelAt(image, 200, 200), (Rgb{128, 128, 128}));  // the shared diagonal
  EXPECT_EQ(pixelAt(image, 373, 26), kGreen);
  EXPECT_EQ(pixelAt(image, 100, 300), kBlack);
}

}  // namespace
}  // namespace calveth
