#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "platform/owned_win32.h"
#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

constexpr UINT kProbe = WM_APP + 7;

TEST(MessagePump, DoEventsDispatchesEverythingWaitingAndKeepsAQuitForTheMainLoop) {
  BoundTestForm bound;
  int probes = 0;
  bound.window->OnMessage(kProbe, [&](WPARAM, LPARAM) -> LRESULT { return ++probes; });
  bound.form.Load();
  for (int i = 0; i < 3; ++i) PostMessageW(Hwnd(bound.form), kProbe, 0, 0);
  bound.pump.DoEvents();
  EXPECT_EQ(probes, 3);

  PostQuitMessage(7);
  PostMessageW(Hwnd(bound.form), kProbe, 0, 0);
  bound.pump.DoEvents();
  EXPECT_EQ(bound.pump.QuitCode(), 7);
  EXPECT_EQ(probes, 4) << "messages after the quit are still dispatched";
  EXPECT_EQ(bound.pump.Run(), 7) << "the main loop ends at once on a quit taken earlier";
}

TEST(MessagePump, WaitAndDispatchSleepsUntilAMessageComes) {
  BoundTestForm bound;
  bound.form.Load();
  int ticks = 0;
  bound.form.timer.onTimer = [&] { ++ticks; };
  bound.form.timer.SetInterval(100);
  bound.form.timer.SetEnabled(true);
  const auto start = std::chrono::steady_clock::now();
  while (ticks == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
    bound.pump.WaitAndDispatch();
  }
  EXPECT_EQ(ticks, 1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
}

TEST(MessagePump, ALongCallRunsBesideTheMessagesAndItsFailureComesBack) {
  BoundTestForm bound;
  bound.form.Load();
  const OwnedHandle served(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  bound.window->OnMessage(kProbe, [&](WPARAM, LPARAM) -> LRESULT { return SetEvent(served.Get()); });
  DWORD callThread = 0;
  bool servedDuringCall = false;
  bound.pump.RunBesideMessages([&] {
    callThread = GetCurrentThreadId();
    // Only the window's thread can serve this while the call waits for it.
    PostMessageW(Hwnd(bound.form), kProbe, 0, 0);
    servedDuringCall = WaitForSingleObject(served.Get(), 5000) == WAIT_OBJECT_0;
  });
  EXPECT_TRUE(servedDuringCall);
  EXPECT_NE(callThread, GetCurrentThreadId());
  bound.pump.WaitForLongCall();  // none in flight: returns at once

  EXPECT_THROW(bound.pump.RunBesideMessages([] { throw std::runtime_error("refused"); }), std::runtime_error);
}

TEST(MessagePump, RunEndsOnQuitWithItsCode) {
  MessagePumpWin32 pump;
  PostQuitMessage(3);
  EXPECT_EQ(pump.Run(), 3);
}

TEST(MessagePump, TabMovesBetweenTheControlsOfOurWindows) {
  BoundTestForm bound;
  bound.form.Show();
  SetForegroundWindow(Hwnd(bound.form));
  bound.form.button.SetFocus();
  ASSERT_EQ(GetFocus(), Hwnd(bound.form.button));
  PostMessageW(Hwnd(bound.form.button), WM_KEYDOWN, VK_TAB, 1);
  PostMessageW(Hwnd(bound.form.button), WM_KEYUP, VK_TAB, 1 | (3u << 30));
  bound.pump.DoEvents();
  EXPECT_EQ(GetFocus(), Hwnd(bound.form.check)) << "in the order the controls were added";
}

}  // namespace
}  // namespace pravelo::ui::testing
