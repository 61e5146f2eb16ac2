#include "platform/module_path_win32.h"

#include <windows.h>

namespace pravelo {

std::wstring RunningModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // the name was cut off
  }
}

}  // namespace pravelo
