// The memory and version figures of the machine.
#pragma once

#include <cstdint>
#include <optional>

namespace pravelo {

struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
};

class MemoryApi {
 public:
  virtual ~MemoryApi() = default;
  // ullAvailPhys of GlobalMemoryStatusEx; what the last call left when a call fails.
  virtual uint64_t AvailablePhysicalBytes() = 0;
  // dwMemoryLoad of GlobalMemoryStatus, percent.
  virtual uint32_t MemoryLoad() = 0;
  // Installed physical memory in bytes; nothing when it cannot be learned.
  virtual std::optional<uint64_t> TotalPhysicalBytes() = 0;
  // The result of GetVersion.
  virtual uint32_t Version() = 0;
  // The version the system really is (RtlGetVersion), whatever the manifest says.
  virtual OsVersion RealVersion() = 0;
  // A 32-bit program on 64-bit Windows.
  virtual bool IsWow64() = 0;
};

}  // namespace pravelo
