// Dialog units to pixels, and slider positions to view angles.
#include <gtest/gtest.h>

#include "app/dialog_units.h"
#include "viewer/view_angle.h"

namespace calveth {
namespace {

TEST(DialogUnits, RoundLikeTheDialogLayoutsOfOldAndKeepTheAverageWidthRule) {
  struct Case {
    int a, b, c, expected;
  };
  for (const Case& row : std::initializer_list<Case>{{6, 6, 4, 9},
                                                     {46, 6, 4, 69},
                                                     {1, 6, 4, 2},
                                                     {1, 5, 4, 1},  // 1.5 up, 1.25 down
                                                     {15, 13, 8, 24},
                                                     {3, 13, 8, 5},
                                                     {-3, 13, 8, -5},
                                                     {0, 13, 8, 0}}) {
    EXPECT_EQ(mulDivRounded(row.a, row.b, row.c), row.expected) << row.a << " " << row.b;
  }
  // 52 letters of 5.9 pixels on average: (306 / 26 + 1) / 2 = 6.
  EXPECT_EQ(averageCharWidth(306), 6);
  EXPECT_EQ(averageCharWidth(285), 5);

  const DialogBaseUnits units{6, 13};
  EXPECT_EQ(toPixels({6, 6, 46, 15}, units), (PixelRect{9, 10, 69, 24}));
  EXPECT_EQ(toPixels({0, 0, 151, 189}, units), (PixelRect{0, 0, 227, 307}));
}

TEST(ViewAngle, SliderPositionsGiveWholeRadiansTruncatedTowardZero) {
  const struct {
    int first, last;
    double angle;
  } ranges[] = {{0, 2, -3.0},  {3, 12, -2.0}, {13, 22, -1.0}, {23, 41, 0.0},
                {42, 51, 1.0}, {52, 61, 2.0}, {62, 63, 3.0}};
  for (const auto& range : ranges) {
    for (int position = range.first; position <= range.last; ++position) {
      auto store = std::make_unique<MeshStore>();
      store->viewAngle = 0.5;
      UpdateViewAngle(*store, position);
      EXPECT_EQ(store->viewAngle, range.angle) << "position " << position;
    }
  }
}

}  // namespace
}  // namespace calveth
