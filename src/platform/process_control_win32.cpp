#include "platform/process_control_win32.h"

#include <windows.h>

namespace pravelo {

void ProcessControlWin32::End(uint32_t exitCode) { ExitProcess(exitCode); }

}  // namespace pravelo
