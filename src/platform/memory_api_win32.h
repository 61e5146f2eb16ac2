// The memory figures and version from the system.
#pragma once

#include <windows.h>

#include "platform/memory_api.h"

namespace pravelo {

class MemoryApiWin32 : public MemoryApi {
 public:
  MemoryApiWin32();
  uint64_t AvailablePhysicalBytes() override;
  uint32_t MemoryLoad() override;
  std::optional<uint64_t> TotalPhysicalBytes() override;
  uint32_t Version() override;
  OsVersion RealVersion() override;
  bool IsWow64() override;

 private:
  // Kept between calls: a failed call leaves the last figures in it.
  MEMORYSTATUSEX status_;
};

}  // namespace pravelo
