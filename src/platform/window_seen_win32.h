// Whether anything drawn in a window can reach the screen.
#pragma once

#include <windows.h>

namespace pravelo {

// A window and its parents visible, and its top-level window not minimized (where child
// windows keep their visible style).
inline bool CanBeSeen(HWND window) {
  return ::IsWindowVisible(window) && !::IsIconic(::GetAncestor(window, GA_ROOT));
}

}  // namespace pravelo
