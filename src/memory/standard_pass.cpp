#include "memory/standard_pass.h"

#include "memory/privileges.h"

namespace pravelo::memory {

WorkingSetTrim TrimWorkingSets(MemoryOperations& operations, const Exclusions& exclusions,
                               const std::function<void()>& afterEachProcess) {
  WorkingSetTrim trim;
  const ProcessList list = operations.ListProcesses();
  trim.listing = list.result;
  if (!list.result.Done()) return trim;
  for (const ProcessEntry& entry : list.processes) {
    if (exclusions.Excludes(entry.imageName)) {
      ++trim.excluded;
      continue;
    }
    OpenResult open;
    {
      // Only the open needs the debug privilege; the handle carries the rights after it.
      const PrivilegeScope debug(operations, Privilege::Debug);
      open = operations.OpenProcess(entry.id);
    }
    if (open.process) {
      const std::optional<uint64_t> before = open.process->WorkingSetBytes();
      const CallResult result = open.process->TrimWorkingSet();
      const std::optional<uint64_t> after = open.process->WorkingSetBytes();
      open.process.reset();
      if (result.Done()) {
        ++trim.trimmed;
        if (before && after) {
          trim.freedBytes =
              trim.freedBytes.value_or(0) + static_cast<int64_t>(*before) - static_cast<int64_t>(*after);
        }
      } else {
        open.failure = result;
      }
    }
    // A process that ended since the listing refused nothing.
    if (!open.gone && !open.failure.Done()) {
      if (trim.refused++ == 0) trim.firstRefusal = open.failure.errorCode;
    }
    if (afterEachProcess) afterEachProcess();
  }
  return trim;
}

}  // namespace pravelo::memory
