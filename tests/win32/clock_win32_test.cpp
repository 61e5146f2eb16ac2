#include "platform/clock_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace pravelo {
namespace {

TEST(ClockWin32, CountsMillisecondsForward) {
  ClockWin32 clock;
  const uint64_t before = clock.NowMs();
  Sleep(120);
  const uint64_t elapsed = clock.NowMs() - before;
  EXPECT_GE(elapsed, 100u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace pravelo
