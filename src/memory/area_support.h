// Which areas this Windows offers: the real version and the program's width decide.
#pragma once

#include <cstdint>

#include "memory/memory_areas.h"

namespace pravelo::memory {

struct SystemFacts {
  uint32_t major = 0;  // RtlGetVersion's, not the compatibility version GetVersion gives
  uint32_t minor = 0;
  // A 32-bit program on 64-bit Windows: the list calls would go through the compatibility
  // layer with 32-bit records.
  bool wow64 = false;
};

enum class AreaSupport : uint8_t {
  Supported,
  NeedsVista,
  NeedsWindows81,
  NeedsWindows10,
  NotUnderWow64,
};

AreaSupport SupportOf(MemoryArea area, const SystemFacts& facts);

}  // namespace pravelo::memory
