#include "update/own_version_win32.h"

#include <windows.h>

#include <string>

#include "platform/module_path_win32.h"
#include "platform/system_library_win32.h"
#include "update/version_file.h"

namespace pravelo::update {

std::optional<Version> ReadOwnVersion() {
  const SystemLibrary library(L"version.dll");
  const auto infoSize = library.Find<decltype(&::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
  const auto info = library.Find<decltype(&::GetFileVersionInfoW)>("GetFileVersionInfoW");
  const auto query = library.Find<decltype(&::VerQueryValueW)>("VerQueryValueW");
  const std::wstring path = RunningModulePath();
  if (!infoSize || !info || !query || path.empty()) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = infoSize(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::string record(size, '\0');
  if (!info(path.c_str(), 0, size, record.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!query(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return Version{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                 HIWORD(fixed->dwFileVersionLS)};
}

}  // namespace pravelo::update
