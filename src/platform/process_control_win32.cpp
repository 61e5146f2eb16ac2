#include "platform/process_control_win32.h"

#include <windows.h>

namespace pravelo {

void ProcessControlWin32::End() { ExitProcess(0); }

}  // namespace pravelo
