// Functions of user32 that older systems lack, looked up when first needed.
#pragma once

#include <windows.h>

namespace pravelo::ui {

// Null where this system's user32 does not export `name`.
template <class Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  FARPROC address = user32 ? GetProcAddress(user32, name) : nullptr;
  // Through the generic function type, which the compiler accepts as a cast target.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace pravelo::ui
