#include "platform/clock_win32.h"

#include <windows.h>

namespace pravelo {

uint64_t ClockWin32::NowMs() { return GetTickCount64(); }

}  // namespace pravelo
