// GDI's letters in the core's picture: each text sits on a box of its background colour, as
// high as the font's lines and as wide as its letters, with the letters inside the box; the
// empty viewer picture through the core's PixelCanvas and these letters; and the system's
// PNG encoder, decoded again by the system's decoder.
#include "windows/gdi_text_painter.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "viewer/viewer_window_size.h"
#include "viewer/wire_viewer.h"
#include "windows/png_picture.h"

namespace calveth {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kRed = 0xFF0000;

struct Picture {
  explicit Picture(int width = 64, int height = 48)
      : pixels(static_cast<std::size_t>(width) * height),
        raster(pixels.data(), width, height, width),
        canvas(raster, PixelLayout::Argb32, 96, text) {}
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * raster.width() + x] & 0xFFFFFF;
  }

  std::vector<std::uint32_t> pixels;
  PixelRaster raster;
  GdiTextPainter text{PixelLayout::Argb32};
  PixelCanvas canvas;
};

// The line height GDI gives Arial at 10 pixels' character height.
int arialLineHeight() {
  const HDC dc = CreateCompatibleDC(nullptr);
  const HFONT font = CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"Arial");
  const HGDIOBJ before = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, before);
  DeleteObject(font);
  DeleteDC(dc);
  return metrics.tmHeight;
}

TEST(GdiTextPainter, TextSitsOnABoxOfTheBackgroundColour) {
  Picture picture;
  picture.canvas.beginPaint();
  picture.canvas.fillBlack({64, 48});
  const FontHandle font = picture.canvas.createFont("Arial", 80);
  const FontHandle before = picture.canvas.selectFont(font);
  picture.canvas.setTextColor({0, 0, 0});
  picture.canvas.setBackgroundColor({255, 0, 0});
  picture.canvas.textOut(4, 4, "     ");
  picture.canvas.selectFont(before);
  picture.canvas.releaseFont(font);
  picture.canvas.endPaint();
  // Blanks only: the whole box is the background colour, 10 pixels high at 96 dpi, and the
  // box is as high as the font's lines.
  EXPECT_EQ(picture.at(4, 4), kRed);
  EXPECT_EQ(picture.at(5, 13), kRed);
  EXPECT_NE(picture.at(5, 16), kRed);
  const int height = arialLineHeight();
  ASSERT_GT(height, 9);
  EXPECT_EQ(picture.at(5, 4 + height - 1), kRed);
  EXPECT_EQ(picture.at(5, 4 + height), kBlack);
  EXPECT_EQ(picture.at(3, 4), kBlack);
}

TEST(GdiTextPainter, LettersLandInTheBoxAndNowhereElse) {
  Picture picture;
  picture.canvas.beginPaint();
  picture.canvas.fillBlack({64, 48});
  picture.canvas.selectFont(picture.canvas.createFont("Arial", 80));
  picture.canvas.setTextColor({255, 255, 255});
  picture.canvas.setBackgroundColor({255, 0, 0});
  picture.canvas.textOut(10, 20, "HH");
  picture.canvas.endPaint();
  const int height = arialLineHeight();
  int white = 0;
  int red = 0;
  int right = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      const std::uint32_t p = picture.at(x, y);
      const bool inBox = y >= 20 && y < 20 + height && x >= 10;
      if (p == kWhite || p == kRed) {
        EXPECT_TRUE(inBox) << x << "," << y;
        right = std::max(right, x);
      }
      white += p == kWhite ? 1 : 0;
      red += p == kRed ? 1 : 0;
    }
  }
  EXPECT_GT(white, 20);  // two capital H's of about 7 pixels' height, not smoothed
  EXPECT_GT(red, white);
  EXPECT_LT(right, 10 + 20);  // two letters of a 10-pixel font
  // Only the two colours: no smoothing between them.
  for (const std::uint32_t p : picture.pixels) {
    const std::uint32_t c = p & 0xFFFFFF;
    EXPECT_TRUE(c == kWhite || c == kRed || c == kBlack) << std::hex << c;
  }
}

TEST(GdiTextPainter, TheEmptyPictureHasTheAxisAndTheLegend) {
  // Several megabytes: on the heap, as the program keeps it.
  const auto store = std::make_unique<MeshStore>();
  WireViewer viewer(*store);
  Picture picture(kViewerClientWidth, kViewerClientHeight);
  viewer.open(picture.canvas);
  viewer.close();
  EXPECT_EQ(picture.at(5, 100), kBlack);
  EXPECT_EQ(picture.at(200, 12), kYellow);
  EXPECT_EQ(picture.at(200, 13), kWhite);
  EXPECT_EQ(picture.at(200, 378), kYellow);  // (378 - 10) / 3 is even: a yellow run
  EXPECT_EQ(picture.at(202, 2) == 0x6464FF || picture.at(203, 3) == 0x6464FF, true);  // "Y-axis"
}

// The PNG's pixels as the system's decoder reads them, 0x00RRGGBB; empty when it cannot.
std::vector<std::uint32_t> decodePng(const std::string& bytes, UINT& width, UINT& height) {
  std::vector<std::uint32_t> pixels;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  std::string copy = bytes;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(copy.data()),
                                             static_cast<DWORD>(copy.size()))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom))) {
    pixels.resize(static_cast<std::size_t>(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data())))) {
      pixels.clear();
    }
  }
  for (IUnknown* object :
       std::initializer_list<IUnknown*>{converter, frame, decoder, stream, factory}) {
    if (object != nullptr) {
      object->Release();
    }
  }
  CoUninitialize();
  for (std::uint32_t& p : pixels) {
    p &= 0xFFFFFF;
  }
  return pixels;
}

// Both layouts come out as the same colours: red stays red, not blue.
TEST(SystemPngEncoder, WritesThePicturesColours) {
  for (const PixelLayout layout : {PixelLayout::Argb32, PixelLayout::RgbaBytes}) {
    std::vector<std::uint32_t> pixels(6 * 4, packPixel(layout, {0, 0, 0}));
    PixelRaster raster(pixels.data(), 6, 4, 6);
    raster.setPixel(1, 2, packPixel(layout, {255, 0, 0}));
    raster.setPixel(5, 3, packPixel(layout, {100, 100, 255}));
    std::string bytes;
    std::string error;
    ASSERT_TRUE(encodePng(raster, layout, bytes, error)) << error;
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    UINT width = 0;
    UINT height = 0;
    const std::vector<std::uint32_t> decoded = decodePng(bytes, width, height);
    ASSERT_EQ(decoded.size(), 24u);
    EXPECT_EQ(width, 6u);
    EXPECT_EQ(height, 4u);
    EXPECT_EQ(decoded[2 * 6 + 1], kRed);
    EXPECT_EQ(decoded[3 * 6 + 5], 0x6464FFu);
    EXPECT_EQ(decoded[0], kBlack);
  }
}

}  // namespace
}  // namespace calveth
