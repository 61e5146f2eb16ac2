#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

struct Counts {
  DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
};

// One program's worth of churn: windows loaded and unloaded, notifications come and go,
// the DPI changes, and whole bindings are made and dropped.
void Cycle() {
  BoundTestForm bound;
  bound.form.Load();
  for (int i = 1; i <= 3; ++i) {
    bound.form.notes.Load(i).SetVisible(true);
    bound.form.noteTimers.Load(i).SetEnabled(true);
    bound.form.TextHeight("two\r\nlines");
    bound.form.noteTimers.Unload(i);
    bound.form.notes.Unload(i);
  }
  RECT r;
  GetWindowRect(Hwnd(bound.form), &r);
  SendMessageW(Hwnd(bound.form), WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&r));
  bound.form.Unload();
  bound.form.Load();
  bound.form.Unload();
}

BOOL CALLBACK CollectChild(HWND child, LPARAM into) {
  reinterpret_cast<std::vector<HWND>*>(into)->push_back(child);
  return TRUE;
}

// Works where the system keeps no counts (Wine): every window and font the binding made is
// gone once the binding is.
TEST(GuiResources, EveryWindowAndFontGoesWithItsBinding) {
  std::vector<HWND> windows;
  std::set<HGDIOBJ> fonts;
  {
    BoundTestForm bound;
    bound.form.Load();
    bound.form.notes.Load(1);
    RECT r;
    GetWindowRect(Hwnd(bound.form), &r);
    for (int dpi : {120, 144}) {
      EnumChildWindows(Hwnd(bound.form), &CollectChild, reinterpret_cast<LPARAM>(&windows));
      for (HWND child : windows)
        fonts.insert(reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
      SendMessageW(Hwnd(bound.form), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    }
    windows.push_back(Hwnd(bound.form));
    fonts.erase(nullptr);
    ASSERT_GE(fonts.size(), 6u) << "three kinds of font at two DPIs";
  }
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  for (HGDIOBJ font : fonts) EXPECT_EQ(GetObjectType(font), 0u);
}

TEST(GuiResources, NothingLeaksAcrossManyCycles) {
  Cycle();  // the first cycle fills the system's caches (classes, stock objects)
  const Counts before;
  if (before.gdi == 0 && before.user == 0) GTEST_SKIP() << "GetGuiResources counts nothing here";
  for (int i = 0; i < 25; ++i) Cycle();
  const Counts after;
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

}  // namespace
}  // namespace pravelo::ui::testing
