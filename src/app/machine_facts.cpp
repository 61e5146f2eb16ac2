#include "app/machine_facts.h"

#include "base/numeric.h"
#include "memory/memory_status.h"

namespace pravelo::app {
namespace {

constexpr double kWindows7 = 6.1;
constexpr double kBytesPerKb = 1024.0;
constexpr double kBytesPerMb = 1048576.0;

}  // namespace

MachineFacts ReadMachineFacts(MemoryApi& memory) {
  MachineFacts facts;
  facts.IsWindows7 = memory::GetWindowsVersion(memory) == kWindows7;
  if (std::optional<uint64_t> bytes = memory.TotalPhysicalBytes()) {
    facts.TotalMem = static_cast<double>(*bytes) / kBytesPerKb;
    facts.TotalPhysMB = RoundHalfEven32(static_cast<double>(*bytes) / kBytesPerMb);
  }
  return facts;
}

}  // namespace pravelo::app
