// DLLs that not every process has loaded, taken from the system folder when first needed
// rather than imported: an imported DLL that is no KnownDLL is looked for beside the program
// first, where anyone who can write that folder (Downloads, the temporary folder) can plant
// one that runs before any of our code.
#pragma once

#include <windows.h>

namespace pravelo {

// The exported function `name` of `module`; null when either is missing.
template <class Function>
Function FunctionOf(HMODULE module, const char* name) {
  FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  // Through the generic function type, which the compiler accepts as a cast target.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// A function of a module that every process has loaded (kernel32, ntdll, user32) and that
// older systems may lack; null where it is missing.
template <class Function>
Function LoadedFunction(const wchar_t* module, const char* name) {
  return FunctionOf<Function>(GetModuleHandleW(module), name);
}

// First thing at start: every later load, the DLLs' own dependencies included, searches the
// system folder only. False where the system lacks the call (Windows 7 without its update).
bool LoadDllsFromSystemFolderOnly();

class SystemLibrary {
 public:
  // `fileName` such as L"winhttp.dll", loaded by its full path in the system folder. It stays
  // loaded for the life of the process, since its functions may be called at any time.
  explicit SystemLibrary(const wchar_t* fileName);

  // The exported function, or null when the library or the function is missing.
  template <class Function>
  Function Find(const char* name) const {
    return FunctionOf<Function>(module_, name);
  }

 private:
  HMODULE module_;
};

}  // namespace pravelo
