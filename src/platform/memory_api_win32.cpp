#include "platform/memory_api_win32.h"

#include "platform/system_library_win32.h"

namespace pravelo {
namespace {

constexpr DWORD kStatusExLength = 64;
static_assert(sizeof(MEMORYSTATUSEX) == kStatusExLength);

}  // namespace

MemoryApiWin32::MemoryApiWin32() : status_{} {}

uint64_t MemoryApiWin32::AvailablePhysicalBytes() {
  status_.dwLength = kStatusExLength;
  GlobalMemoryStatusEx(&status_);  // on failure the last figures stand
  return status_.ullAvailPhys;
}

uint32_t MemoryApiWin32::MemoryLoad() {
  MEMORYSTATUS status{};
  GlobalMemoryStatus(&status);
  return status.dwMemoryLoad;
}

std::optional<uint64_t> MemoryApiWin32::TotalPhysicalBytes() {
  MEMORYSTATUSEX status{};
  status.dwLength = kStatusExLength;
  if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
  return status.ullTotalPhys;
}

uint32_t MemoryApiWin32::Version() { return GetVersion(); }

OsVersion MemoryApiWin32::RealVersion() {
  // ntdll's RtlGetVersion is not subject to the manifest's compatibility shims.
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto function = LoadedFunction<RtlGetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!function || function(&info) < 0) {
    // Every system the program runs on has it; the compatibility version is the fallback.
    const DWORD version = GetVersion();
    return {LOBYTE(LOWORD(version)), HIBYTE(LOWORD(version))};
  }
  return {info.dwMajorVersion, info.dwMinorVersion};
}

bool MemoryApiWin32::IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace pravelo
