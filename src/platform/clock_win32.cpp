#include "platform/clock_win32.h"

#include <windows.h>

namespace pravelo {

uint64_t ClockWin32::NowMs() { return GetTickCount64(); }

void ClockWin32::SleepMs(uint32_t ms) { Sleep(ms); }

}  // namespace pravelo
