#include "platform/system_folders_win32.h"

#include <windows.h>

namespace pravelo {
namespace {

// Calls `get(buffer, size)`, which answers with the length written or, when the buffer is too
// small, the size needed; the result loses a trailing backslash.
template <class Get>
std::wstring FolderFrom(Get get) {
  std::wstring path(MAX_PATH + 1, L'\0');
  for (;;) {
    const UINT length = get(path.data(), static_cast<UINT>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(length);
  }
  if (path.size() > 1 && path.back() == L'\\') path.pop_back();
  return path;
}

}  // namespace

std::wstring WindowsFolderPath() {
  return FolderFrom([](wchar_t* buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); });
}

std::wstring SystemFolderPath() {
  return FolderFrom([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

}  // namespace pravelo
