#include "platform/dialogs_win32.h"

#include <windows.h>
#undef MessageBox

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/text_win32.h"

namespace pravelo {
namespace {

// Finds the box by its caption, keeps its text and presses its OK button.
std::wstring PressOkOfBox(const wchar_t* caption) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    HWND box = FindWindowW(L"#32770", caption);
    if (box != nullptr && IsWindowVisible(box)) {
      wchar_t text[256] = {};
      GetDlgItemTextW(box, 0xFFFF, text, ARRAYSIZE(text));
      PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      return text;
    }
    Sleep(50);
  }
  return L"(no box)";
}

TEST(DialogsWin32, MessageBoxShowsTextAndCaptionAndReturnsWhenClosed) {
  DialogsWin32 dialogs;
  EXPECT_EQ(dialogs.DesktopWindow(), reinterpret_cast<WindowId>(GetDesktopWindow()));

  std::wstring seenText;
  std::thread presser([&] { seenText = PressOkOfBox(L"Pravelo 시험"); });
  dialogs.MessageBox(dialogs.DesktopWindow(), "C:\\Pravelo\\프라벨로", "Pravelo 시험", MB_OK);
  presser.join();
  EXPECT_EQ(Narrow(seenText), "C:\\Pravelo\\프라벨로");
}

}  // namespace
}  // namespace pravelo
