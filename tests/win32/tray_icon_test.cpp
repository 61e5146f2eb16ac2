#include <windows.h>

#include <gtest/gtest.h>

#include "display/tray_icon_win32.h"
#include "win32/pixels.h"

namespace pravelo::display {
namespace {

using test::MakePicture;
using test::Pixels;
using test::ReadBitmap;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kPicture = 48;

// Key pixels on a diagonal and in a block, colours next to the key, opaque black, and
// keys outside the top-left 32 x 32 that must not matter.
COLORREF TestPixel(int x, int y) {
  if (x == y || (x >= 20 && x < 28 && y >= 4 && y < 9)) return kTransparentKey;
  if (x == 31 - y) return RGB(251, 77, 254);
  if (x == 5 && y > 20) return RGB(250, 77, 253);
  if (y == 30) return kBlack;
  if (x >= 32 || y >= 32) return (x + y) % 3 == 0 ? kTransparentKey : RGB(10, 200, 30);
  return RGB(x * 7, y * 7, 128);
}

bool IsKey(int x, int y) { return TestPixel(x, y) == kTransparentKey; }

TEST(MakeMaskBitmap, MarksExactlyTheKeyPixelsAndRestoresTheBackground) {
  UniqueBitmap picture = MakePicture(kPicture, kPicture, TestPixel);
  UniqueDc dc(::CreateCompatibleDC(nullptr));
  UniqueBitmap mask;
  {
    ScopedSelect selection(dc.Get(), picture.Get());
    ASSERT_TRUE(selection);
    const COLORREF background = RGB(1, 2, 3);
    ::SetBkColor(dc.Get(), background);
    mask = MakeMaskBitmap(dc.Get(), kTransparentKey);
    EXPECT_EQ(::GetBkColor(dc.Get()), background);
  }
  ASSERT_TRUE(mask);
  BITMAP info{};
  ASSERT_TRUE(::GetObjectW(mask.Get(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, kTrayIconSize);
  EXPECT_EQ(info.bmHeight, kTrayIconSize);
  EXPECT_EQ(info.bmPlanes * info.bmBitsPixel, 1);

  const Pixels bits = ReadBitmap(mask.Get());
  ASSERT_EQ(bits.data.size(), 32u * 32u);
  for (int y = 0; y < kTrayIconSize; ++y)
    for (int x = 0; x < kTrayIconSize; ++x)
      ASSERT_EQ(bits.At(x, y), IsKey(x, y) ? kWhite : kBlack) << x << "," << y;
}

TEST(MakeMaskBitmap, FailsWithoutAPicture) { EXPECT_FALSE(MakeMaskBitmap(nullptr, kTransparentKey)); }

struct IconBitmaps {
  Pixels mask;
  Pixels colour;
};

IconBitmaps ReadIcon(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  UniqueBitmap mask(info.hbmMask);
  UniqueBitmap colour(info.hbmColor);
  return {ReadBitmap(mask.Get()), ReadBitmap(colour.Get())};
}

TEST(MakeTrayIcon, TopLeftOfThePictureWithTheKeyTransparent) {
  UniqueIcon icon = MakeTrayIcon(MakePicture(kPicture, kPicture, TestPixel));
  ASSERT_TRUE(icon);
  const IconBitmaps bitmaps = ReadIcon(icon.Get());
  ASSERT_EQ(bitmaps.mask.width, kTrayIconSize);
  ASSERT_EQ(bitmaps.mask.height, kTrayIconSize);
  ASSERT_EQ(bitmaps.colour.width, kTrayIconSize);
  ASSERT_EQ(bitmaps.colour.height, kTrayIconSize);
  for (int y = 0; y < kTrayIconSize; ++y) {
    for (int x = 0; x < kTrayIconSize; ++x) {
      if (IsKey(x, y)) {
        ASSERT_EQ(bitmaps.mask.At(x, y), kWhite) << x << "," << y;
        ASSERT_EQ(bitmaps.colour.At(x, y), kBlack) << x << "," << y;
      } else {
        ASSERT_EQ(bitmaps.mask.At(x, y), kBlack) << x << "," << y;
        ASSERT_EQ(bitmaps.colour.At(x, y), TestPixel(x, y)) << x << "," << y;
      }
    }
  }
}

TEST(MakeTrayIcon, DeletesTheBitmapItIsGiven) {
  for (int size : {kPicture, kTrayIconSize}) {
    UniqueBitmap picture = MakePicture(size, size, TestPixel);
    const HBITMAP given = picture.Get();
    UniqueIcon icon = MakeTrayIcon(std::move(picture));
    EXPECT_TRUE(icon) << size;
    BITMAP info{};
    EXPECT_EQ(::GetObjectW(given, sizeof info, &info), 0) << size;
  }
}

TEST(MakeTrayIcon, FailsForABadBitmap) {
  EXPECT_FALSE(MakeTrayIcon(UniqueBitmap{}));
  UniqueBitmap deleted = MakePicture(kPicture, kPicture, TestPixel);
  const HBITMAP stale = deleted.Get();
  deleted.Reset();
  // The owner given the stale value deletes it again; that only fails.
  EXPECT_FALSE(MakeTrayIcon(UniqueBitmap(stale)));
}

}  // namespace
}  // namespace pravelo::display
