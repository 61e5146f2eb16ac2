#include "memory/area_support.h"

namespace pravelo::memory {
namespace {

bool AtLeast(const SystemFacts& facts, uint32_t major, uint32_t minor) {
  return facts.major > major || (facts.major == major && facts.minor >= minor);
}

}  // namespace

AreaSupport SupportOf(MemoryArea area, const SystemFacts& facts) {
  switch (area) {
    case MemoryArea::WorkingSets:
    case MemoryArea::SystemFileCache:
      return AreaSupport::Supported;
    case MemoryArea::ModifiedList:
    case MemoryArea::StandbyList:
    case MemoryArea::LowPriorityStandbyList:
      if (!AtLeast(facts, 6, 0)) return AreaSupport::NeedsVista;
      return facts.wow64 ? AreaSupport::NotUnderWow64 : AreaSupport::Supported;
    case MemoryArea::CombinedList:
      if (!AtLeast(facts, 10, 0)) return AreaSupport::NeedsWindows10;
      return facts.wow64 ? AreaSupport::NotUnderWow64 : AreaSupport::Supported;
    case MemoryArea::RegistryCache:
      return AtLeast(facts, 6, 3) ? AreaSupport::Supported : AreaSupport::NeedsWindows81;
  }
  return AreaSupport::Supported;
}

}  // namespace pravelo::memory
