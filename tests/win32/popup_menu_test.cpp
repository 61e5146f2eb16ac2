#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

constexpr UINT_PTR kWatchdog = 0x5157;

// Ends a menu that the keys did not end, so a fault fails the test instead of hanging it.
void CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

class PopupMenuTest : public ::testing::Test {
 protected:
  PopupMenuTest() { bound.form.Show(); }

  // Keys typed into the menu once it is open.
  void Open(std::vector<WORD> keys) {
    keysToType = std::move(keys);
    watchdog = SetTimer(nullptr, kWatchdog, 3000, &EndStuckMenu);
    bound.window->OnMessage(WM_ENTERIDLE, [this](WPARAM, LPARAM) -> LRESULT {
      // The menu's loop is running: type into it, once.
      for (WORD key : std::exchange(keysToType, {})) {
        PostMessageW(GetFocus() ? GetFocus() : Hwnd(bound.form), WM_KEYDOWN, key, 0);
      }
      return 0;
    });
    std::vector<MenuItem*> menu{&items[0], &items[1], &items[2], &items[3]};
    chosen = bound.form.ChooseFromMenu(menu);
    KillTimer(nullptr, watchdog);
  }

  BoundTestForm bound;
  MenuItem items[4] = {{"열기", {}}, {"최적화", {}}, {"옵션", {}}, {"종료", {}}};
  MenuItem* chosen = nullptr;
  std::vector<WORD> keysToType;
  UINT_PTR watchdog = 0;
};

TEST_F(PopupMenuTest, TheChosenItemComesBackOnceTheMenuHasClosed) {
  Open({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(chosen, &items[1]);
}

TEST_F(PopupMenuTest, EscapeChoosesNothing) {
  Open({VK_ESCAPE});
  EXPECT_EQ(chosen, nullptr);
}

}  // namespace
}  // namespace pravelo::ui::testing
