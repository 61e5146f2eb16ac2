#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "display/canvas_sizes.h"
#include "display/graph.h"
#include "display/graph_canvas_win32.h"
#include "display/icon_canvas_win32.h"
#include "resource_ids.h"
#include "win32/pixels.h"

namespace pravelo::display {
namespace {

using test::Pixels;
using test::ReadDc;

constexpr COLORREF kWhite = RGB(255, 255, 255);

Pixels Snapshot(const MemoryCanvas& canvas) { return ReadDc(canvas.Dc(), canvas.Width(), canvas.Height()); }

Pixels ResourcePicture(int id) {
  UniqueBitmap picture = LoadPicture(id);
  return picture ? test::ReadBitmap(picture.Get()) : Pixels{};
}

int CountColour(const Pixels& pixels, COLORREF colour) {
  return static_cast<int>(std::count(pixels.data.begin(), pixels.data.end(), colour));
}

TEST(GraphCanvas, StartsWithTheGridAtTheTopLeftAndTheBackgroundBeyondIt) {
  GraphCanvasWin32 canvas;
  ASSERT_EQ(canvas.Width(), kGraphCanvasWidth);
  ASSERT_EQ(canvas.Height(), kGraphCanvasHeight);
  // Lines every 12 pixels from the top-left, 454 pixels wide.
  const COLORREF line = RGB(0, 78, 20);
  const Pixels pixels = Snapshot(canvas);
  for (int y = 0; y < kGraphCanvasHeight; ++y)
    for (int x = 0; x < kGraphCanvasWidth; ++x) {
      const COLORREF expected = x >= 454 ? kGraphBackground : (x % 12 == 0 || y % 12 == 0) ? line : kGraphBackground;
      ASSERT_EQ(pixels.At(x, y), expected) << x << "," << y;
    }
}

struct Line {
  int x0, y0, x1, y1;
};

void PrintTo(const Line& line, std::ostream* out) {
  *out << "(" << line.x0 << "," << line.y0 << ")-(" << line.x1 << "," << line.y1 << ")";
}

class GraphLine : public testing::TestWithParam<Line> {};

// Both ends white, one pixel per step along the longer axis: no gap and nothing extra.
TEST_P(GraphLine, DrawsEveryPixelFromEndToEnd) {
  const Line line = GetParam();
  GraphCanvasWin32 canvas;
  const int before = CountColour(Snapshot(canvas), kWhite);
  canvas.DrawLine(line.x0, line.y0, line.x1, line.y1);
  const Pixels pixels = Snapshot(canvas);
  EXPECT_EQ(pixels.At(line.x0, line.y0), kWhite);
  EXPECT_EQ(pixels.At(line.x1, line.y1), kWhite);
  const int steps = std::max(std::abs(line.x1 - line.x0), std::abs(line.y1 - line.y0));
  EXPECT_EQ(CountColour(pixels, kWhite) - before, steps + 1);
}

INSTANTIATE_TEST_SUITE_P(Shapes, GraphLine,
                         testing::Values(Line{10, 100, 60, 40}, Line{60, 40, 10, 100}, Line{5, 5, 5, 80},
                                         Line{0, 20, 216, 20}, Line{30, 30, 31, 150}, Line{100, 70, 100, 70},
                                         Line{497, 0, 499, 152}));

TEST(GraphCanvas, ALineStartingOffTheCanvasIsDrawnWhereItIsOnIt) {
  // The first refresh draws from (-1, H), just outside the bottom-left corner.
  GraphCanvasWin32 canvas;
  canvas.DrawLine(-1, kGraphCanvasHeight, 2, 100);
  const Pixels pixels = Snapshot(canvas);
  EXPECT_EQ(pixels.At(2, 100), kWhite);
  // Rows whose part of the line has x >= 0 each carry one white pixel.
  for (int y = 100; y <= 130; ++y) {
    int white = 0;
    for (int x = 0; x < 4; ++x) white += pixels.At(x, y) == kWhite;
    EXPECT_EQ(white, 1) << "row " << y;
  }
}

TEST(GraphCanvas, PlotPointSetsOnePixelWhite) {
  GraphCanvasWin32 canvas;
  const Pixels before = Snapshot(canvas);
  canvas.PlotPoint(217, 76);
  Pixels expected = before;
  expected.data[76 * kGraphCanvasWidth + 217] = kWhite;
  EXPECT_EQ(Snapshot(canvas), expected);
}

TEST(GraphCanvas, ScrollLeftMovesEveryColumnByExactlyThatMuch) {
  GraphCanvasWin32 canvas;
  // Lines break the grid's 12-pixel period, so a wrong shift cannot match by accident.
  canvas.DrawLine(0, 150, 499, 3);
  canvas.DrawLine(0, 10, 499, 140);
  canvas.PlotPoint(499, 76);
  const Pixels before = Snapshot(canvas);
  canvas.ScrollLeft(2);
  const Pixels after = Snapshot(canvas);
  for (int y = 0; y < kGraphCanvasHeight; ++y)
    for (int x = 0; x + 2 < kGraphCanvasWidth; ++x)
      ASSERT_EQ(after.At(x, y), before.At(x + 2, y)) << x << "," << y;
}

TEST(IconCanvas, StartsWhiteAndPrintsTheDigitsIntoTheTopLeft) {
  IconCanvasWin32 canvas;
  ASSERT_EQ(canvas.Width(), kIconCanvasSize);
  const Pixels blank = Snapshot(canvas);
  EXPECT_EQ(CountColour(blank, kWhite), kIconCanvasSize * kIconCanvasSize);

  canvas.PrintText(-10, 0, " 45 ");
  const Pixels printed = Snapshot(canvas);
  int left = kIconCanvasSize, right = -1, top = kIconCanvasSize;
  for (int y = 0; y < kIconCanvasSize; ++y)
    for (int x = 0; x < kIconCanvasSize; ++x)
      if (printed.At(x, y) != kWhite) {
        ASSERT_EQ(printed.At(x, y), RGB(0, 0, 0)) << "not antialiased: " << x << "," << y;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
      }
  // The leading blank falls off the left edge; both digits are in the icon's 32 x 32.
  EXPECT_LE(left, 4);
  EXPECT_LT(top, 12);
  EXPECT_GE(right, 16);
  EXPECT_LT(right, 36);
}

TEST(IconCanvas, ANegativeXShiftsTheTextOffTheLeftEdge) {
  IconCanvasWin32 atZero, shifted;
  atZero.PrintText(0, 0, " 45 ");
  shifted.PrintText(-10, 0, " 45 ");
  const Pixels a = Snapshot(atZero), b = Snapshot(shifted);
  for (int y = 0; y < kIconCanvasSize; ++y)
    for (int x = 0; x + 10 < kIconCanvasSize; ++x) ASSERT_EQ(b.At(x, y), a.At(x + 10, y)) << x << "," << y;
}

TEST(IconCanvas, PrintingTheSameTextAgainChangesNoPixel) {
  IconCanvasWin32 canvas;
  canvas.PaintFillBar(30, kIconCanvasSize);
  canvas.PrintText(-10, 0, " 87 ");
  const Pixels once = Snapshot(canvas);
  canvas.PrintText(-10, 0, " 87 ");
  EXPECT_EQ(Snapshot(canvas), once);
}

TEST(IconCanvas, ClearLeavesNothingOfEarlierDigitsOrBars) {
  IconCanvasWin32 canvas;
  const Pixels fresh = Snapshot(canvas);
  canvas.PaintFillBar(40, kIconCanvasSize);
  canvas.PrintText(-10, 0, " 88 ");
  ASSERT_NE(Snapshot(canvas), fresh);
  canvas.Clear();
  EXPECT_EQ(Snapshot(canvas), fresh);
  canvas.PrintText(-10, 0, " 11 ");  // text still prints on a transparent background
  const Pixels digits = Snapshot(canvas);
  EXPECT_GT(CountColour(digits, RGB(0, 0, 0)), 20);
  EXPECT_GT(CountColour(digits, kWhite), kIconCanvasSize * kIconCanvasSize / 2);
}

TEST(IconCanvas, FillBarCoversExactlyItsWidthAndTheFullHeight) {
  const Pixels fill = ResourcePicture(IDB_ICON_FILL);
  ASSERT_FALSE(fill.data.empty());
  const COLORREF fillColour = fill.At(0, 0);
  ASSERT_NE(fillColour, kWhite);
  for (int width : {0, 1, 24, 47, 48}) {
    IconCanvasWin32 canvas;
    canvas.PaintFillBar(width, kIconCanvasSize);
    const Pixels pixels = Snapshot(canvas);
    for (int y = 0; y < kIconCanvasSize; ++y)
      for (int x = 0; x < kIconCanvasSize; ++x)
        ASSERT_EQ(pixels.At(x, y), x < width ? fill.At(x * fill.width / std::max(width, 1), y) : kWhite)
            << "width " << width << " at " << x << "," << y;
  }
}

TEST(IconCanvas, MakeIconShowsTheCanvasTopLeft) {
  IconCanvasWin32 canvas;
  canvas.PaintFillBar(24, kIconCanvasSize);
  canvas.PrintText(-10, 0, " 51 ");
  const Pixels drawn = Snapshot(canvas);
  const NativeHandle icon = canvas.MakeIcon();
  ASSERT_NE(icon, 0u);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(FromNative<HICON>(icon), &info));
  UniqueBitmap mask(info.hbmMask), colour(info.hbmColor);
  const Pixels colours = test::ReadBitmap(colour.Get());
  ASSERT_EQ(colours.width, 32);
  ASSERT_EQ(colours.height, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(colours.At(x, y), drawn.At(x, y)) << x << "," << y;
  canvas.DestroyIcon(icon);
  EXPECT_FALSE(::GetIconInfo(FromNative<HICON>(icon), &info));
}

int Differences(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int count = 0;
  for (std::size_t i = 0; i < a.data.size(); ++i) count += a.data[i] != b.data[i];
  return count;
}

// Held back behind a hidden window and caught up, the graph has the pixels of one drawn at
// once: before it scrolls, once it scrolls, and after more than a canvas's width of scrolls.
TEST(GraphCanvas, HeldBackDrawingCaughtUpGivesThePixelsOfDrawingAtOnce) {
  HWND hidden = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(hidden);
  GraphCanvasWin32 atOnce, held;
  held.BindWindow(hidden);
  for (GraphCanvasWin32* canvas : {&atOnce, &held}) {
    // Marks in the rightmost columns, which every scroll repeats into the columns it uncovers.
    canvas->PlotPoint(kGraphCanvasWidth - 2, 5);
    canvas->PlotPoint(kGraphCanvasWidth - 1, 9);
  }
  const Pixels start = Snapshot(held);
  constexpr int kViewport = 217;  // the main window's
  GraphState state;
  state.Start(kGraphCanvasHeight);
  unsigned seed = 7;
  int refreshes = 0;
  for (const int stop : {60, 150, 700}) {
    for (; refreshes < stop; ++refreshes) {
      seed = seed * 1103515245u + 12345u;
      const GraphSegment segment = state.Advance(static_cast<int>((seed >> 16) % 101), kViewport, kGraphCanvasHeight);
      for (GraphCanvasWin32* canvas : {&atOnce, &held}) {
        if (segment.scrollFirst) canvas->ScrollLeft(kGraphStep);
        canvas->DrawLine(segment.x0, segment.y0, segment.x1, segment.y1);
      }
    }
    if (stop == 60) {
      EXPECT_EQ(Differences(Snapshot(held), start), 0) << "nothing drawn while hidden";
    }
    held.CatchUp();
    EXPECT_EQ(Differences(Snapshot(held), Snapshot(atOnce)), 0) << "after " << stop << " refreshes";
  }
  ::DestroyWindow(hidden);
}

// Each drawing reaches the bound window at once, with no invalidation left to answer.
TEST(MemoryCanvas, PaintsTheBoundWindowAtOnceAndCopiesAreas) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kGraphCanvasWidth,
                                  kGraphCanvasHeight, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  ::UpdateWindow(window);
  GraphCanvasWin32 canvas;
  canvas.BindWindow(window);
  canvas.PlotPoint(3, 3);
  RECT dirty{};
  EXPECT_FALSE(::GetUpdateRect(window, &dirty, FALSE));
  {
    const WindowDc dc(window);
    EXPECT_EQ(::GetPixel(dc.Get(), 3, 3), kGraphForeground);
    EXPECT_EQ(::GetPixel(dc.Get(), 200, 100), ::GetPixel(canvas.Dc(), 200, 100));
  }
  ::DestroyWindow(window);

  UniqueBitmap target =
      test::MakePicture(kGraphCanvasWidth, kGraphCanvasHeight, [](int, int) { return kWhite; });
  UniqueDc targetDc(::CreateCompatibleDC(nullptr));
  {
    ScopedSelect selection(targetDc.Get(), target.Get());
    canvas.Paint(targetDc.Get(), RECT{0, 0, 10, 5});
  }
  const Pixels painted = test::ReadBitmap(target.Get()), source = Snapshot(canvas);
  for (int y = 0; y < kGraphCanvasHeight; ++y)
    for (int x = 0; x < kGraphCanvasWidth; ++x)
      ASSERT_EQ(painted.At(x, y), x < 10 && y < 5 ? source.At(x, y) : kWhite) << x << "," << y;
}

}  // namespace
}  // namespace pravelo::display
