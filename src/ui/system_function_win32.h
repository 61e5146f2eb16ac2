// Functions of user32 that older systems lack, looked up when first needed.
#pragma once

#include "platform/system_library_win32.h"

namespace pravelo::ui {

// Null where this system's user32 does not export `name`.
template <class Function>
Function User32Function(const char* name) {
  return LoadedFunction<Function>(L"user32.dll", name);
}

}  // namespace pravelo::ui
