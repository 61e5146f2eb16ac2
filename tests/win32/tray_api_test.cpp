#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "display/icon_canvas_win32.h"
#include "display/tray_api_win32.h"
#include "display/window_region_win32.h"

namespace pravelo::display {
namespace {

// The tip field as the program fills it: the text, one NUL, then blanks to 128.
std::string TipField(const std::string& text) {
  std::string field = text + '\0';
  field.resize(kTrayTipLength, ' ');
  return field;
}

TrayIconData Record(WindowId window, NativeHandle icon, std::string tip) {
  return {kTrayRecordSize, window, kTrayIconId, kTrayFlags, kTrayCallbackMessage, icon, std::move(tip)};
}

TEST(ToNotifyIconData, KeepsTheFieldsAndSendsTheWideRecordOfTheSameLayout) {
  const NOTIFYICONDATAW record = ToNotifyIconData(Record(0x1234, 0x5678, TipField("Pravelo - 45%")));
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAW_V2_SIZE);
  EXPECT_EQ(record.hWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(record.hIcon, reinterpret_cast<HICON>(0x5678));
  EXPECT_EQ(record.dwInfoFlags, 0u);
  EXPECT_EQ(record.szInfo[0], L'\0');
  EXPECT_EQ(record.szInfoTitle[0], L'\0');
}

TEST(ToNotifyIconData, TipIsTheTextUpToItsNulInUtf16) {
  struct Case {
    std::string field;
    std::wstring tip;
  };
  const std::string longText(200, 'x');
  // 126 ASCII characters then one character outside the basic plane (a surrogate pair).
  const std::string splitPair = std::string(126, 'a') + "\xF0\x9F\x98\x80";
  const Case cases[] = {
      {TipField("Pravelo"), L"Pravelo"},
      {TipField("Pravelo - 100%"), L"Pravelo - 100%"},
      {TipField("\xEB\xA9\x94\xEB\xAA\xA8\xEB\xA6\xAC 45%"), L"\uBA54\uBAA8\uB9AC 45%"},
      {"", L""},
      {longText, std::wstring(127, L'x')},  // no NUL at all: cut to the field
      {splitPair, std::wstring(126, L'a')},
  };
  for (const Case& c : cases) {
    const NOTIFYICONDATAW record = ToNotifyIconData(Record(0, 0, c.field));
    EXPECT_EQ(std::wstring(record.szTip), c.tip) << c.field.size();
  }
}

TEST(ToNotifyIconData, OtherRecordSizesNeverExceedTheRecord) {
  TrayIconData data = Record(0, 0, "");
  data.cbSize = 0xFFFF;
  EXPECT_EQ(ToNotifyIconData(data).cbSize, sizeof(NOTIFYICONDATAW));
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  EXPECT_EQ(ToNotifyIconData(data).cbSize, NOTIFYICONDATAW_V1_SIZE);
}

class TrayWindow : public testing::Test {
 protected:
  void SetUp() override {
    window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window_);
  }
  void TearDown() override { ::DestroyWindow(window_); }
  WindowId Window() const { return ToNative(window_); }

  HWND window_ = nullptr;
};

TEST_F(TrayWindow, AddModifyDeleteAgainstTheShell) {
  IconCanvasWin32 canvas;
  TrayApiWin32 tray;
  const NativeHandle first = canvas.MakeIcon();
  ASSERT_NE(first, 0u);
  TrayIconData data = Record(Window(), first, TipField("Pravelo"));

  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Modify, data)) << "not in the tray yet";
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Add, data));
  canvas.PrintText(-10, 0, " 45 ");
  data.hIcon = canvas.MakeIcon();
  data.szTip = TipField("Pravelo - 45%");
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Modify, data));
  canvas.DestroyIcon(data.hIcon);  // the shell keeps its own copy
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Modify, data)) << "after the icon was destroyed";
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Delete, data));
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Delete, data));
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Modify, data));
  canvas.DestroyIcon(first);
}

TEST_F(TrayWindow, RoundRectRegionBelongsToTheWindow) {
  WindowRegionWin32 region;
  region.SetRoundRectRegion(Window(), 145, 27);
  UniqueRegion copy(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window_, copy.Get()), ERROR);
  UniqueRegion expected(::CreateRoundRectRgn(0, 0, 145, 27, 1, 1));
  EXPECT_TRUE(::EqualRgn(copy.Get(), expected.Get()));
  EXPECT_TRUE(::PtInRegion(copy.Get(), 72, 13));
  EXPECT_FALSE(::PtInRegion(copy.Get(), 145, 13));

  // A later region replaces it; the window deletes the old one.
  region.SetRoundRectRegion(Window(), 30, 27);
  ASSERT_NE(::GetWindowRgn(window_, copy.Get()), ERROR);
  EXPECT_FALSE(::PtInRegion(copy.Get(), 72, 13));
  EXPECT_TRUE(::PtInRegion(copy.Get(), 15, 13));
}

}  // namespace
}  // namespace pravelo::display
