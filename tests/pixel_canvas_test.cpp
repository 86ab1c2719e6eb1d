// The toolkit-free pixel canvas: the pixels each drawing call sets, and what its texts ask of
// the front end.
#include "viewer/pixel_canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace calveth {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kBlue{100, 100, 255};
constexpr int kSize = 12;

struct RecordedText {
  int x, y;
  std::string text, face;
  int pixelHeight;
  Rgb colour, background;
};

class RecordingText final : public TextPainter {
 public:
  void drawText(PixelRaster& picture, const TextRequest& r) override {
    texts.push_back({r.x, r.y, std::string(r.text), std::string(r.face), r.pixelHeight, r.colour,
                     r.background});
    picture.fill(r.x, r.y, 2, 2, packPixel(PixelLayout::RgbaBytes, r.background));
  }
  std::vector<RecordedText> texts;
};

// A canvas over a small RGBA picture, painted black first.
struct Picture {
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kSize * kSize);
  RecordingText text;
  PixelCanvas canvas{PixelRaster(pixels.data(), kSize, kSize, kSize), PixelLayout::RgbaBytes, 96,
                     text};
  Picture() {
    canvas.beginPaint();
    canvas.fillBlack({kSize, kSize});
  }
  Rgb at(int x, int y) const {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&pixels[y * kSize + x]);
    EXPECT_EQ(bytes[3], 255) << "opaque at " << x << "," << y;
    return {bytes[0], bytes[1], bytes[2]};
  }
};

struct Pixel {
  int x;
  int y;
  Rgb colour;
};

struct PixelCase {
  const char* name;
  std::function<void(Canvas&)> draw;
  std::vector<Pixel> changed;  // every pixel that is not black afterwards
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.name; }

class PixelCanvasPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(PixelCanvasPixels, SetsExactlyThesePixels) {
  Picture picture;
  GetParam().draw(picture.canvas);
  std::vector<std::vector<Rgb>> expected(kSize, std::vector<Rgb>(kSize, kBlack));
  for (const Pixel& p : GetParam().changed) {
    expected[p.y][p.x] = p.colour;
  }
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      EXPECT_EQ(picture.at(x, y), expected[y][x]) << "at " << x << "," << y;
    }
  }
}

void red(Canvas& canvas) { canvas.selectPen(canvas.createPen(PenStyle::Solid, 1, kRed)); }

