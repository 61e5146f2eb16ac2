#include <windows.h>

#include <gtest/gtest.h>

#include "ui/dpi_scale.h"
#include "platform/gdi_win32.h"
#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

// What the picture box paints, drawn into a bitmap of its size.
class Rendering {
 public:
  explicit Rendering(HWND window) : dc_(CreateCompatibleDC(nullptr)) {
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    selected_.emplace(dc_.Get(), bitmap_.Get());
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()), PRF_CLIENT);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }

 private:
  UniqueDc dc_;
  UniqueBitmap bitmap_;
  std::optional<ScopedSelect> selected_;
};

bool Greenish(COLORREF c) { return GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40; }
bool Reddish(COLORREF c) { return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40; }

TEST(PictureBox, PaintsItsPictureAtItsOwnSizeOverTheBackground) {
  BoundTestForm bound;
  bound.form.Load();
  PictureBox& box = bound.form.viewport;  // 100 x 60 with a 401 x 32 bar picture
  const int dpi = bound.window->Dpi();
  const int below = ScaleToDpi(45, dpi);
  {
    Rendering shown(Hwnd(box));
    EXPECT_TRUE(Greenish(shown.At(5, 5)));
    EXPECT_TRUE(Greenish(shown.At(ScaleToDpi(99, dpi), 5))) << "cut at the box's edge, not shrunk";
    EXPECT_EQ(shown.At(5, below), RGB(0xE0, 0xE0, 0xE0));
  }
  box.SetPicture(Picture::BarRed);
  EXPECT_TRUE(Reddish(Rendering(Hwnd(box)).At(5, 5)));
  box.SetPicture(Picture::None);
  EXPECT_EQ(Rendering(Hwnd(box)).At(5, 5), RGB(0xE0, 0xE0, 0xE0));
}

TEST(PictureBox, AStretchedPictureFillsTheBox) {
  BoundTestForm bound;
  PictureBox logo{{200, 100, 100, 60}, Picture::BarGreen};
  PictureStyle stretched;
  stretched.stretch = true;
  bound.window->AddPicture(logo, stretched);
  bound.form.Load();
  Rendering shown(Hwnd(logo));
  EXPECT_TRUE(Greenish(shown.At(5, ScaleToDpi(55, bound.window->Dpi()))));
}

TEST(PictureBox, APaintHookTakesOverThePaintingAndOutlivesTheWindow) {
  BoundTestForm bound;
  int paints = 0;
  RECT painted{};
  const COLORREF canvasColour = RGB(0, 33, 6);
  const bool hooked = SetPaintHook(bound.form.canvas, [&](HDC dc, const RECT& client) {
    ++paints;
    painted = client;
    UniqueBrush brush(CreateSolidBrush(canvasColour));
    FillRect(dc, &client, brush.Get());
  });
  ASSERT_TRUE(hooked);
  EXPECT_FALSE(SetPaintHook(reinterpret_cast<PictureBox&>(bound.form.button), {}))
      << "a button is no picture box";

  bound.form.Show();
  PumpUntil(
      bound.pump, [&] { return paints > 0; }, std::chrono::milliseconds(1000));
  paints = 0;
  Invalidate(bound.form.canvas);
  UpdateWindow(Hwnd(bound.form.canvas));
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(painted.right, ScaleToDpi(150, bound.window->Dpi()));
  EXPECT_EQ(Rendering(Hwnd(bound.form.canvas)).At(3, 3), canvasColour);

  bound.form.Unload();
  bound.form.Load();
  EXPECT_EQ(Rendering(Hwnd(bound.form.canvas)).At(3, 3), canvasColour)
      << "the new window paints through the hook";
}

}  // namespace
}  // namespace pravelo::ui::testing
