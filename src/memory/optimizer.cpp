#include "memory/optimizer.h"

#include <algorithm>

#include "memory/memory_status.h"
#include "memory/privileges.h"

namespace pravelo::memory {
namespace {

void RunLong(const RunOptions& options, const std::function<void()>& call) {
  if (options.runLong) {
    options.runLong(call);
  } else {
    call();
  }
}

// A request's result, judged with whether its effect could be read.
AreaResult Judged(const CallResult& call, bool measured) {
  AreaResult result;
  switch (call.status) {
    case CallStatus::Refused:
      result.outcome = AreaOutcome::Failed;
      result.errorCode = call.errorCode;
      break;
    case CallStatus::NotSupported:
      result.outcome = AreaOutcome::NotSupported;
      break;
    case CallStatus::Done:
      result.outcome = measured ? AreaOutcome::Done : AreaOutcome::NotMeasured;
      break;
  }
  return result;
}

// A counter read before and after the request: the drop is what the request freed.
std::optional<int64_t> Drop(std::optional<uint64_t> before, std::optional<uint64_t> after) {
  if (!before || !after) return std::nullopt;
  return static_cast<int64_t>(*before) - static_cast<int64_t>(*after);
}

// Reads the counter a request changes before and after it, the request running as a long
// one: done only when the system did it and the drop could be read.
AreaResult Measured(const RunOptions& options, const std::function<std::optional<uint64_t>()>& counter,
                    const std::function<CallResult()>& request) {
  const std::optional<uint64_t> before = counter();
  CallResult call;
  RunLong(options, [&] { call = request(); });
  const std::optional<int64_t> freed = Drop(before, counter());
  AreaResult result = Judged(call, freed.has_value());
  if (result.outcome == AreaOutcome::Done) result.freedBytes = freed;
  return result;
}

// The pages of the list an area purges, in bytes.
std::optional<uint64_t> ListBytes(MemoryOperations& operations, MemoryArea area) {
  const std::optional<MemoryListCounts> lists = operations.ReadLists();
  if (!lists) return std::nullopt;
  uint64_t pages = 0;
  switch (area) {
    case MemoryArea::ModifiedList:
      pages = lists->modifiedPages;
      break;
    case MemoryArea::StandbyList:
      pages = lists->StandbyPages();
      break;
    default:
      pages = lists->standbyPagesByPriority[0];
      break;
  }
  return pages * lists->pageBytes;
}

MemoryList ListOf(MemoryArea area) {
  switch (area) {
    case MemoryArea::ModifiedList:
      return MemoryList::Modified;
    case MemoryArea::StandbyList:
      return MemoryList::Standby;
    default:
      return MemoryList::LowPriorityStandby;
  }
}

// Both file-cache requests ask for the same thing: done only when both were, otherwise
// a refusal before a missing request.
CallResult BothRequests(const CallResult& first, const CallResult& second) {
  if (first.Done() && second.Done()) return first;
  for (const CallResult* call : {&first, &second}) {
    if (call->status == CallStatus::Refused) return *call;
  }
  return first.Done() ? second : first;
}

}  // namespace

bool EveryAreaDone(const std::vector<AreaResult>& results) {
  return std::all_of(results.begin(), results.end(),
                     [](const AreaResult& result) { return result.outcome == AreaOutcome::Done; });
}

std::optional<int64_t> FreedBytes(const std::vector<AreaResult>& results) {
  std::optional<int64_t> freed;
  for (const AreaResult& result : results) {
    if (result.freedBytes) freed = freed.value_or(0) + *result.freedBytes;
  }
  return freed;
}

Optimizer::Optimizer(MemoryOperations& operations, MemoryApi& memory, Clock& clock, base::ExclusiveRun& gate)
    : operations_(operations), memory_(memory), clock_(clock), gate_(gate) {}

AreaSupport Optimizer::Support(MemoryArea area) {
  if (!facts_) {
    const OsVersion version = memory_.RealVersion();
    facts_ = SystemFacts{version.major, version.minor, memory_.IsWow64()};
  }
  return SupportOf(area, *facts_);
}

std::vector<AreaResult> Optimizer::Run(AreaSet areas, PassFigures& figures, const RunOptions& options) {
  std::vector<AreaResult> results;
  gate_.RunExclusive([&] { results = RunAreas(areas, figures, options); });
  return results;
}

std::vector<AreaResult> Optimizer::RunAreas(AreaSet areas, PassFigures& figures, const RunOptions& options) {
  std::vector<AreaResult> results;
  for (MemoryArea area : areas.InOrder()) {
    if (!results.empty() && options.yield) options.yield();
    const uint64_t start = clock_.NowMs();
    AreaResult result;
    if (Support(area) == AreaSupport::Supported) result = RunArea(area, options);
    result.area = area;
    result.durationMs = clock_.NowMs() - start;
    results.push_back(result);
  }

  const double previous = figures.z18;
  figures.z17 = GetMemoryLoad(memory_) - previous;
  figures.z18 = GetAvailableMemory(memory_).ToDouble();
  lastResults_ = results;
  return results;
}

AreaResult Optimizer::RunArea(MemoryArea area, const RunOptions& options) {
  switch (area) {
    case MemoryArea::WorkingSets:
      return TrimProcesses(options);
    case MemoryArea::SystemFileCache:
      return ShrinkFileCache(options);
    case MemoryArea::ModifiedList:
    case MemoryArea::StandbyList:
    case MemoryArea::LowPriorityStandbyList:
      return PurgeList(area, options);
    case MemoryArea::CombinedList:
      return Combine(options);
    case MemoryArea::RegistryCache:
      return FlushRegistry(options);
  }
  return {};
}

AreaResult Optimizer::TrimProcesses(const RunOptions& options) {
  const WorkingSetTrim trim = TrimWorkingSets(operations_, exclusions_, options.yield);
  AreaResult result;
  result.processes = {trim.trimmed, trim.refused, trim.excluded};
  if (!trim.listing.Done()) {
    AreaResult judged = Judged(trim.listing, false);
    judged.processes = result.processes;
    return judged;
  }
  result.freedBytes = trim.freedBytes;
  if (trim.trimmed > 0) {
    result.outcome = trim.refused > 0 ? AreaOutcome::Partly : AreaOutcome::Done;
  } else if (trim.refused > 0) {
    result.outcome = AreaOutcome::Failed;
    result.errorCode = trim.firstRefusal;
  } else {
    // Nothing there to trim, or everything excluded: nothing was done.
    result.outcome = AreaOutcome::NotMeasured;
  }
  return result;
}

AreaResult Optimizer::ShrinkFileCache(const RunOptions& options) {
  return Measured(
      options, [&] { return operations_.FileCacheBytes(); },
      [&] {
        const PrivilegeScope quota(operations_, Privilege::IncreaseQuota);
        const CallResult limits = operations_.SetFileCacheLimits();
        return BothRequests(limits, operations_.ShrinkFileCacheRecord());
      });
}

AreaResult Optimizer::PurgeList(MemoryArea area, const RunOptions& options) {
  return Measured(
      options, [&] { return ListBytes(operations_, area); },
      [&] {
        const PrivilegeScope profile(operations_, Privilege::ProfileSingleProcess);
        return operations_.PurgeList(ListOf(area));
      });
}

AreaResult Optimizer::Combine(const RunOptions& options) {
  CombineResult combine;
  RunLong(options, [&] {
    const PrivilegeScope profile(operations_, Privilege::ProfileSingleProcess);
    combine = operations_.CombinePages();
  });
  AreaResult result = Judged(combine.result, true);
  if (result.outcome == AreaOutcome::Done) {
    result.freedBytes = static_cast<int64_t>(combine.pagesCombined * combine.pageBytes);
  }
  return result;
}

AreaResult Optimizer::FlushRegistry(const RunOptions& options) {
  CallResult call;
  RunLong(options, [&] { call = operations_.FlushRegistryCache(); });
  // No counter tells what the flush freed: done is all there is to say.
  return Judged(call, true);
}

}  // namespace pravelo::memory
