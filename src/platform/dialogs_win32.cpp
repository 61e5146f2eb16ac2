#include "platform/dialogs_win32.h"

#include <windows.h>
// The port's method shares its name with the A/W macro of the Windows headers.
#undef MessageBox

#include "platform/text_win32.h"

namespace pravelo {

WindowId DialogsWin32::DesktopWindow() { return reinterpret_cast<WindowId>(GetDesktopWindow()); }

void DialogsWin32::MessageBox(WindowId owner, std::string_view text, std::string_view caption,
                              uint32_t style) {
  MessageBoxW(reinterpret_cast<HWND>(owner), Widen(text).c_str(), Widen(caption).c_str(), style);
}

}  // namespace pravelo
