// The pictures the desktop program is built with, as its resource file lists them: the
// sizes a desktop entry and the dialog expect, and the banner's colour budget.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <QString>
#include <ostream>

namespace calveth {
namespace {

struct IconCase {
  const char* alias;
  int size;
};

void PrintTo(const IconCase& c, std::ostream* os) { *os << c.alias; }

class Icon : public ::testing::TestWithParam<IconCase> {};

TEST_P(Icon, IsSquareOfItsSizeWithClearCornersAndAnOpaqueMiddle) {
  const IconCase& c = GetParam();
  const QImage image(QString(":/calveth/") + c.alias);
  ASSERT_FALSE(image.isNull()) << "not in the resources or not a picture";
  EXPECT_EQ(image.width(), c.size);
  EXPECT_EQ(image.height(), c.size);
  // Rounded corners let the desktop's background through; the picture itself is solid.
  const int last = c.size - 1;
  for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
    EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << "corner " << x << "," << y;
  }
  EXPECT_EQ(qAlpha(image.pixel(c.size / 2, c.size / 2)), 255);
}

INSTANTIATE_TEST_SUITE_P(Artwork, Icon,
                         ::testing::Values(IconCase{"icon-16.png", 16}, IconCase{"icon-32.png", 32},
                                           IconCase{"icon-48.png", 48}, IconCase{"icon-64.png", 64},
                                           IconCase{"icon-128.png", 128},
                                           IconCase{"icon-256.png", 256}),
                         [](const ::testing::TestParamInfo<IconCase>& info) {
                           return "size_" + std::to_string(info.param.size);
                         });

TEST(Banner, Is128By24PixelsOfAtMost16Colours) {
  const QImage banner(":/calveth/banner.png");
  ASSERT_FALSE(banner.isNull());
  EXPECT_EQ(banner.width(), 128);
  EXPECT_EQ(banner.height(), 24);
  QSet<QRgb> colours;
  for (int y = 0; y < banner.height(); ++y) {
    for (int x = 0; x < banner.width(); ++x) {
      colours.insert(banner.pixel(x, y));
    }
  }
  EXPECT_LE(colours.size(), 16);
  EXPECT_GE(colours.size(), 2) << "a picture of one colour shows no name";
}

}  // namespace
}  // namespace calveth
