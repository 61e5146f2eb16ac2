#include "memory/memory_status.h"

#include <algorithm>
#include <limits>
#include <string>

#include "base/numeric.h"

namespace pravelo::memory {
namespace {

// Bytes read as a currency amount are bytes / 10,000; dividing by this gives units of
// 1,024,000 bytes.
constexpr double kCurrencyPerMegabyte = 102.4;

}  // namespace

Currency GetAvailableMemory(MemoryApi& memory) { return AvailableMemoryOf(memory.AvailablePhysicalBytes()); }

Currency AvailableMemoryOf(uint64_t bytes) {
  const auto scaled = static_cast<int64_t>(std::min<uint64_t>(bytes, std::numeric_limits<int64_t>::max()));
  const double megabytes = Currency::FromScaled(scaled).ToDouble() / kCurrencyPerMegabyte;
  // Two roundings on purpose: to four places as a currency, then to cents as shown.
  return Currency::FromDouble(megabytes).RoundedToCents();
}

int16_t GetMemoryLoad(MemoryApi& memory) {
  return static_cast<int16_t>(std::min<uint32_t>(memory.MemoryLoad(), std::numeric_limits<int16_t>::max()));
}

double GetWindowsVersion(MemoryApi& memory) {
  const uint32_t low = memory.Version() & 0xFFFFu;
  const uint32_t major = low & 0xFFu;
  const uint32_t minor = low >> 8;
  return NumericValue(std::to_string(major) + "." + std::to_string(minor));
}

}  // namespace pravelo::memory
