// The GDI canvas draws what the painter asks, pixel for pixel where the Canvas promises it:
// a black fill, the dotted axis 3 pixels on and 3 in the background colour, a solid line
// without its end point, pixels, and text over a box of the background colour.
#include "win32/gdi_canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "viewer/wire_viewer.h"

namespace calveth {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kRed = 0xFF0000;

class GdiCanvasTest : public ::testing::Test {
 protected:
  GdiCanvasTest() : picture_(64, 48, RGB(1, 2, 3)), canvas_(picture_.dc(), {64, 48}, 96) {}

  std::uint32_t at(int x, int y) const {
    return picture_.pixels()[static_cast<std::size_t>(y) * 64 + x] & 0xFFFFFF;
  }

  DibPicture picture_;
  GdiCanvas canvas_;
};

TEST_F(GdiCanvasTest, FillsBlackAndDrawsSolidLinesWithoutTheirEndPoint) {
  canvas_.beginPaint();
  canvas_.fillBlack({64, 48});
  const PenHandle red = canvas_.createPen(PenStyle::Solid, 1, {255, 0, 0});
  const PenHandle before = canvas_.selectPen(red);
  canvas_.moveTo(2, 5);
  canvas_.lineTo(12, 5);
  canvas_.selectPen(before);
  canvas_.releasePen(red);
  canvas_.setPixel(30, 30, {255, 255, 0});
  canvas_.endPaint();
  EXPECT_EQ(at(0, 0), kBlack);
  EXPECT_EQ(at(63, 47), kBlack);
  for (int x = 2; x < 12; ++x) {
    EXPECT_EQ(at(x, 5), kRed) << x;
  }
  EXPECT_EQ(at(12, 5), kBlack);
  EXPECT_EQ(at(30, 30), kYellow);
}

TEST_F(GdiCanvasTest, DottedLinesRunThreeOnAndThreeInTheBackgroundColour) {
  canvas_.beginPaint();
  canvas_.fillBlack({64, 48});
  const PenHandle dotted = canvas_.createPen(PenStyle::Dotted, 0, {255, 255, 0});
  canvas_.selectPen(dotted);
  canvas_.moveTo(20, 10);
  canvas_.lineTo(20, 40);
  canvas_.endPaint();
  for (int y = 10; y < 40; ++y) {
    EXPECT_EQ(at(20, y), ((y - 10) / kDotPixels) % 2 == 0 ? kYellow : kWhite) << y;
  }
  EXPECT_EQ(at(20, 40), kBlack);
}

TEST_F(GdiCanvasTest, TextSitsOnABoxOfTheBackgroundColour) {
  canvas_.beginPaint();
  canvas_.fillBlack({64, 48});
  const FontHandle font = canvas_.createFont("Arial", 80);
  const FontHandle before = canvas_.selectFont(font);
  canvas_.setTextColor({0, 0, 0});
  canvas_.setBackgroundColor({255, 0, 0});
  canvas_.textOut(4, 4, "     ");
  canvas_.selectFont(before);
  canvas_.releaseFont(font);
  canvas_.endPaint();
  // Blanks only: the whole box is the background colour, 10 pixels high at 96 dpi.
  EXPECT_EQ(at(4, 4), kRed);
  EXPECT_EQ(at(5, 13), kRed);
  EXPECT_NE(at(5, 16), kRed);
}

TEST(GdiViewer, TheEmptyPictureHasTheAxisAndTheLegend) {
  // Several megabytes: on the heap, as the program keeps it.
  const auto store = std::make_unique<MeshStore>();
  WireViewer viewer(*store);
  DibPicture picture(408, 389, RGB(1, 2, 3));
  GdiCanvas canvas(picture.dc(), {408, 389}, 96);
  viewer.open(canvas);
  viewer.close();
  const auto at = [&](int x, int y) {
    return picture.pixels()[static_cast<std::size_t>(y) * 408 + x] & 0xFFFFFF;
  };
  EXPECT_EQ(at(5, 100), kBlack);
  EXPECT_EQ(at(200, 12), kYellow);
  EXPECT_EQ(at(200, 13), kWhite);
  EXPECT_EQ(at(200, 378), kYellow);  // (378 - 10) / 3 is even: a yellow run
  EXPECT_EQ(at(202, 2) == 0x6464FF || at(203, 3) == 0x6464FF, true);  // "Y-axis" on blue
}

}  // namespace
}  // namespace calveth