INSTANTIATE_TEST_SUITE_P(
    Lines, PixelCanvasPixels,
    ::testing::Values(
        PixelCase{"rightwards_end_left_out",
                  [](Canvas& c) {
                    red(c);
                    c.moveTo(1, 1);
                    c.lineTo(4, 1);
                  },
                  {{1, 1, kRed}, {2, 1, kRed}, {3, 1, kRed}}},
        PixelCase{"upwards_end_left_out",
                  [](Canvas& c) {
                    red(c);
                    c.moveTo(2, 4);
                    c.lineTo(2, 1);
                  },
                  {{2, 4, kRed}, {2, 3, kRed}, {2, 2, kRed}}},
        // Halfway pixels step to the next row, as the desktop viewer's lines do.
        PixelCase{"slant_bresenham",
                  [](Canvas& c) {
                    red(c);
                    c.moveTo(0, 0);
                    c.lineTo(4, 2);
                  },
                  {{0, 0, kRed}, {1, 1, kRed}, {2, 1, kRed}, {3, 2, kRed}}},
        PixelCase{"same_point_draws_nothing",
                  [](Canvas& c) {
                    red(c);
                    c.moveTo(3, 3);
                    c.lineTo(3, 3);
                  },
                  {}},
        PixelCase{"default_pen_is_black",
                  [](Canvas& c) {
                    c.moveTo(0, 0);
                    c.lineTo(5, 0);
                  },
                  {}},
        PixelCase{"dotted_three_on_three_background",
                  [](Canvas& c) {
                    c.selectPen(c.createPen(PenStyle::Dotted, 0, kYellow));
                    c.setBackgroundColor(kBlue);
                    c.moveTo(0, 5);
                    c.lineTo(8, 5);
                  },
                  {{0, 5, kYellow},
                   {1, 5, kYellow},
                   {2, 5, kYellow},
                   {3, 5, kBlue},
                   {4, 5, kBlue},
                   {5, 5, kBlue},
                   {6, 5, kYellow},
                   {7, 5, kYellow}}},
        PixelCase{"line_reaching_outside_is_cut",
                  [](Canvas& c) {
                    red(c);
                    c.moveTo(-2, 11);
                    c.lineTo(3, 11);
                    c.moveTo(10, 0);
                    c.lineTo(14, 0);
                  },
                  {{0, 11, kRed}, {1, 11, kRed}, {2, 11, kRed}, {10, 0, kRed}, {11, 0, kRed}}},
        PixelCase{
            "outline_joins_without_gaps",
            [](Canvas& c) {
              red(c);
              const ScreenPoint points[] = {{1, 1}, {3, 1}, {3, 3}, {1, 1}};
              c.polyline(points, 4);
            },
            {{1, 1, kRed}, {2, 1, kRed}, {3, 1, kRed}, {3, 2, kRed}, {3, 3, kRed}, {2, 2, kRed}}},
        PixelCase{"poly_polyline_keeps_outlines_apart",
                  [](Canvas& c) {
                    red(c);
                    const ScreenPoint points[] = {{0, 0}, {2, 0}, {5, 5}, {5, 7}};
                    const int counts[] = {2, 2};
                    c.polyPolyline(points, counts, 2);
                  },
                  {{0, 0, kRed}, {1, 0, kRed}, {5, 5, kRed}, {5, 6, kRed}}},
        PixelCase{"pixels_inside_only",
                  [](Canvas& c) {
                    c.setPixel(4, 4, kYellow);
                    c.setPixel(-1, 4, kYellow);
                    c.setPixel(4, kSize, kYellow);
                  },
                  {{4, 4, kYellow}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Texts go to the front end with the selected font's face and height and the colours in
// force, and what it draws lands in the picture.
TEST(PixelCanvas, TextsGoToTheFrontEndWithTheToolsInForce) {
  Picture picture;
  const FontHandle legend = picture.canvas.createFont("Arial", 80);
  picture.canvas.textOut(0, 0, "plain");
  picture.canvas.selectFont(legend);
  picture.canvas.setTextColor(kWhite);
  picture.canvas.setBackgroundColor(kRed);
  picture.canvas.textOut(5, 6, "Y-axis");
  ASSERT_EQ(picture.text.texts.size(), 2u);
  const RecordedText& plain = picture.text.texts[0];
  EXPECT_EQ(plain.face, "");
  EXPECT_EQ(plain.background, kWhite);
  EXPECT_EQ(plain.colour, kBlack);
  const RecordedText& label = picture.text.texts[1];
  EXPECT_EQ(label.text, "Y-axis");
  EXPECT_EQ(label.face, "Arial");
  EXPECT_EQ(label.pixelHeight, 10);  // 8 points at 96 dpi
  EXPECT_EQ(label.x, 5);
  EXPECT_EQ(label.y, 6);
  EXPECT_EQ(label.colour, kWhite);
  EXPECT_EQ(picture.at(6, 7), kRed);
}

// The two layouts put the same colour where each kind of picture expects it.
TEST(PixelLayout, PacksEachChannelInItsPlace) {
  const Rgb colour{0x12, 0x34, 0x56};
  EXPECT_EQ(packPixel(PixelLayout::Argb32, colour), 0xff123456u);
  const std::uint32_t rgba = packPixel(PixelLayout::RgbaBytes, colour);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&rgba);
  EXPECT_EQ(bytes[0], 0x12);
  EXPECT_EQ(bytes[1], 0x34);
  EXPECT_EQ(bytes[2], 0x56);
  EXPECT_EQ(bytes[3], 0xff);
}

}  // namespace
}  // namespace calveth
