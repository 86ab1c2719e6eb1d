// The Linux viewer pictures: letters from FreeType in the core's pixels, and the PNG file that
// calveth-cli writes of them (decoded again with libpng).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_router.h"
#include "linux/freetype_text_painter.h"
#include "linux/png_file.h"
#include "support/png_pixels.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "viewer/paint_viewer.h"
#include "viewer/viewer_window_size.h"
#include "viewer/wire_viewer.h"

namespace calveth {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kBlue{100, 100, 255};

struct Picture {
  std::vector<std::uint32_t> pixels =
      std::vector<std::uint32_t>(std::size_t{kViewerClientWidth} * kViewerClientHeight);
  PixelRaster raster{pixels.data(), kViewerClientWidth, kViewerClientHeight, kViewerClientWidth};
  FreeTypeTextPainter text{PixelLayout::Argb32};
  PixelCanvas canvas{raster, PixelLayout::Argb32, kViewerDpi, text};
  Rgb at(int x, int y) const {
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * kViewerClientWidth + x];
    return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p)};
  }
};

// The box is as high as the font's lines and as wide as the letters' advances; the letters
// themselves are set in it.
TEST(FreeTypeTextPainter, TextBoxAndLetters) {
  Picture picture;
  ASSERT_TRUE(picture.text.available()) << "Liberation Sans (fonts-liberation2) is missing";
  picture.canvas.beginPaint();
  picture.canvas.fillBlack(picture.canvas.clientSize());
  picture.canvas.selectFont(picture.canvas.createFont("Arial", 80));
  picture.canvas.setBackgroundColor(kRed);
  picture.canvas.setTextColor(kWhite);
  picture.canvas.textOut(0, 0, "  ");
  picture.canvas.textOut(0, 20, "HH");
  picture.canvas.endPaint();
  // 8 points at 96 dpi are 10 pixels: Liberation Sans' two blanks advance 6 pixels (hinted to
  // 3 each), its lines are 13 pixels high (ascent 10, descent 3, rounded outwards).
  int boxWidth = 0;
  int boxHeight = 0;
  while (picture.at(boxWidth, 0) == kRed) {
    ++boxWidth;
  }
  while (picture.at(0, boxHeight) == kRed) {
    ++boxHeight;
  }
  EXPECT_EQ(boxWidth, 6);
  EXPECT_EQ(boxHeight, 13);
  EXPECT_EQ(picture.at(boxWidth, 0), kBlack);
  EXPECT_EQ(picture.at(0, boxHeight), kBlack);
  int white = 0;
  for (int y = 20; y < 31; ++y) {
    for (int x = 0; x < 16; ++x) {
      white += picture.at(x, y) == kWhite ? 1 : 0;
    }
  }
  EXPECT_GT(white, 20);                  // two capital H's of about 7 pixels' height
  EXPECT_EQ(picture.at(0, 33), kBlack);  // nothing below the box
}

std::vector<Rgb> decodePng(const std::string& bytes, int& width, int& height) {
  std::vector<std::uint32_t> pixels;
  if (!testing::decodePngPixels(bytes, pixels, &width, &height)) {
    return {};
  }
  std::vector<Rgb> colours;
  for (const std::uint32_t p : pixels) {
    colours.push_back({static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                       static_cast<std::uint8_t>(p)});
  }
  return colours;
}

// The viewer's picture before any base, through PNG and back: black, the dotted axis at
// x = 200 under the "Y-axis" box, and the legend's colours.
TEST(PngFile, EmptyViewerRoundTrip) {
  auto store = std::make_unique<MeshStore>();
  WireViewer viewer(*store);
  Picture picture;
  viewer.open(picture.canvas);
  viewer.close();
  std::string bytes;
  std::string error;
  ASSERT_TRUE(encodePng(picture.raster, PixelLayout::Argb32, bytes, error)) << error;
  int width = 0;
  int height = 0;
  const std::vector<Rgb> decoded = decodePng(bytes, width, height);
  ASSERT_EQ(width, 408);
  ASSERT_EQ(height, 389);
  const auto at = [&](int x, int y) { return decoded[static_cast<std::size_t>(y) * 408 + x]; };
  for (const auto& [x, y] :
       {std::pair{100, 100}, {200, 0}, {200, 22}, {200, 25}, {0, 380}, {120, 380}, {260, 380}}) {
    EXPECT_EQ(at(x, y), picture.at(x, y)) << x << "," << y;
  }
  EXPECT_EQ(at(100, 100), kBlack);
  EXPECT_EQ(at(200, 0), kBlue);
  EXPECT_EQ(at(200, 22), kYellow);
  EXPECT_EQ(at(200, 25), kWhite);
  EXPECT_EQ(at(0, 380), kYellow);
  EXPECT_EQ(at(120, 380), kRed);
  EXPECT_EQ(at(260, 380), kGreen);
}

// calveth-cli's PNG is the desktop viewer's picture: the same canvas, letters and pixels.
TEST(PngFile, CliPictureIsTheViewersPixels) {
  testing::TempDir dir;
  const std::string png = dir.file("head.png");
  const std::string head = std::string(CALVETH_SAMPLES_DIR) + "/head_base.obj";
  ASSERT_EQ(testing::runCliProgram({"render", head, "-o", png}).exitCode, 0);
  int width = 0;
  int height = 0;
  const std::vector<Rgb> fromCli = decodePng(testing::readFile(png), width, height);
  ASSERT_EQ(fromCli.size(), std::size_t{408} * 389);

  auto store = std::make_unique<MeshStore>();
  struct Quiet final : Host {
    void setStatusText(std::string_view) override {}
    void setEnabled(ControlId, bool) override {}
    void setChecked(ControlId, bool) override {}
    void setProgressRange(int, int) override {}
    void setProgressPosition(int) override {}
    void repaintNow() override {}
    std::optional<std::string> chooseOpenFile(const FileChoice&) override { return file; }
    std::optional<std::string> chooseSaveFile(const FileChoice&) override { return {}; }
    bool askYesNo(std::string_view) override { return true; }
    void warn(std::string_view) override {}
    std::string file;
  } host;
  host.file = head;
  WireViewer viewer(*store);
  Picture picture;
  viewer.open(picture.canvas);
  CommandRouter router(*store, host, viewer);
  router.start();
  ASSERT_TRUE(router.press(ControlId::OpenBase));
  int differing = 0;
  for (int y = 0; y < 389; ++y) {
    for (int x = 0; x < 408; ++x) {
      differing += fromCli[static_cast<std::size_t>(y) * 408 + x] == picture.at(x, y) ? 0 : 1;
    }
  }
  EXPECT_EQ(differing, 0);
  viewer.close();
}

}  // namespace
}  // namespace calveth
