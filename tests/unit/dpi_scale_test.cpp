#include <gtest/gtest.h>

#include "ui/dpi_scale.h"

namespace pravelo::ui {
namespace {

TEST(DpiScale, RoundsLikeMulDiv) {
  struct Case {
    int value, numerator, denominator, expected;
  } cases[] = {
      {2, 120, 96, 3},                    // 2.5 rounds away from zero
      {-2, 120, 96, -3},                  // and so does -2.5
      {1, 120, 96, 1},                    // 1.25
      {3, 120, 96, 4},                    // 3.75
      {10, 144, 96, 15},                  // exact
      {7, 96, 144, 5},                    // 4.67
      {-7, 96, 144, -5}, {5, -3, 2, -8},  // -7.5 with a negative numerator
      {5, 3, -2, -8},                     // and a negative denominator
      {0, 144, 96, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDivRound(c.value, c.numerator, c.denominator), c.expected)
        << c.value << " * " << c.numerator << " / " << c.denominator;
  }
  EXPECT_EQ(MulDivRound(100000, 30000, 60000), 50000);  // 3e9 intermediate does not overflow
}

TEST(DpiScale, DeviceAndDesignPixelsRoundTripAtEveryCommonDpi) {
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    for (int value = -50; value <= 1000; ++value) {
      ASSERT_EQ(ScaleFromDpi(ScaleToDpi(value, dpi), dpi), value) << "dpi " << dpi;
    }
  }
}

TEST(DpiScale, RectanglesThatTouchKeepTouching) {
  // Two buttons side by side and one below, as a layout places them.
  const Rect a{223, 79, 86, 23}, b{309, 79, 86, 23}, c{223, 102, 86, 23};
  for (int dpi : {120, 144, 168}) {
    const Rect sa = ScaleToDpi(a, dpi), sb = ScaleToDpi(b, dpi), sc = ScaleToDpi(c, dpi);
    EXPECT_EQ(sa.left + sa.width, sb.left) << dpi;
    EXPECT_EQ(sa.top + sa.height, sc.top) << dpi;
    EXPECT_EQ(ScaleFromDpi(sa, dpi).width, a.width) << dpi;
  }
}

}  // namespace
}  // namespace pravelo::ui
