#include <gtest/gtest.h>

#include <cstdint>

#include "display/bar_picture.h"
#include "display/grid_picture.h"

namespace pravelo::display {
namespace {

uint32_t Channel(uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

// The bars were bitmaps before the program drew them: these rows are the bitmaps' own.
TEST(DrawnPictures, BarsKeepTheirBitmapsColours) {
  struct Case {
    uint32_t base;
    uint32_t border, top, middle, bottom;
  };
  const Case cases[] = {{kBarGreenRgb, 0x14551E, 0x36E551, 0x2AB23F, 0x1A6E27},
                        {kBarGreyRgb, 0x4B4B4B, 0xCACACA, 0x9D9D9D, 0x616161},
                        {kBarRedRgb, 0x691414, 0xFF3636, 0xDC2A2A, 0x881A1A}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base);
    EXPECT_EQ(BarRowRgb(c.base, 0), c.border);
    EXPECT_EQ(BarRowRgb(c.base, kBarHeight - 1), c.border);
    EXPECT_EQ(BarRowRgb(c.base, 1), c.top);
    EXPECT_EQ(BarRowRgb(c.base, 12), c.middle);
    EXPECT_EQ(BarRowRgb(c.base, kBarHeight - 2), c.bottom);
    for (int y = 2; y < kBarHeight - 1; ++y)
      for (int shift : {0, 8, 16})
        EXPECT_LE(Channel(BarRowRgb(c.base, y), shift), Channel(BarRowRgb(c.base, y - 1), shift));
  }
}

TEST(DrawnPictures, GridHasALineEveryTwelvePixelsFromTheTopLeft) {
  EXPECT_EQ(GridPixelRgb(0, 5), kGridLineRgb);
  EXPECT_EQ(GridPixelRgb(5, 0), kGridLineRgb);
  EXPECT_EQ(GridPixelRgb(12, 7), kGridLineRgb);
  EXPECT_EQ(GridPixelRgb(7, 24), kGridLineRgb);
  EXPECT_EQ(GridPixelRgb(11, 13), kGridBackRgb);
  EXPECT_EQ(GridPixelRgb(453, 339), kGridBackRgb);
}

}  // namespace
}  // namespace pravelo::display
