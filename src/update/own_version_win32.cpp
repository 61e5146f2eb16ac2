#include "update/own_version_win32.h"

#include <windows.h>

#include <string>

#include "platform/module_path_win32.h"
#include "update/version_file.h"

namespace pravelo::update {

double ReadOwnVersion() {
  const std::wstring path = RunningModulePath();
  if (path.empty()) return 0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::string record(size, '\0');
  if (!GetFileVersionInfoW(path.c_str(), 0, size, record.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return 0;
  }
  return VersionNumber(HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                       HIWORD(info->dwFileVersionLS));
}

}  // namespace pravelo::update
