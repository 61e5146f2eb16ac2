#include "platform/memory_api_win32.h"

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

}  // namespace pravelo
