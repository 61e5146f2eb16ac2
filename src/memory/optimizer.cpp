#include "memory/optimizer.h"

#include <algorithm>

#include "memory/memory_status.h"
#include "memory/privileges.h"

namespace pravelo::memory {
namespace {

// The memory-list information class and its commands.
constexpr uint32_t kSystemMemoryListInformation = 80;
constexpr int32_t kMemoryFlushModifiedList = 3;
constexpr int32_t kMemoryPurgeStandbyList = 4;
constexpr int32_t kMemoryPurgeLowPriorityStandbyList = 5;
constexpr uint32_t kSystemCombinePhysicalMemoryInformation = 130;
constexpr uint32_t kSystemRegistryReconciliationInformation = 155;

// Answers of a system that does not know a class or a call: not supported, not refused.
constexpr int32_t kStatusNotImplemented = static_cast<int32_t>(0xC0000002);
constexpr int32_t kStatusInvalidInfoClass = static_cast<int32_t>(0xC0000003);

// The privilege an area's call needs; null for none.
const char* PrivilegeOf(MemoryArea area) {
  switch (area) {
    case MemoryArea::WorkingSets:
      return kDebugPrivilege;
    case MemoryArea::SystemFileCache:
      return kIncreaseQuotaPrivilege;
    case MemoryArea::ModifiedList:
    case MemoryArea::StandbyList:
    case MemoryArea::LowPriorityStandbyList:
    case MemoryArea::CombinedList:
      return kProfileSingleProcessPrivilege;
    case MemoryArea::RegistryCache:
      return nullptr;
  }
  return nullptr;
}

int32_t ListCommandOf(MemoryArea area) {
  switch (area) {
    case MemoryArea::ModifiedList:
      return kMemoryFlushModifiedList;
    case MemoryArea::StandbyList:
      return kMemoryPurgeStandbyList;
    default:
      return kMemoryPurgeLowPriorityStandbyList;
  }
}

}  // namespace

bool EveryAreaDone(const std::vector<AreaResult>& results) {
  return std::all_of(results.begin(), results.end(),
                     [](const AreaResult& result) { return result.outcome == AreaOutcome::Done; });
}

Optimizer::Optimizer(ProcessApi& processes, MemoryApi& memory, Clock& clock)
    : processes_(processes), memory_(memory), clock_(clock), standardPass_(processes) {}

AreaSupport Optimizer::Support(MemoryArea area) {
  if (!facts_) {
    const OsVersion version = memory_.RealVersion();
    facts_ = SystemFacts{version.major, version.minor, memory_.IsWow64()};
  }
  return SupportOf(area, *facts_);
}

std::vector<AreaResult> Optimizer::Run(AreaSet areas, PassFigures& figures, const RunOptions& options) {
  std::vector<AreaResult> results;
  guard_.RunExclusive([&] { results = RunAreas(areas, figures, options); });
  return results;
}

std::vector<AreaResult> Optimizer::RunAreas(AreaSet areas, PassFigures& figures, const RunOptions& options) {
  std::vector<std::string> privileges;
  for (MemoryArea area : areas.InOrder()) {
    const char* privilege = PrivilegeOf(area);
    if (!privilege || Support(area) != AreaSupport::Supported) continue;
    if (std::find(privileges.begin(), privileges.end(), privilege) == privileges.end()) {
      privileges.emplace_back(privilege);
    }
  }
  const PrivilegeScope scope(processes_, std::move(privileges));
  if (options.deepPassRunning) return {};

  std::vector<AreaResult> results;
  for (MemoryArea area : areas.InOrder()) {
    if (!results.empty() && options.yield) options.yield();
    results.push_back(RunArea(area, options));
  }

  const double previous = figures.z18;
  figures.z17 = GetMemoryLoad(memory_) - previous;
  figures.z18 = GetAvailableMemory(memory_).ToDouble();
  lastResults_ = results;
  return results;
}

AreaResult Optimizer::RunArea(MemoryArea area, const RunOptions& options) {
  AreaResult result;
  result.area = area;
  result.availableBeforeBytes = memory_.AvailablePhysicalBytes();
  const uint64_t start = clock_.NowMs();

  std::optional<uint32_t> error;
  std::optional<int32_t> status;
  if (Support(area) != AreaSupport::Supported) {
    result.outcome = AreaOutcome::NotSupported;
  } else {
    switch (area) {
      case MemoryArea::WorkingSets:
        error = standardPass_.TrimWorkingSets(options.yield);
        break;
      case MemoryArea::SystemFileCache:
        error = standardPass_.ShrinkFileCache();
        break;
      case MemoryArea::ModifiedList:
      case MemoryArea::StandbyList:
      case MemoryArea::LowPriorityStandbyList: {
        int32_t command = ListCommandOf(area);
        status = processes_.NtSetSystemInformation(kSystemMemoryListInformation, &command, sizeof command);
        break;
      }
      case MemoryArea::CombinedList: {
        MemoryCombineInformationEx combine;
        status = processes_.NtSetSystemInformation(kSystemCombinePhysicalMemoryInformation, &combine,
                                                   sizeof combine);
        break;
      }
      case MemoryArea::RegistryCache:
        status = processes_.NtSetSystemInformation(kSystemRegistryReconciliationInformation, nullptr, 0);
        break;
    }
    if (status && *status < 0) error = processes_.ErrorOfStatus(*status);
    const bool unknownToSystem =
        status && (*status == kStatusNotImplemented || *status == kStatusInvalidInfoClass ||
                   *status == kStatusProcedureNotFound);
    if (!error) {
      result.outcome = AreaOutcome::Done;
    } else {
      result.outcome = unknownToSystem ? AreaOutcome::NotSupported : AreaOutcome::Refused;
      result.errorCode = *error;
    }
  }

  result.durationMs = clock_.NowMs() - start;
  result.availableAfterBytes = memory_.AvailablePhysicalBytes();
  return result;
}

}  // namespace pravelo::memory
