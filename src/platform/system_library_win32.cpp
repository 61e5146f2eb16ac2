#include "platform/system_library_win32.h"

#include <string>

#include "platform/system_folders_win32.h"

namespace pravelo {
namespace {

// Not declared for Windows 7, where only an update adds it.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

}  // namespace

bool LoadDllsFromSystemFolderOnly() {
  const auto set =
      LoadedFunction<SetDefaultDllDirectoriesFunction>(L"kernel32.dll", "SetDefaultDllDirectories");
  return set && set(kSearchSystem32);
}

SystemLibrary::SystemLibrary(const wchar_t* fileName) : module_(nullptr) {
  const std::wstring folder = SystemFolderPath();
  if (folder.empty()) return;
  const std::wstring path = folder + L"\\" + fileName;
  module_ = LoadLibraryExW(path.c_str(), nullptr, 0);
}

}  // namespace pravelo
