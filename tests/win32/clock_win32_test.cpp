#include "platform/clock_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace pravelo {
namespace {

// The tick count moves in steps of about 16 ms, and under Wine it is written by the wine server,
// which a loaded host can hold back a little longer: a read right after a pause may lag it by
// more than a step. So the clock gets a few seconds to show the pause, which a clock that does
// not move or counts in seconds never does, and it must not show thousands of milliseconds,
// which one that counts finer units would.
TEST(ClockWin32, CountsMillisecondsForward) {
  ClockWin32 clock;
  const uint64_t before = clock.NowMs();
  Sleep(120);
  uint64_t elapsed = clock.NowMs() - before;
  for (int wait = 0; elapsed < 100 && wait < 300; ++wait) {
    Sleep(10);
    elapsed = clock.NowMs() - before;
  }
  EXPECT_GE(elapsed, 100u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace pravelo
