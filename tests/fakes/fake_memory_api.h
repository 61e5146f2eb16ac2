// Memory figures that a test sets; counts the calls.
#pragma once

#include <functional>

#include "platform/memory_api.h"

namespace pravelo::fakes {

class FakeMemoryApi : public MemoryApi {
 public:
  uint64_t availableBytes = 0;
  uint32_t load = 0;
  std::optional<uint64_t> totalBytes;
  uint32_t version = 0;
  OsVersion realVersion{10, 0};
  bool wow64 = false;
  // When set, it gives the load of each call instead of `load` (a load that rises as a
  // test takes memory, for example).
  std::function<uint32_t()> loadSource;
  // Likewise for the available bytes.
  std::function<uint64_t()> availableSource;

  int availableCalls = 0;
  int loadCalls = 0;

  // GetVersion's low word: major in the low byte, minor in the high byte.
  static constexpr uint32_t VersionOf(uint32_t major, uint32_t minor) { return major | (minor << 8); }

  uint64_t AvailablePhysicalBytes() override {
    ++availableCalls;
    return availableSource ? availableSource() : availableBytes;
  }
  uint32_t MemoryLoad() override {
    ++loadCalls;
    return loadSource ? loadSource() : load;
  }
  std::optional<uint64_t> TotalPhysicalBytes() override { return totalBytes; }
  uint32_t Version() override { return version; }
  OsVersion RealVersion() override { return realVersion; }
  bool IsWow64() override { return wow64; }
};

}  // namespace pravelo::fakes
