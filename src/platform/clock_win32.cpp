#include "platform/clock_win32.h"

#include <windows.h>

namespace pravelo {

uint64_t ClockWin32::NowMs() { return GetTickCount64(); }

void ClockWin32::SleepMs(uint32_t ms) { Sleep(ms); }

int64_t ClockWin32::UtcSeconds() {
  // A FILETIME counts 100 ns steps from 1601-01-01.
  constexpr int64_t kStepsPerSecond = 10000000;
  constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const int64_t steps = static_cast<int64_t>(uint64_t{now.dwHighDateTime} << 32 | now.dwLowDateTime);
  return steps / kStepsPerSecond - kSecondsFrom1601To1970;
}

}  // namespace pravelo
