// The DPI a window is drawn at, and the frame a window style adds at a DPI. The newer
// per-monitor functions are looked up at run time so the program still starts where they
// are missing.
#pragma once

#include <windows.h>

namespace pravelo::ui {

// The window's DPI: GetDpiForWindow where it exists, else its device context's.
int DpiOfWindow(HWND window);
// The DPI of the screen as a whole, for what is measured before a window exists.
int SystemDpi();
// The outer size of a window of this style whose client area is `client` device pixels.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, SIZE client, int dpi);
// The system's message font at `dpi`.
LOGFONTW MessageFont(int dpi);

}  // namespace pravelo::ui
